#pragma once

#include "CodeTables.h"
#include "Edition.h"
#include "Fault.h"

#include <optional>

namespace tamsor {

// Parameters picked out of the load-code tables for one computation.
struct CodeParameters {
    double zG = 0.0;     // gradient height of the chosen terrain, m
    double zGB = 0.0;    // gradient height of terrain B, m
    double alphaB = 0.0; // roughness exponent of terrain B
    double alpha = 0.0;  // roughness exponent of the chosen terrain
    double i10 = 0.0;    // turbulence intensity at 10 m of the chosen terrain
    double g = 0.0;      // peak factor
    double v0 = 0.0;     // reference wind speed at 10 m over terrain B, m/s
    double v10 = 0.0;    // mean wind speed at 10 m over the chosen terrain, m/s
};

// The table values (kCodeTables) for an edition and a terrain category 1..4
// (V0 and V10 stay 0); nothing when either is out of range.
[[nodiscard]] std::optional<CodeParameters> lookUpCodeParameters(Edition edition, int terrainType);

// Looks the parameters up and forms V0 and V10 from w0 (N/m^2). An
// out-of-range edition or terrain is a fault (nothing is read outside a
// table), and so is a V0 or V10 that is not a finite number (a negative w0).
// The caller clears the floating-point exception flags beforehand; this
// function tests them.
[[nodiscard]] Outcome<CodeParameters> selectCodeParameters(Edition edition, int terrainType,
                                                           double w0);

// Height variation coefficient of the wind pressure at height z (m):
// (zG_B/10)^(2 alpha_B) * (10/zG)^(2 alpha) * (z/10)^(2 alpha), no cut-offs.
[[nodiscard]] double heightCoefficient(const CodeParameters& p, double z);
// The height coefficient as the load code's table holds it (GB 50009-2012
// table 8.2.1, GB 50009-2001 table 7.2.1): the formula's value at
// min(max(z, cutoffHeight), zG), constant below the terrain's cut-off height
// and above the gradient height.
[[nodiscard]] double tabulatedHeightCoefficient(const CodeParameters& p, double cutoffHeight,
                                                double z);
// Turbulence intensity at height z (m): I10 * (z/10)^(-alpha), no cut-offs.
[[nodiscard]] double turbulenceIntensity(const CodeParameters& p, double z);

} // namespace tamsor
