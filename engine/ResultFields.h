#pragma once

// The results of a computation in one place. For each result: its key (also
// its key in the batch command's JSON and CSV), its Chinese caption and unit
// as the outputs show them, the decimals it is shown with where a table
// shows it rounded, what kind of value it is and how its values are laid
// out, and what the outputs do with it. Every output walks this table: a
// result added here, with its formula, appears in all of them. Files and the
// clipboard always carry full precision.

#include "CodeFormula.h"
#include "CrossWind.h"
#include "Edition.h"
#include "Results.h"
#include "StructureType.h"

#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

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
    Number,          // always a number
    OptionalNumber,  // a number, or nothing (null) where it does not apply
    Boolean,         // yes or no
    OptionalBoolean, // yes, no, or nothing where it does not apply
    Named,           // one of a few fixed names ("subcritical")
    OptionalName,    // a name, or nothing where it does not apply
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
// array "modes", one object per mode; the tables show it as a section of its
// own under its caption. The fields of no group ("") stand at the top; their
// modes are the project's modes.
struct ResultGroup {
    std::string_view key;
    bool (*present)(const Results&);
    std::size_t (*modeCount)(const Results&);
    std::string_view caption = {}; // the section's title
    // Why the results have none of it, when there is something to say (a
    // refusal, the edition without it); empty otherwise. Only called when
    // the group is absent.
    std::string_view (*whyAbsent)(const Results&) = nullptr;
    // What goes with its values, shown with them; only called when the group
    // is present.
    std::vector<std::string_view> (*notes)(const Results&) = nullptr;
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
    // How the tables show a value in words ("亚临界" for "subcritical",
    // "高耸结构" for 1); nothing: as shownText does. Files and the JSON
    // carry the value itself.
    std::string_view (*inWords)(const FieldValue&) = nullptr;
    // A per-point field of a group that the results table shows among the
    // per-point results at the top, right after the field of this key.
    std::string_view besideKey = {};

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
    "按设计基本风压计算。舒适度按10年重现期风压w10验算(见舒适度验算)，"
    "限值：住宅、公寓0.15 m/s^2，办公、旅馆0.25 m/s^2。";

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

// The checks beside the along-wind results; only read where their group is
// present.
inline const CrossWindResult& crossWind(const Results& r) {
    return std::get<CrossWindResult>(r.crossWind());
}
inline const CodeFormulaResult& codeFormula(const Results& r) {
    return *r.codeFormula().codeFormula;
}
inline const ComfortResult& comfort(const Results& r) {
    return *r.codeFormula().comfort;
}

inline FieldValue asValue(double v) {
    return v;
}
inline FieldValue asValue(bool v) {
    return v;
}
inline FieldValue asValue(const std::optional<double>& v) {
    return v ? FieldValue{*v} : FieldValue{};
}
inline FieldValue asValue(std::string_view name) {
    return name.empty() ? FieldValue{} : FieldValue{name};
}

// A member of what `of` reads off the results; per point, an element of a
// list member.
template <auto of, auto member> FieldValue part(const Results& r, FieldIndex) {
    return asValue(of(r).*member);
}
template <auto of, auto member> FieldValue partPoint(const Results& r, FieldIndex i) {
    return (of(r).*member)[i.point];
}
// A member of a mode of the cross-wind check; per point, an element of it.
template <auto member> FieldValue crossWindMode(const Results& r, FieldIndex i) {
    return asValue(crossWind(r).modes[i.mode].*member);
}
template <auto member> FieldValue crossWindModePoint(const Results& r, FieldIndex i) {
    return (crossWind(r).modes[i.mode].*member)[i.point];
}

inline std::string_view regimeInWords(const FieldValue& value) {
    for (FlowRegime regime :
         {FlowRegime::Subcritical, FlowRegime::Supercritical, FlowRegime::Transcritical})
        if (const auto* name = std::get_if<std::string_view>(&value);
            name && *name == regimeKey(regime))
            return regimeCaption(regime);
    return {};
}
inline std::string_view structureTypeInWords(const FieldValue& value) {
    const double* type = std::get_if<double>(&value);
    if (type == nullptr)
        return {};
    return structureTypeCaption(*type == static_cast<double>(StructureType::Building)
                                    ? StructureType::Building
                                    : StructureType::Tower);
}
} // namespace field_values

