#pragma once

// The input fields of a project in one place: which box holds which text of
// the input and gives which numbers, under which caption and unit, on which
// line of the project file, and how many items it accepts. The input parsing, the project file's
// reader and writer, the main window's rows and the fuzz targets all read these tables; no other
// code spells out a box number.

#include "ParsedInput.h"
#include "ProjectInput.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tamsor {

inline constexpr int kListBoxCount = 9;  // the list boxes, Box::
inline constexpr int kValueBoxCount = 2; // the value boxes, ValueBox::

// The list boxes, one line of numbers separated by ";" each. Their texts and
// lists are reached through listBoxText and parsedList (InputParse.h).
namespace Box {
inline constexpr int Heights = 0;
inline constexpr int Areas = 1;
inline constexpr int Masses = 2;
inline constexpr int ModeShape1 = 3;
inline constexpr int ModeShape2 = 4;
inline constexpr int ModeShape3 = 5;
inline constexpr int ShapeCoef = 6;
inline constexpr int Frequency = 7;
inline constexpr int DampingRatio = 8;
} // namespace Box

// The value boxes, one number each.
namespace ValueBox {
inline constexpr int Width = 0;
inline constexpr int WindPressure = 1;
} // namespace ValueBox

// How many items a list box accepts.
enum class CountRule {
    // nFreedom items. The computation, the plots and the report read these
    // lists point by point, so a single item is a complete list only when
    // there is a single point.
    Points,
    PointsOrSpread, // nFreedom items, or a single one spread over every point
    Modes,          // nModes items
    ModesOrOne,     // nModes items, or a single one (it applies to every mode)
};

struct ListBoxField {
    int box;                  // Box:: index
    std::string_view key;     // the name of the list it gives
    std::string_view caption; // caption beside the box in the main window
    std::string_view name;    // what the box holds, distinct for every box
    std::string_view unit;    // unit of the typed numbers; empty when none
    std::string_view note;    // the window's note that explains the box
    CountRule count;
    // The label of the report page's row that shows the box's values; empty
    // when the page does not show them.
    std::string_view reportCaption;
    // The page shows the values divided by this.
    double reportDivisor = 1.0;
};

struct ValueBoxField {
    int box;                         // ValueBox:: index
    std::string ProjectInput::*text; // the text as typed
    double ParsedInput::*value;      // the number it gives
    std::string_view key;
    std::string_view caption;
    std::string_view unit;
    std::string_view note;
    double toRecord; // the number given = typed value * toRecord (kPa to N/m^2)
    // The label of the report page's row that shows the value.
    std::string_view reportCaption;
    // The page shows the value divided by this (N/m^2 to kPa).
    double reportDivisor = 1.0;
};

// The three drop-down lists.
enum class Choice { Freedom, Modes, Terrain };

struct ChoiceField {
    Choice choice;
    int ProjectInput::*selection; // the number the list shows (position + 1)
    int ParsedInput::*count;      // the number it gives
    std::string_view key;
    std::string_view caption;
    int entries; // number of entries of the list
};

inline constexpr std::string_view kPointsNote =
    "注：坐标和面积个数应分别与自由度数相同，数据之间用分号隔开。";
inline constexpr std::string_view kWidthNote = "注：仅用于计算水平向相关性，不考虑时取0";
inline constexpr std::string_view kModesNote =
    "注：频率和阻尼比个数应与拟取的振型数相同；数据之间用分号隔开。";
inline constexpr std::string_view kMassNote =
    "注：个数应与自由度数相同；以下振型与此相同。数据之间用分号隔开。";
inline constexpr std::string_view kShapeCoefNote =
    "注：如果各质点体型系数相同，只输入一个数值；"
    "否则，输入的个数应与自由度数相同，数据之间用分号隔开。";

inline constexpr std::array<ListBoxField, kListBoxCount> kListBoxFields{{
    {Box::Heights, "zCoord", "各质点z坐标(m)", "各质点z坐标", "m", kPointsNote, CountRule::Points,
     "质点z坐标(m)"},
    {Box::Areas, "windArea", "各质点受风面积(m^2)", "各质点受风面积", "m^2", kPointsNote,
     CountRule::Points, "质点受风面积(m^2)"},
    {Box::Masses, "mass", "各质点质量(吨)", "各质点质量", "吨", kMassNote, CountRule::Points,
     "各质点质量(吨)"},
    {Box::ModeShape1, "modeShape", "第1阶振型", "第1阶振型", "", kMassNote, CountRule::Points,
     "第1阶振型"},
    {Box::ModeShape2, "modeShape2", "第2阶振型", "第2阶振型", "", kMassNote, CountRule::Points, ""},
    {Box::ModeShape3, "modeShape3", "第3阶振型", "第3阶振型", "", kMassNote, CountRule::Points, ""},
    {Box::ShapeCoef, "shapeCoef", "体型系数", "体型系数", "", kShapeCoefNote,
     CountRule::PointsOrSpread, "体型系数"},
    {Box::Frequency, "freq", "固有频率(Hz)", "固有频率", "Hz", kModesNote, CountRule::Modes,
     "固有频率(Hz)"},
    {Box::DampingRatio, "dampRatio", "阻尼比", "阻尼比", "", kModesNote, CountRule::ModesOrOne,
     "阻尼比"},
}};

