#pragma once

// The results of a computation in one place. For each result: its key (also
// its key in the batch command's JSON and CSV), its Chinese caption and unit
// as the outputs show them, the decimals it is shown with where a table
// shows it rounded, what kind of value it is and how its values are laid
// out, and what the outputs do with it. Every output walks this table: a
// result added here, with its formula, appears in all of them. Files and the
// clipboard always carry full precision.

#include "Edition.h"
#include "Results.h"

#include <array>
#include <cstddef>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace tamsor {

// How a field's values are laid out.
enum class FieldShape {
    Structure,       // one value for the whole structure
    PerPoint,        // one value per mass point
    PerMode,         // one value per mode of its group
    PerModePerPoint, // for each mode of its group, one value per mass point
};

// What a field's values are.
enum class ValueKind {
    Number,         // always a number
    OptionalNumber, // a number, or nothing (null) where it does not apply
    Boolean,        // yes or no
    Named,          // one of a few fixed names ("subcritical")
};

// One value: nothing, a number, yes or no, or a name.
using FieldValue = std::variant<std::monostate, double, bool, std::string_view>;

// Where a value stands among its field's values: the mode (from 0) and the
// mass point (from 0), each 0 where the shape has none.
struct FieldIndex {
    std::size_t mode = 0;
    std::size_t point = 0;
};

// A named group of results: the JSON writes it as an object under its key
// (null when the results have none of it), with its per-mode fields in the
// array "modes", one object per mode. The fields of no group ("") stand at
// the top; their modes are the project's modes.
struct ResultGroup {
    std::string_view key;
    bool (*present)(const Results&);
    std::size_t (*modeCount)(const Results&);
};

struct ResultField {
    std::string_view key;          // JSON and CSV key
    std::string_view caption = {}; // Chinese caption
    std::string_view unit = {};    // as the outputs write it ("KN", "mm"); empty when none
    int decimals = 0;              // fixed decimals where the value is shown rounded
    FieldShape shape;
    // The value at an index of the shape; only called for indices the shape
    // has (a present group, its modes, the results' points).
    FieldValue (*value)(const Results&, FieldIndex);
    ValueKind kind = ValueKind::Number;
    std::string_view group = {}; // the group's key; empty at the top
    bool inTextForm = false;     // shown by tamsor-batch --format text
    // Read off the computed results rather than computed: such a value may
    // overflow after a computation that succeeded.
    bool derived = false;
    // The report refuses results where a value of this field is not a
    // finite number.
    bool mustBeFinite = false;
    // The label of the report page's row that shows it; empty when the page
    // does not show it (the calculation book then adds it after the page's
    // results). The report's refusals name the field by it.
    std::string_view reportCaption = {};
    // The page's label under GB50009-2001 where it differs.
    std::string_view reportOldCodeCaption = {};
    // The caption under GB50009-2001 where the old code names it differently.
    std::string_view oldCodeCaption = {};
    // What an engineer must know to use the value, shown with it; empty when
    // nothing.
    std::string_view note = {};

    [[nodiscard]] constexpr bool onReportPage() const { return !reportCaption.empty(); }
    // The caption for an edition.
    [[nodiscard]] constexpr std::string_view captionFor(Edition edition) const {
        return edition != Edition::GB201X && !oldCodeCaption.empty() ? oldCodeCaption : caption;
    }
    // The page's label for an edition.
    [[nodiscard]] constexpr std::string_view reportCaptionFor(Edition edition) const {
        return edition != Edition::GB201X && !reportOldCodeCaption.empty() ? reportOldCodeCaption
                                                                           : reportCaption;
    }
    // Caption with the unit in parentheses: "平均风荷载(KN)".
    [[nodiscard]] std::string heading(Edition edition = Edition::GB201X) const {
        std::string text(captionFor(edition));
        if (!unit.empty())
            text.append("(").append(unit).append(")");
        return text;
    }
};

// A number of a field as the writers of plain numbers read it: the number,
// or NaN where the value is no number.
[[nodiscard]] inline double numberOf(const FieldValue& value) {
    if (const double* number = std::get_if<double>(&value))
        return *number;
    return std::numeric_limits<double>::quiet_NaN();
}

// What goes with the acceleration wherever it is shown.
inline constexpr std::string_view kAccelerationNote =
    "舒适度验算应采用10年重现期的基本风压，按此风压输入后计算；"
    "加速度参考限值：住宅、公寓0.15 m/s^2，办公、旅馆0.25 m/s^2。";

namespace field_values {
template <List RawResults::*list> FieldValue rawPoint(const Results& r, FieldIndex i) {
    return (r.raw().*list)[i.point];
}
template <double RawResults::*value> FieldValue raw(const Results& r, FieldIndex) {
    return r.raw().*value;
}
template <List DerivedResults::*list> FieldValue derivedPoint(const Results& r, FieldIndex i) {
    return (r.derived().*list)[i.point];
}
template <double DerivedResults::*value> FieldValue derived(const Results& r, FieldIndex) {
    return r.derived().*value;
}
inline FieldValue height(const Results& r, FieldIndex i) {
    return r.numbers().zCoord[i.point];
}
} // namespace field_values