// The groups of results, in the order the outputs show them.
inline constexpr std::array<ResultGroup, 3> kResultGroups{{
    {.key = "crossWind",
     .present =
         [](const Results& r) { return std::holds_alternative<CrossWindResult>(r.crossWind()); },
     .modeCount = [](const Results& r) { return field_values::crossWind(r).modes.size(); },
     .caption = "横风向风振(旋涡脱落)验算",
     .whyAbsent = [](const Results& r) -> std::string_view {
         const auto* refusal = std::get_if<CrossWindRefusal>(&r.crossWind());
         return refusal ? std::string_view(refusal->message) : std::string_view();
     }},
    {.key = "codeFormula",
     .present = [](const Results& r) { return r.codeFormula().codeFormula.has_value(); },
     .modeCount = [](const Results&) -> std::size_t { return 0; },
     .caption = "规范公式对照",
     .whyAbsent = [](const Results& r) -> std::string_view { return r.codeFormula().whyNot; },
     .notes =
         [](const Results& r) {
             std::vector<std::string_view> notes;
             if (field_values::codeFormula(r).structureTypeUnspecified)
                 notes.push_back(kStructureTypeUnspecifiedText);
             notes.push_back(kUniformSectionText);
             return notes;
         }},
    {.key = "comfort",
     .present = [](const Results& r) { return r.codeFormula().comfort.has_value(); },
     .modeCount = [](const Results&) -> std::size_t { return 0; },
     .caption = "舒适度验算",
     .whyAbsent = [](const Results& r) -> std::string_view {
         return r.codeFormula().comfortWhyNot;
     },
     .notes =
         [](const Results& r) {
             std::vector<std::string_view> notes;
             const ComfortResult& comfort = field_values::comfort(r);
             if (comfort.etaAClamped)
                 notes.push_back(kEtaAClampedText);
             if (!comfort.limits)
                 notes.push_back(kLimitsForBuildingsText);
             return notes;
         }},
}};

