#pragma once

// Input that the parse and the command gate accept but that an engineer has
// most likely mistyped, usually in its units. Such input gives a plausible
// looking, wrong result, so after a successful computation the program says
// what looks wrong. A warning never refuses anything and never changes a
// number.

#include "ParsedInput.h"

#include <string>
#include <string_view>
#include <vector>

namespace tamsor {

// The limits beyond which a value is taken for a slip, in one place.
namespace plausibility {
// Damping ratios used in design lie between 0.01 (welded steel) and 0.05
// (reinforced concrete); added dampers seldom take a structure beyond 0.1. A
// percentage typed as a number is 1 or more (2 % typed as 2). 0.2 lies well
// clear of both.
inline constexpr double kMaxDampingRatio = 0.2;
// Basic wind pressures of the load code's map lie between 0.3 and about
// 2 kPa, typhoon coasts and islands included; the same pressure typed in N/m^2
// is 300 or more. 5 kPa lies well clear of both.
inline constexpr double kMaxBasicWindPressureKPa = 5.0;
} // namespace plausibility

struct InputWarning {
    enum class Kind {
        DampingRatio,           // damping ratio above the limit: a percentage?
        WindPressure,           // basic wind pressure above the limit: N/m^2?
        HeightNotRising,        // a point not higher than the one entered before it
        HeightNotPositive,      // a height of zero or below
        AreaNotPositive,        // a windward area of zero or below
        MassNotPositive,        // a mass of zero or below
        FrequencyNegative,      // a negative first natural frequency
        ModeShapeNegativeAtTop, // the first mode shape negative at the highest point
        W10AboveW0,             // the 10-year pressure above the design one: swapped?
    };
    Kind kind;
    std::string_view quantity; // the input field: "freq", "dampRatio", "w0", "w10", "zCoord", ...
    int point;                 // mass point, 1-based; 0 for a value of the structure
    double value;              // in the unit of its input box (w0 in kPa)
    std::string text;          // Chinese, for the user

    friend bool operator==(const InputWarning&, const InputWarning&) = default;
};

// Looks at the numbers of an input (the first nFreedom values of each
// per-point list, the first frequency and damping ratio, w0 and w10) and
// returns one warning per finding: first the frequency, then the damping
// ratio, then the wind pressure, then w10 against it, then point by point the
// height against the point before, the height, the area and the mass, and
// last the mode shape at the highest point. Empty when nothing looks wrong.
[[nodiscard]] std::vector<InputWarning> checkPlausibility(const ParsedInput& input);

} // namespace tamsor