// The groups of results; none yet.
inline constexpr std::array<ResultGroup, 0> kResultGroups{};

// Every result. Per mass point first, in the order of every output's columns
// (the heights first: every table of results is read against them), then the
// results of the whole structure in the order the outputs list them.
inline constexpr std::array<ResultField, 28> kResultFields{{
    {.key = "zCoord",
     .caption = "高度",
     .unit = "m",
     .decimals = 2,
     .shape = FieldShape::PerPoint,
     .value = field_values::height,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "质点z坐标(m)"},
    {.key = "meanLoad",
     .caption = "平均风荷载",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::PerPoint,
     .value = field_values::rawPoint<&RawResults::meanLoad>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "平均风荷载(KN)"},
    {.key = "meanDisp",
     .caption = "平均位移",
     .unit = "mm",
     .decimals = 3,
     .shape = FieldShape::PerPoint,
     .value = field_values::rawPoint<&RawResults::meanDisp>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "平均位移(mm)"},
    {.key = "windVibForce",
     .caption = "第1阶风振力",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::PerPoint,
     .value = field_values::rawPoint<&RawResults::windVibForce>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "第1阶风振力（KN）"},
    {.key = "dispStd",
     .caption = "第1阶位移标准差",
     .unit = "mm",
     .decimals = 3,
     .shape = FieldShape::PerPoint,
     .value = field_values::rawPoint<&RawResults::dispStd>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "第1阶位移标准差（mm）"},
    {.key = "windVibCoef",
     .caption = "风振系数",
     .unit = "",
     .decimals = 4,
     .shape = FieldShape::PerPoint,
     .value = field_values::rawPoint<&RawResults::windVibCoef>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "风振系数"},
    {.key = "eqStaticLoad",
     .caption = "等效静力风荷载",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::PerPoint,
     .value = field_values::rawPoint<&RawResults::eqStaticLoad>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "等效静力风荷载(KN)"},
    // The page shows one of the two intermediate factors, the one its
    // edition names; the book adds neither.
    {.key = "muR",
     .caption = "两个系数的乘积u1*r1",
     .unit = "",
     .decimals = 4,
     .shape = FieldShape::PerPoint,
     .value = field_values::rawPoint<&RawResults::muR>,
     .mustBeFinite = true,
     .reportCaption = "中间计算参数：两个系数的乘积u1*r1"},
    {.key = "bgFactor",
     .caption = "背景分量因子Bz",
     .unit = "",
     .decimals = 4,
     .shape = FieldShape::PerPoint,
     .value = field_values::rawPoint<&RawResults::bgFactor>,
     .mustBeFinite = true,
     .reportCaption = "中间计算参数：背景分量因子Bz"},
    {.key = "lrcBackground",
     .caption = "等效风荷载背景分量",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::PerPoint,
     .value = field_values::rawPoint<&RawResults::lrcBackground>,
     .mustBeFinite = true,
     .reportCaption = "等效风荷载背景分量(KN)"},
    {.key = "lrcLoad",
     .caption = "LRC法等效风荷载",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::PerPoint,
     .value = field_values::rawPoint<&RawResults::lrcLoad>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "LRC法等效风荷载(KN)"},
    {.key = "lrcResonant",
     .caption = "等效风荷载共振分量",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::PerPoint,
     .value = field_values::derivedPoint<&DerivedResults::lrcResonant>,
     .derived = true,
     .mustBeFinite = true,
     .reportCaption = "等效风荷载共振分量(KN)"},
    {.key = "totalDisp",
     .caption = "总位移",
     .unit = "mm",
     .decimals = 3,
     .shape = FieldShape::PerPoint,
     .value = field_values::derivedPoint<&DerivedResults::totalDisp>,
     .derived = true,
     .mustBeFinite = true,
     .reportCaption = "各质点总位移(mm)"},
    {.key = "gbjLoad",
     .caption = "修正后的GBJ法等效风荷载",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::PerPoint,
     .value = field_values::derivedPoint<&DerivedResults::gbjLoad>,
     .derived = true,
     .mustBeFinite = true,
     .reportCaption = "修正后的GBJ法等效风荷载(KN)"},
    {.key = "acceleration",
     .caption = "顺风向加速度",
     .unit = "m/s^2",
     .decimals = 4,
     .shape = FieldShape::PerPoint,
     .value = field_values::derivedPoint<&DerivedResults::acceleration>,
     .derived = true,
     .note = kAccelerationNote},

    {.key = "dynFactor",
     .caption = "SQRT(1+R^2)",
     .unit = "",
     .decimals = 4,
     .shape = FieldShape::Structure,
     .value = field_values::raw<&RawResults::dynFactor>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "中间计算参数：SQRT(1+R^2)",
     .reportOldCodeCaption = "中间计算参数：脉动增大系数ξ1",
     .oldCodeCaption = "脉动增大系数ξ1"},
    {.key = "exactBaseShear",
     .caption = "脉动底部剪力精确解",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::raw<&RawResults::exactBaseShear>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "脉动底部剪力精确解(KN)"},
    {.key = "corrC",
     .caption = "脉动修正系数C",
     .unit = "",
     .decimals = 4,
     .shape = FieldShape::Structure,
     .value = field_values::raw<&RawResults::corrC>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "脉动修正系数C "},
    // The page shows both in the row of the terrain.
    {.key = "alpha",
     .caption = "α",
     .unit = "",
     .decimals = 2,
     .shape = FieldShape::Structure,
     .value = field_values::raw<&RawResults::alpha>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "地貌类型"},
    {.key = "i10",
     .caption = "I10",
     .unit = "",
     .decimals = 4,
     .shape = FieldShape::Structure,
     .value = field_values::raw<&RawResults::i10>,
     .inTextForm = true,
     .mustBeFinite = true,
     .reportCaption = "地貌类型"},
    {.key = "meanBaseShear",
     .caption = "平均基底剪力",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::derived<&DerivedResults::meanBaseShear>,
     .derived = true,
     .mustBeFinite = true,
     .reportCaption = "平均基底剪力(KN)"},
    {.key = "meanBaseMoment",
     .caption = "平均基底弯矩",
     .unit = "KN*m",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::derived<&DerivedResults::meanBaseMoment>,
     .derived = true,
     .mustBeFinite = true,
     .reportCaption = "平均基底弯矩(KN*m)"},
    {.key = "fluctBaseShear",
     .caption = "第1阶脉动基底剪力",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::derived<&DerivedResults::fluctBaseShear>,
     .derived = true,
     .mustBeFinite = true,
     .reportCaption = "第1阶脉动基底剪力（KN）"},
    {.key = "fluctBaseMoment",
     .caption = "第1阶脉动基底弯矩",
     .unit = "KN*m",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::derived<&DerivedResults::fluctBaseMoment>,
     .derived = true,
     .mustBeFinite = true,
     .reportCaption = "第1阶脉动基底弯矩（KN*m）"},
    {.key = "totalBaseShear",
     .caption = "总基底剪力",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::derived<&DerivedResults::totalBaseShear>,
     .derived = true,
     .mustBeFinite = true,
     .reportCaption = "总基底剪力(KN)"},
    {.key = "totalBaseMoment",
     .caption = "总基底弯矩",
     .unit = "KN*m",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::derived<&DerivedResults::totalBaseMoment>,
     .derived = true,
     .mustBeFinite = true,
     .reportCaption = "总基底弯矩(KN*m)"},
    {.key = "lrcBaseShear",
     .caption = "LRC法总底部剪力",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::derived<&DerivedResults::lrcBaseShear>,
     .derived = true,
     .mustBeFinite = true,
     .reportCaption = "LRC法总底部剪力(KN)"},
    {.key = "lrcBaseMoment",
     .caption = "LRC法总底部弯矩",
     .unit = "KN*m",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::derived<&DerivedResults::lrcBaseMoment>,
     .derived = true,
     .mustBeFinite = true,
     .reportCaption = "LRC法总底部弯矩(KN*m)"},
}};

