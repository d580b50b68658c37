#pragma once

// The results of a computation in one place: for each result, per mass point
// or for the whole structure, its record name (also its key in the batch
// command's JSON and CSV), its Chinese caption and unit as the outputs show
// them, and the decimals it is shown with where a table shows it rounded.
// Files and the clipboard always carry full precision.

#include "ProjectModel.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tamsor {

struct ResultField {
    std::string_view key;     // record field name and JSON key
    std::string_view caption; // Chinese caption
    std::string_view unit;    // as the outputs write it ("KN", "mm"); empty when none
    int decimals;             // fixed decimals where the value is shown rounded
    bool inTextTable;         // shown by tamsor-batch --format text
    // Exactly one of the two is set: a list with one value per mass point, or
    // one value for the structure.
    List ProjectModel::*list = nullptr;
    double ProjectModel::*value = nullptr;
    // The caption under GB50009-2001 where the old code names it differently.
    std::string_view oldCodeCaption = {};
    // What an engineer must know to use the value, shown with it; empty when
    // nothing.
    std::string_view note = {};

    [[nodiscard]] bool perPoint() const { return list != nullptr; }
    // The caption for the model's code edition.
    [[nodiscard]] std::string_view captionFor(std::int16_t codeVersion) const {
        return codeVersion != 0 && !oldCodeCaption.empty() ? oldCodeCaption : caption;
    }
    // Caption with the unit in parentheses: "平均风荷载(KN)".
    [[nodiscard]] std::string heading(std::int16_t codeVersion = 0) const {
        std::string text(captionFor(codeVersion));
        if (!unit.empty())
            text.append("(").append(unit).append(")");
        return text;
    }
};

// What goes with the acceleration wherever it is shown.
inline constexpr std::string_view kAccelerationNote =
    "舒适度验算应采用10年重现期的基本风压，按此风压输入后计算；"
    "加速度参考限值：住宅、公寓0.15 m/s^2，办公、旅馆0.25 m/s^2。";

// Per mass point, in the order of every output's columns. The heights come
// first: every table of results is read against them.
inline constexpr std::array<ResultField, 15> kPointResults{{
    {"zCoord", "高度", "m", 2, true, &ProjectModel::zCoord},
    {"meanLoad", "平均风荷载", "KN", 3, true, &ProjectModel::meanLoad},
    {"meanDisp", "平均位移", "mm", 3, true, &ProjectModel::meanDisp},
    {"windVibForce", "第1阶风振力", "KN", 3, true, &ProjectModel::windVibForce},
    {"dispStd", "第1阶位移标准差", "mm", 3, true, &ProjectModel::dispStd},
    {"windVibCoef", "风振系数", "", 4, true, &ProjectModel::windVibCoef},
    {"eqStaticLoad", "等效静力风荷载", "KN", 3, true, &ProjectModel::eqStaticLoad},
    {"muR", "两个系数的乘积u1*r1", "", 4, false, &ProjectModel::muR},
    {"bgFactor", "背景分量因子Bz", "", 4, false, &ProjectModel::bgFactor},
    {"lrcBackground", "等效风荷载背景分量", "KN", 3, false, &ProjectModel::lrcBackground},
    {"lrcLoad", "LRC法等效风荷载", "KN", 3, true, &ProjectModel::lrcLoad},
    {"lrcResonant", "等效风荷载共振分量", "KN", 3, false, &ProjectModel::lrcResonant},
    {"totalDisp", "总位移", "mm", 3, false, &ProjectModel::totalDisp},
    {"gbjLoad", "修正后的GBJ法等效风荷载", "KN", 3, false, &ProjectModel::gbjLoad},
    {"acceleration",
     "顺风向加速度",
     "m/s^2",
     4,
     false,
     &ProjectModel::acceleration,
     nullptr,
     {},
     kAccelerationNote},
}};

// For the whole structure, in the order the outputs list them.
inline constexpr std::array<ResultField, 13> kStructureResults{{
    {"dynFactor", "SQRT(1+R^2)", "", 4, true, nullptr, &ProjectModel::dynFactor, "脉动增大系数ξ1"},
    {"exactBaseShear", "脉动底部剪力精确解", "KN", 3, true, nullptr, &ProjectModel::exactBaseShear},
    {"corrC", "脉动修正系数C", "", 4, true, nullptr, &ProjectModel::corrC},
    {"alpha", "α", "", 2, true, nullptr, &ProjectModel::alpha},
    {"i10", "I10", "", 4, true, nullptr, &ProjectModel::i10},
    {"meanBaseShear", "平均基底剪力", "KN", 3, false, nullptr, &ProjectModel::meanBaseShear},
    {"meanBaseMoment", "平均基底弯矩", "KN*m", 3, false, nullptr, &ProjectModel::meanBaseMoment},
    {"fluctBaseShear", "第1阶脉动基底剪力", "KN", 3, false, nullptr, &ProjectModel::fluctBaseShear},
    {"fluctBaseMoment", "第1阶脉动基底弯矩", "KN*m", 3, false, nullptr,
     &ProjectModel::fluctBaseMoment},
    {"totalBaseShear", "总基底剪力", "KN", 3, false, nullptr, &ProjectModel::totalBaseShear},
    {"totalBaseMoment", "总基底弯矩", "KN*m", 3, false, nullptr, &ProjectModel::totalBaseMoment},
    {"lrcBaseShear", "LRC法总底部剪力", "KN", 3, false, nullptr, &ProjectModel::lrcBaseShear},
    {"lrcBaseMoment", "LRC法总底部弯矩", "KN*m", 3, false, nullptr, &ProjectModel::lrcBaseMoment},
}};

} // namespace tamsor