// Every result. At the top per mass point first, in the order of every
// output's columns (the heights first: every table of results is read against
// them), then the results of the whole structure in the order the outputs
// list them; then the fields of each group, in the order of kResultGroups.
inline constexpr auto kResultFields = std::to_array<ResultField>({
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

    // The cross-wind check of a round section (GB 50009-2012 8.5.3 and H.1;
    // GB 50009-2001 7.6): the structure's values, then per mode.
    {.key = "diameter",
     .caption = "圆截面直径D",
     .unit = "m",
     .decimals = 2,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::crossWind, &CrossWindResult::diameter>,
     .group = "crossWind",
     .inTextForm = true},
    // 1 高耸结构 or 2 高层建筑, as the project file's "structure=".
    {.key = "structureType",
     .caption = "结构类型",
     .shape = FieldShape::Structure,
     .value = [](const Results& r, FieldIndex) -> FieldValue {
         return static_cast<double>(field_values::crossWind(r).structureType);
     },
     .group = "crossWind",
     .inTextForm = true,
     .inWords = field_values::structureTypeInWords},
    {.key = "topSpeed",
     .caption = "结构顶部风速v_H",
     .unit = "m/s",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::crossWind, &CrossWindResult::topSpeed>,
     .group = "crossWind",
     .inTextForm = true},
    {.key = "subcriticalResonance",
     .caption = "第1阶亚临界微风共振",
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::crossWind, &CrossWindResult::subcriticalResonance>,
     .kind = ValueKind::Boolean,
     .group = "crossWind",
     .inTextForm = true},
    // The text form heads each mode's values with its number instead.
    {.key = "mode",
     .caption = "振型",
     .shape = FieldShape::PerMode,
     .value = [](const Results& r, FieldIndex i) -> FieldValue {
         return static_cast<double>(field_values::crossWind(r).modes[i.mode].mode);
     },
     .group = "crossWind"},
    {.key = "period",
     .caption = "周期T",
     .unit = "s",
     .decimals = 3,
     .shape = FieldShape::PerMode,
     .value = field_values::crossWindMode<&CrossWindMode::period>,
     .group = "crossWind",
     .inTextForm = true},
    {.key = "criticalSpeed",
     .caption = "临界风速v_cr",
     .unit = "m/s",
     .decimals = 3,
     .shape = FieldShape::PerMode,
     .value = field_values::crossWindMode<&CrossWindMode::criticalSpeed>,
     .group = "crossWind",
     .inTextForm = true},
    {.key = "reynolds",
     .caption = "雷诺数Re",
     .shape = FieldShape::PerMode,
     .value = field_values::crossWindMode<&CrossWindMode::reynolds>,
     .group = "crossWind",
     .inTextForm = true},
    {.key = "regime",
     .caption = "流态",
     .shape = FieldShape::PerMode,
     .value = [](const Results& r, FieldIndex i) -> FieldValue {
         return regimeKey(field_values::crossWind(r).modes[i.mode].regime);
     },
     .kind = ValueKind::Named,
     .group = "crossWind",
     .inTextForm = true,
     .inWords = field_values::regimeInWords},
    {.key = "resonance",
     .caption = "跨临界强风共振",
     .shape = FieldShape::PerMode,
     .value = field_values::crossWindMode<&CrossWindMode::resonance>,
     .kind = ValueKind::Boolean,
     .group = "crossWind",
     .inTextForm = true},
    // Only for a mode that carries a load.
    {.key = "lockInHeight",
     .caption = "临界风速起始点高度H1",
     .unit = "m",
     .decimals = 3,
     .shape = FieldShape::PerMode,
     .value = field_values::crossWindMode<&CrossWindMode::lockInHeight>,
     .kind = ValueKind::OptionalNumber,
     .group = "crossWind",
     .inTextForm = true},
    {.key = "lambda",
     .caption = "系数λ",
     .decimals = 4,
     .shape = FieldShape::PerMode,
     .value = field_values::crossWindMode<&CrossWindMode::lambda>,
     .kind = ValueKind::OptionalNumber,
     .group = "crossWind",
     .inTextForm = true},
    // Signed as the mode shape; 0 for a mode that carries no load.
    {.key = "load",
     .caption = "横风向风振等效风荷载",
     .unit = "KN/m^2",
     .decimals = 4,
     .shape = FieldShape::PerModePerPoint,
     .value = field_values::crossWindModePoint<&CrossWindMode::load>,
     .group = "crossWind"},
    {.key = "force",
     .caption = "横风向风振力",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::PerModePerPoint,
     .value = field_values::crossWindModePoint<&CrossWindMode::force>,
     .group = "crossWind"},
    {.key = "baseShear",
     .caption = "横风向基底剪力",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::PerMode,
     .value = field_values::crossWindMode<&CrossWindMode::baseShear>,
     .group = "crossWind",
     .inTextForm = true},
    {.key = "baseMoment",
     .caption = "横风向基底弯矩",
     .unit = "KN*m",
     .decimals = 3,
     .shape = FieldShape::PerMode,
     .value = field_values::crossWindMode<&CrossWindMode::baseMoment>,
     .group = "crossWind",
     .inTextForm = true},
    // With the along-wind effects; only for a mode that carries a load.
    {.key = "combinedShear",
     .caption = "组合基底剪力",
     .unit = "KN",
     .decimals = 3,
     .shape = FieldShape::PerMode,
     .value = field_values::crossWindMode<&CrossWindMode::combinedShear>,
     .kind = ValueKind::OptionalNumber,
     .group = "crossWind",
     .inTextForm = true},
    {.key = "combinedMoment",
     .caption = "组合基底弯矩",
     .unit = "KN*m",
     .decimals = 3,
     .shape = FieldShape::PerMode,
     .value = field_values::crossWindMode<&CrossWindMode::combinedMoment>,
     .kind = ValueKind::OptionalNumber,
     .group = "crossWind",
     .inTextForm = true},
    {.key = "combinationClause",
     .caption = "组合依据",
     .shape = FieldShape::PerMode,
     .value = field_values::crossWindMode<&CrossWindMode::combinationClause>,
     .kind = ValueKind::OptionalName,
     .group = "crossWind"},

    // The load code's closed form of beta_z (GB 50009-2012 8.4.3 to 8.4.6),
    // 201X only.
    {.key = "x1",
     .caption = "系数x1",
     .decimals = 4,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::codeFormula, &CodeFormulaResult::x1>,
     .group = "codeFormula",
     .inTextForm = true},
    {.key = "resonanceFactor",
     .caption = "共振分量因子R",
     .decimals = 4,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::codeFormula, &CodeFormulaResult::resonanceFactor>,
     .group = "codeFormula",
     .inTextForm = true},
    {.key = "rhoZ",
     .caption = "竖直方向相关系数ρz",
     .decimals = 4,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::codeFormula, &CodeFormulaResult::rhoZ>,
     .group = "codeFormula",
     .inTextForm = true},
    {.key = "rhoX",
     .caption = "水平方向相关系数ρx",
     .decimals = 4,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::codeFormula, &CodeFormulaResult::rhoX>,
     .group = "codeFormula",
     .inTextForm = true},
    {.key = "k",
     .caption = "系数k",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::codeFormula, &CodeFormulaResult::k>,
     .group = "codeFormula",
     .inTextForm = true},
    {.key = "a1",
     .caption = "系数a1",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::codeFormula, &CodeFormulaResult::a1>,
     .group = "codeFormula",
     .inTextForm = true},
    // The highest point's height, capped.
    {.key = "heightUsed",
     .caption = "计算用结构高度H",
     .unit = "m",
     .decimals = 2,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::codeFormula, &CodeFormulaResult::heightUsed>,
     .group = "codeFormula",
     .inTextForm = true},
    // mu_z as the code's table holds it.
    {.key = "heightCoef",
     .caption = "规范公式μz",
     .decimals = 4,
     .shape = FieldShape::PerPoint,
     .value = field_values::partPoint<field_values::codeFormula, &CodeFormulaResult::heightCoef>,
     .group = "codeFormula"},
    {.key = "bgFactor",
     .caption = "规范公式Bz",
     .decimals = 4,
     .shape = FieldShape::PerPoint,
     .value = field_values::partPoint<field_values::codeFormula, &CodeFormulaResult::bgFactor>,
     .group = "codeFormula"},
    {.key = "windVibCoef",
     .caption = "规范公式βz",
     .decimals = 4,
     .shape = FieldShape::PerPoint,
     .value = field_values::partPoint<field_values::codeFormula, &CodeFormulaResult::windVibCoef>,
     .group = "codeFormula",
     .inTextForm = true,
     .besideKey = "windVibCoef"},

    // The comfort check at the 10-year pressure (GB 50009-2012 J.1, limits
    // of JGJ 3-2010 3.7.6), 201X only, with w10 and a width.
    {.key = "w10",
     .caption = "10年重现期风压w10",
     .unit = "kPa",
     .decimals = 2,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::comfort, &ComfortResult::w10KPa>,
     .group = "comfort",
     .inTextForm = true},
    {.key = "etaA",
     .caption = "脉动系数ηa",
     .decimals = 4,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::comfort, &ComfortResult::etaA>,
     .group = "comfort",
     .inTextForm = true},
    {.key = "massPerHeight",
     .caption = "单位高度质量m",
     .unit = "t/m",
     .decimals = 3,
     .shape = FieldShape::Structure,
     .value = field_values::part<field_values::comfort, &ComfortResult::massPerHeight>,
     .group = "comfort",
     .inTextForm = true},
    {.key = "acceleration",
     .caption = "舒适度加速度",
     .unit = "m/s^2",
     .decimals = 4,
     .shape = FieldShape::PerPoint,
     .value = field_values::partPoint<field_values::comfort, &ComfortResult::acceleration>,
     .group = "comfort",
     .inTextForm = true},
    // The top acceleration against the limits (kComfortLimitResidential,
    // kComfortLimitOffice); buildings only, nothing for a tall structure.
    {.key = "residentialLimitMet",
     .caption = "满足住宅、公寓限值0.15 m/s^2",
     .shape = FieldShape::Structure,
     .value = [](const Results& r, FieldIndex) -> FieldValue {
         const auto& limits = field_values::comfort(r).limits;
         return limits ? FieldValue{limits->residentialMet} : FieldValue{};
     },
     .kind = ValueKind::OptionalBoolean,
     .group = "comfort",
     .inTextForm = true},
    {.key = "officeLimitMet",
     .caption = "满足办公、旅馆限值0.25 m/s^2",
     .shape = FieldShape::Structure,
     .value = [](const Results& r, FieldIndex) -> FieldValue {
         const auto& limits = field_values::comfort(r).limits;
         return limits ? FieldValue{limits->officeMet} : FieldValue{};
     },
     .kind = ValueKind::OptionalBoolean,
     .group = "comfort",
     .inTextForm = true},
});

// The field of a key in a group (the top: ""); throws std::out_of_range when
// there is none.
[[nodiscard]] constexpr const ResultField& resultField(std::string_view key,
                                                       std::string_view group = {}) {
    for (const ResultField& field : kResultFields)
        if (field.key == key && field.group == group)
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

// Whether the results hold the field's group (always for the top).
[[nodiscard]] inline bool groupPresent(const ResultField& field,
                                       std::span<const ResultGroup> groups, const Results& r) {
    const ResultGroup* group = resultGroup(groups, field.group);
    return group == nullptr || group->present(r);
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
