#pragma once

#include "ProjectModel.h"

#include <array>
#include <string_view>

namespace tamsor {

// The results the three plot commands draw, side by side: a load on the
// left, a displacement (or the wind vibration coefficient) on the right, each
// against the heights, with the caption along the bottom of each plot.
struct PlotPair {
    List ProjectModel::*left;
    std::string_view leftCaption;
    List ProjectModel::*right;
    std::string_view rightCaption;
};

inline constexpr std::array<PlotPair, 3> kPlotPairs{{
    {&ProjectModel::meanLoad, "平均风荷载 /KN", &ProjectModel::meanDisp, "平均位移 /mm"},
    {&ProjectModel::windVibForce, "脉动风振力 /KN", &ProjectModel::dispStd, "脉动位移均方差 /mm"},
    {&ProjectModel::eqStaticLoad, "等效静力风荷载 /KN", &ProjectModel::windVibCoef, "风振系数"},
}};

// The caption of every plot's vertical axis.
inline constexpr std::string_view kHeightCaption = "高度/m";

} // namespace tamsor
