#pragma once

// Where the results depart from the codes in force. The computation follows
// its own method exactly; these checks only read its results and say where a
// designer must depart from them:
//
// - the general code GB 55001-2021 requires the wind vibration coefficient of
//   the main structure to be at least 1.2;
// - the load code's table of the height coefficient holds it constant below a
//   cut-off height, while the computation applies the formula down to each
//   point's own height.
//
// Nothing here changes a result.

#include "Edition.h"
#include "Results.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamsor {

// The least wind vibration coefficient of a main structure (GB 55001-2021).
inline constexpr double kMinWindVibCoef = 1.2;

struct CodeFinding {
    enum class Check {
        WindVibCoefBelowMin, // value = windVibCoef, required = kMinWindVibCoef
        BelowCutoffHeight,   // value = the height coefficient the computation used,
                             // required = the formula's value at the cut-off height
    };
    Check check;
    int point;           // mass point, 1-based
    double height;       // the point's height, m
    double value;        // what the computation used
    double required;     // what the code asks for there
    double cutoffHeight; // m, for BelowCutoffHeight; 0 otherwise

    // The check's key in the batch outputs.
    [[nodiscard]] std::string_view key() const;
    // One line of Chinese text for the user.
    [[nodiscard]] std::string text() const;

    friend bool operator==(const CodeFinding&, const CodeFinding&) = default;
};

// Every check, in the order of the findings and of the batch outputs' keys.
struct CodeCheck {
    CodeFinding::Check check;
    std::string_view key;
};
inline constexpr std::array<CodeCheck, 2> kCodeChecks{{
    {CodeFinding::Check::WindVibCoefBelowMin, "windVibCoefBelowMin"},
    {CodeFinding::Check::BelowCutoffHeight, "belowCutoffHeight"},
}};

// The cut-off height of a terrain (CodeTables.h) and the height coefficient
// that the computation's formula gives there under an edition (what the
// table holds below it); nothing when the edition or terrain is out of range.
struct Cutoff {
    double height;
    double heightCoef;
};
[[nodiscard]] std::optional<Cutoff> cutoffFor(Edition edition, int terrainType);

// The findings for results, ordered by check and then by point; empty when
// every point passes. The heights, terrain and edition are those the results
// were computed from.
[[nodiscard]] std::vector<CodeFinding> checkAgainstCodes(const Results& results);

} // namespace tamsor