// The field of a key; throws std::out_of_range when there is none.
[[nodiscard]] constexpr const ResultField& resultField(std::string_view key) {
    for (const ResultField& field : kResultFields)
        if (field.key == key)
            return field;
    throw std::out_of_range("no result field of that key");
}

// The group of a key, or nothing for the top ("") and unknown keys.
[[nodiscard]] constexpr const ResultGroup* resultGroup(std::span<const ResultGroup> groups,
                                                       std::string_view key) {
    for (const ResultGroup& group : groups)
        if (group.key == key)
            return &group;
    return nullptr;
}

// Calls visit(index, value) for every value of a field in the results, modes
// outer and points inner; nothing when the field's group is absent.
template <typename Visit>
void forEachValue(const ResultField& field, std::span<const ResultGroup> groups, const Results& r,
                  Visit&& visit) {
    const ResultGroup* group = resultGroup(groups, field.group);
    if (group != nullptr && !group->present(r))
        return;
    const std::size_t modes =
        group != nullptr ? group->modeCount(r) : static_cast<std::size_t>(r.numbers().nModes);
    const std::size_t points = r.pointCount();
    switch (field.shape) {
    case FieldShape::Structure:
        visit(FieldIndex{}, field.value(r, FieldIndex{}));
        return;
    case FieldShape::PerPoint:
        for (std::size_t i = 0; i < points; ++i)
            visit(FieldIndex{0, i}, field.value(r, FieldIndex{0, i}));
        return;
    case FieldShape::PerMode:
        for (std::size_t j = 0; j < modes; ++j)
            visit(FieldIndex{j, 0}, field.value(r, FieldIndex{j, 0}));
        return;
    case FieldShape::PerModePerPoint:
        for (std::size_t j = 0; j < modes; ++j)
            for (std::size_t i = 0; i < points; ++i)
                visit(FieldIndex{j, i}, field.value(r, FieldIndex{j, i}));
        return;
    }
}

} // namespace tamsor