inline constexpr std::array<ValueBoxField, kValueBoxCount> kValueBoxFields{{
    {ValueBox::Width, &ProjectInput::width, &ParsedInput::structWidth, "structWidth", "结构宽度(m)",
     "m", kWidthNote, 1.0, "结构宽度(m)"},
    {ValueBox::WindPressure, &ProjectInput::windPressure, &ParsedInput::w0, "w0", "基本风压(KPa)",
     "KPa", "", 1000.0, "基本风压(KPa)", 1000.0},
}};

inline constexpr std::array<ChoiceField, 3> kChoiceFields{{
    {Choice::Freedom, &ProjectInput::pointCount, &ParsedInput::nFreedom, "nFreedom", "自由度数",
     kMaxFreedom},
    {Choice::Modes, &ProjectInput::modeCount, &ParsedInput::nModes, "nModes", "拟取振型数",
     kModeShapeBoxes},
    {Choice::Terrain, &ProjectInput::terrain, &ParsedInput::terrainType, "terrainType", "地貌类型",
     4},
}};

// The caption of a mode-shape box beyond the mode count, in place of its own.
inline constexpr std::string_view kUndefinedModeCaption = "未定义";

// Whether list box `box` takes part in an input of `modeCount` modes: every
// box but the mode-shape boxes beyond the mode count. Those are disabled, not
// parsed and give no numbers; the file does not keep them.
[[nodiscard]] constexpr bool boxInUse(int box, int modeCount) {
    const int mode = box - Box::ModeShape1; // 0 for the first mode's box
    return mode < 0 || mode >= kModeShapeBoxes || mode < modeCount;
}

// The field table entries by box.
[[nodiscard]] constexpr const ListBoxField& listBoxField(int box) {
    return kListBoxFields.at(static_cast<std::size_t>(box));
}
[[nodiscard]] constexpr const ValueBoxField& valueBoxField(int box) {
    return kValueBoxFields.at(static_cast<std::size_t>(box));
}
[[nodiscard]] constexpr const ChoiceField& choiceField(Choice choice) {
    return kChoiceFields.at(static_cast<std::size_t>(choice));
}

// What one line of the project file holds.
struct FileLine {
    enum class Kind { Choice, ListBox, ValueBox };
    Kind kind = Kind::Choice;
    int index = 0; // the Choice, Box:: or ValueBox:: index
    friend bool operator==(const FileLine&, const FileLine&) = default;
};

// The lines of a project file with one mode; the first mode's shape stands
// on line 9.
inline constexpr std::array<FileLine, 12> kProjectFileOrder{{
    {FileLine::Kind::Choice, static_cast<int>(Choice::Freedom)},
    {FileLine::Kind::ValueBox, ValueBox::Width},
    {FileLine::Kind::ListBox, Box::Heights},
    {FileLine::Kind::ListBox, Box::Areas},
    {FileLine::Kind::Choice, static_cast<int>(Choice::Modes)},
    {FileLine::Kind::ListBox, Box::Frequency},
    {FileLine::Kind::ListBox, Box::DampingRatio},
    {FileLine::Kind::ListBox, Box::Masses},
    {FileLine::Kind::ListBox, Box::ModeShape1},
    {FileLine::Kind::Choice, static_cast<int>(Choice::Terrain)},
    {FileLine::Kind::ValueBox, ValueBox::WindPressure},
    {FileLine::Kind::ListBox, Box::ShapeCoef},
}};

// Line 5 of a project file: the mode count m.
inline constexpr int kModeCountLine = 5;

// The lines of a project file with `modes` modes (1..kModeShapeBoxes; other
// counts are taken as 1): lines 1 to 8, the mode shapes of modes 1 to m on
// lines 9 to 8+m, then the terrain, the basic wind pressure and the shape
// coefficients. The tail of key=value lines follows them.
struct ProjectFileLayout {
    std::array<FileLine, kProjectFileOrder.size() + kModeShapeBoxes - 1> lines{};
    int count = 0;
    [[nodiscard]] constexpr const FileLine* begin() const { return lines.data(); }
    [[nodiscard]] constexpr const FileLine* end() const { return lines.data() + count; }
};

[[nodiscard]] constexpr ProjectFileLayout projectFileLayout(int modes) {
    if (modes < 1 || modes > kModeShapeBoxes)
        modes = 1;
    ProjectFileLayout layout;
    for (const FileLine& line : kProjectFileOrder) {
        if (line.kind == FileLine::Kind::ListBox && line.index == Box::ModeShape1) {
            for (int k = 0; k < modes; ++k)
                layout.lines.at(static_cast<std::size_t>(layout.count++)) =
                    FileLine{FileLine::Kind::ListBox, Box::ModeShape1 + k};
        } else {
            layout.lines.at(static_cast<std::size_t>(layout.count++)) = line;
        }
    }
    return layout;
}

// The known keys of the file's tail, in the order they are written. Each is
// written only when set (its text is not empty); the tail's other keys follow
// them in the order they were read.
struct TailField {
    std::string_view key;
    std::string ProjectInput::*text;
    // The number it gives; null for structure=, which takes only 1 or 2 and
    // gives ParsedInput::structureType.
    std::optional<double> ParsedInput::*number;
};

// The window asks for the tail's known keys in the dialog of this title,
// reached from the File menu.
inline constexpr std::string_view kProjectDataTitle = "横风向及舒适度数据";

inline constexpr std::array<TailField, 3> kTailFields{{
    {"diameter", &ProjectInput::diameter, &ParsedInput::diameterM},
    {"structure", &ProjectInput::structureType, nullptr},
    {"w10", &ProjectInput::w10, &ParsedInput::w10KPa},
}};

} // namespace tamsor
