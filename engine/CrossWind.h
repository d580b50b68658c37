#pragma once

// The cross-wind check of a round tower, chimney or building against vortex
// shedding, mode by mode (GB 50009-2012 clause 8.5.3, appendix H.1 and table
// 8.5.6; GB 50009-2001 clauses 7.6.1 to 7.6.3):
//
// - the top speed v_H = sqrt(2000 mu_H w0 / rho) at the highest point, with
//   mu_H as the code's table holds it;
// - per mode j the critical speed v_cr,j = D / (T_j St) and the Reynolds
//   number Re_j = 69000 v_cr,j D, which give the flow regime;
// - the subcritical resonance of the first mode (Re_1 < 3e5 and v_H > v_cr,1):
//   detailing against vibration, or v_cr,1 of at least 15 m/s;
// - the transcritical resonance (Re_j >= 3.5e6 and 1.2 v_H > v_cr,j): the
//   lock-in height H1, lambda_j from the table, the equivalent cross-wind load
//   w_Lk,j = |lambda_j| v_cr,j^2 phi_j(z) / (12800 zeta_j) per point, its
//   forces and base effects, and their combination with the along-wind load.
//
// The acceleration of GB 50009-2012 appendix J.2 is not given. The check reads
// its input and changes nothing; a refusal leaves the along-wind results as
// they are.

#include "CodeParameters.h"
#include "Edition.h"
#include "ParsedInput.h"
#include "StructureType.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tamsor {

// The constants of the check, the same in both editions.
inline constexpr double kAirDensity = 1.25;            // rho, kg/m^3
inline constexpr double kStrouhalNumber = 0.2;         // St of a round section
inline constexpr double kSubcriticalReynolds = 3e5;    // below: subcritical
inline constexpr double kTranscriticalReynolds = 35e5; // from here: transcritical
inline constexpr double kLockInSpeedFactor = 1.2;      // 1.2 v_H against v_cr
inline constexpr double kMinCriticalSpeed = 15.0;      // m/s, against subcritical resonance

enum class FlowRegime { Subcritical, Supercritical, Transcritical };
// "subcritical", "supercritical", "transcritical" (the batch outputs' values).
[[nodiscard]] std::string_view regimeKey(FlowRegime regime);
// "亚临界", "超临界", "跨临界".
[[nodiscard]] std::string_view regimeCaption(FlowRegime regime);

// lambda_j of GB 50009-2012 table H.1.1 (GB 50009-2001 table 7.6.2) at
// h1OverH = H1/H in [0, 1], interpolated linearly between the table's columns;
// nothing when the table has no row for the mode and type, or h1OverH lies
// outside [0, 1].
[[nodiscard]] std::optional<double> lockInCoefficient(StructureType type, int mode, double h1OverH);

struct CrossWindMode {
    int mode = 0;               // 1-based
    double period = 0.0;        // T_j = 1/f_j, s
    double dampingRatio = 0.0;  // zeta_j
    double criticalSpeed = 0.0; // v_cr,j, m/s
    double reynolds = 0.0;      // Re_j
    FlowRegime regime = FlowRegime::Subcritical;
    // Transcritical resonance: Re_j >= 3.5e6 and 1.2 v_H > v_cr,j. A mode that
    // resonates without a row in the lambda table is not covered by the code:
    // it carries no load, and resonance && !tableCovers says so.
    bool resonance = false;
    bool tableCovers = false; // the lambda table has a row for this mode and type
    // Only when the mode carries a load (resonance and a table row).
    std::optional<double> lockInHeight; // H1, m
    std::optional<double> lambda;       // lambda_j
    List load;                          // w_Lk,j per point, kN/m^2 (signed as phi_j)
    List force;                         // load times area per point, kN
    double baseShear = 0.0;             // sum of the forces, kN
    double baseMoment = 0.0;            // sum of force times height, kN*m
    // The combination with the along-wind effects, only when the mode carries
    // a load: sqrt((c V_D)^2 + V_L^2), c = 0.6 (201X, table 8.5.6 case 2) or
    // 1 (2001); likewise the moment. The clause names the rule.
    std::optional<double> combinedShear;  // kN
    std::optional<double> combinedMoment; // kN*m
    std::string_view combinationClause;   // empty when the mode carries no load

    [[nodiscard]] bool carriesLoad() const { return lambda.has_value(); }
};

struct CrossWindResult {
    Edition edition = Edition::GB201X;
    double diameter = 0.0; // D, m
    StructureType structureType = StructureType::Tower;
    int topPoint = 0;           // the highest point (greatest height), 1-based
    double topHeight = 0.0;     // H, m
    double topHeightCoef = 0.0; // mu_H
    double topSpeed = 0.0;      // v_H, m/s
    // The first mode in subcritical resonance: Re_1 < 3e5 and v_H > v_cr,1.
    bool subcriticalResonance = false;
    // Subcritical resonance with v_cr,1 below 15 m/s: detailing against
    // vibration is needed.
    bool criticalSpeedBelowMin = false;
    double alongShear = 0.0;          // V_D = sum of eqStaticLoad, kN
    double alongMoment = 0.0;         // M_D = sum of eqStaticLoad * z, kN*m
    std::vector<CrossWindMode> modes; // modes 1..m
};

// Why the check was not made, in Chinese, e.g. "横风向风振验算未进行：...".
struct CrossWindRefusal {
    std::string message;
};

// The project has no cross-wind data (no diameter, or a diameter of 0).
struct NoCrossWindData {};

using CrossWindOutcome = std::variant<NoCrossWindData, CrossWindResult, CrossWindRefusal>;

// The check for the input's modes 1..nModes under `edition`, with the code
// parameters of the computation (the edition's and terrain's), the terrain's
// cut-off height (m) and the along-wind equivalent static load per point
// (eqStaticLoad, kN) of the same input. Refused: a negative diameter, a mode
// shape that is 0 at the highest point, a frequency or damping ratio that is
// not positive or missing, a highest point not above the ground, lists
// shorter than the points, and a value that is not a finite number.
[[nodiscard]] CrossWindOutcome checkCrossWind(const ParsedInput& input, Edition edition,
                                              const CodeParameters& params, double cutoffHeight,
                                              const List& eqStaticLoad);

// One line of Chinese text per finding that needs the engineer: a mode that
// carries a load, a resonance the table does not cover, the subcritical
// resonance of the first mode. Empty when nothing resonates.
[[nodiscard]] std::vector<std::string> crossWindNotices(const CrossWindResult& result);

} // namespace tamsor
