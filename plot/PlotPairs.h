#pragma once

#include "Results.h"

#include <array>
#include <string_view>

namespace tamsor {

// The results the three plot commands draw, side by side: a load on the
// left, a displacement (or the wind vibration coefficient) on the right, each
// against the heights, with the caption along the bottom of each plot. The
// calculation book puts each pair after the report's table of the same
// results, which it names by its key (ReportDescription.h).
struct PlotPair {
    List RawResults::*left;
    std::string_view leftCaption;
    List RawResults::*right;
    std::string_view rightCaption;
    std::string_view table;
};

inline constexpr std::array<PlotPair, 3> kPlotPairs{{
    {&RawResults::meanLoad, "平均风荷载 /KN", &RawResults::meanDisp, "平均位移 /mm", "meanResults"},
    {&RawResults::windVibForce, "脉动风振力 /KN", &RawResults::dispStd, "脉动位移均方差 /mm",
     "fluctuatingResults"},
    {&RawResults::eqStaticLoad, "等效静力风荷载 /KN", &RawResults::windVibCoef, "风振系数",
     "equivalentStaticLoad"},
}};

// The caption of every plot's vertical axis.
inline constexpr std::string_view kHeightCaption = "高度/m";

} // namespace tamsor
