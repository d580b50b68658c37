#pragma once

// What a project holds and a project file keeps: every input box's text as
// typed, the three list selections and the file's tail of key=value data. It
// is a value: the form shows one, the file code reads and writes one, and a
// computation's results carry the one they were computed from. Nothing here
// is parsed; the command gate turns it into numbers (ParsedInput.h).

#include <array>
#include <string>
#include <vector>

namespace tamsor {

// The most mass points a project may have: the entries of the DOF list, the
// largest count a project file may hold and the bound of the computation.
inline constexpr int kMaxFreedom = 10;

// The mode-shape boxes of the window, one per mode.
inline constexpr int kModeShapeBoxes = 3;

// A line "key=value" of the file's tail whose key the program does not know.
// It is kept as read and written back after the known keys.
struct TailEntry {
    std::string key;
    std::string value;
    friend bool operator==(const TailEntry&, const TailEntry&) = default;
};

struct ProjectInput {
    // The three drop-down lists, as the numbers they show.
    int pointCount = 1; // 自由度数: mass points, 1..kMaxFreedom
    int modeCount = 1;  // 拟取振型数
    int terrain = 1;    // 地貌类型: 1..4 for "A".."D"

    // The input boxes' texts, each one line as typed.
    std::string heights = "0";                                          // m, one per point
    std::string areas = "0";                                            // m^2, one per point
    std::string masses = "0";                                           // t, one per point
    std::array<std::string, kModeShapeBoxes> modeShapes{"0", "0", "0"}; // one box per mode
    std::string shapeCoefficients = "0"; // one per point, or one for all
    std::string frequencies = "0";       // Hz, one per mode
    std::string dampingRatios = "0";     // one per mode
    std::string width = "0";             // m, 0 = no horizontal correlation
    std::string windPressure = "0";      // basic wind pressure, kPa

    // The tail's known keys, each as typed; empty = not set (the line is then
    // not written).
    std::string diameter;      // "diameter=": round section's diameter, m
    std::string structureType; // "structure=": 1 tall structure, 2 building
    std::string w10;           // "w10=": 10-year basic wind pressure, kPa
    // The tail's other key=value lines, in file order.
    std::vector<TailEntry> otherTail;

    friend bool operator==(const ProjectInput&, const ProjectInput&) = default;
};

} // namespace tamsor
