#pragma once

// The load code's own closed form of the wind vibration coefficient
// (GB 50009-2012 8.4.3 to 8.4.6) and the comfort check of a building, the
// along-wind acceleration at the 10-year wind pressure (GB 50009-2012 J.1,
// limits of JGJ 3-2010 3.7.6). Reviewers compare the closed form with the
// program's coefficient, which integrates the fluctuating forces over the
// lumped masses; the two differ where the structure is not the uniform
// cantilever the closed form assumes. GB 50009-2001 has no closed form.
//
// Pure functions of the parsed input: nothing here changes a result of the
// computation, and pi is taken in full precision, not as the engine's seven
// decimals.

#include "CodeParameters.h"
#include "Edition.h"
#include "ParsedInput.h"
#include "StructureType.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamsor {

// Texts the outputs show with the closed form.
// In place of the section under GB50009-2001.
inline constexpr std::string_view kNoCodeFormulaText = "GB50009-2001无此公式，未作对照";
// When the project does not say whether it is a tall structure or a building.
inline constexpr std::string_view kStructureTypeUnspecifiedText = "结构类型未指定，按高耸结构";
// Always with the closed form: the tapering correction of 8.4.5 is not applied.
inline constexpr std::string_view kUniformSectionText =
    "按体型和质量沿高度均匀分布计算，未乘8.4.5条的修正系数θB、θV";
// With the comfort check when eta_a was taken at the edge of table J.1.2.
inline constexpr std::string_view kEtaAClampedText =
    "x1或阻尼比超出表J.1.2的范围，ηa按表的边缘取值";
// With the comfort check of a tall structure.
inline constexpr std::string_view kLimitsForBuildingsText =
    "JGJ 3-2010第3.7.6条的舒适度限值用于高层建筑，高耸结构仅给出加速度";

// The peak along-wind acceleration a building may reach at the 10-year
// pressure (JGJ 3-2010 3.7.6), m/s^2.
inline constexpr double kComfortLimitResidential = 0.15; // 住宅、公寓
inline constexpr double kComfortLimitOffice = 0.25;      // 办公、旅馆

// The closed form, per mass point in the order entered.
struct CodeFormulaResult {
    StructureType structureType = StructureType::Tower;
    bool structureTypeUnspecified = false; // no structure type: taken as a tall structure
    double x1 = 0.0;                       // 30 f1 / sqrt(kw w0), not below 5
    double resonanceFactor = 0.0;          // R (not sqrt(1 + R^2))
    double rhoZ = 0.0;                     // vertical correlation coefficient
    double rhoX = 0.0;                     // horizontal correlation coefficient (1 when B = 0)
    double k = 0.0;                        // table 8.4.5-1
    double a1 = 0.0;                       // table 8.4.5-1
    double heightUsed = 0.0;               // H, m: the highest point's height, capped
    int topPoint = 0;                      // 0-based index of the highest point
    List heightCoef;                       // mu_z as the code's table holds it
    List bgFactor;                         // background factor B_z
    List windVibCoef;                      // beta_z
};

// The limits of JGJ 3-2010 3.7.6 against the top acceleration (a building
// meets a limit when its acceleration does not exceed it).
struct ComfortLimits {
    bool residentialMet = false; // a <= kComfortLimitResidential
    bool officeMet = false;      // a <= kComfortLimitOffice
};

// The along-wind acceleration at the 10-year pressure (GB 50009-2012 J.1.1).
struct ComfortResult {
    double w10KPa = 0.0;        // 10-year basic wind pressure, kPa
    double etaA = 0.0;          // eta_a of table J.1.2
    bool etaAClamped = false;   // x1 or the damping ratio lay outside the table
    double massPerHeight = 0.0; // m, t/m: the masses' sum over the highest point's height
    List acceleration;          // m/s^2 per point
    double topAcceleration = 0.0;
    // Buildings only: the limits are for buildings.
    std::optional<ComfortLimits> limits;
};

struct CodeFormulaOutcome {
    // Nothing under GB50009-2001 or when the input leaves the closed form
    // undefined; whyNot then holds the text shown in its place.
    std::optional<CodeFormulaResult> codeFormula;
    std::string whyNot;
    // Nothing without a 10-year pressure, without a closed form, or when the
    // check cannot be made (comfortWhyNot then says why: a width of 0, ...).
    std::optional<ComfortResult> comfort;
    std::string comfortWhyNot;
};

// The closed form and the comfort check of a project. `params` are the
// parameters of the computation under the edition given (the closed form
// takes the height coefficient, g and I10 from them); `cutoffHeight` is the
// terrain's cut-off height (kCodeTables in CodeTables.h), m.
[[nodiscard]] CodeFormulaOutcome evaluateCodeFormula(const ParsedInput& input, Edition edition,
                                                     const CodeParameters& params,
                                                     double cutoffHeight);

// eta_a of table J.1.2, interpolated bilinearly in x1 (5 to 300) and the
// damping ratio (0.01 to 0.05); a value outside the table is taken at its
// edge and marked clamped.
struct AccelerationFactor {
    double value = 0.0;
    bool clamped = false;
};
[[nodiscard]] AccelerationFactor accelerationFactor(double x1, double dampingRatio);

// What the notice after a computation says.
// A building's top acceleration exceeds a limit of JGJ 3-2010 3.7.6.
[[nodiscard]] bool comfortLimitExceeded(const ComfortResult& comfort);
// The two coefficients differ by more than this share of the program's.
inline constexpr double kWindVibCoefDivergence = 0.2;
// The closed form's beta_z over the program's windVibCoef, per point.
[[nodiscard]] List windVibCoefRatios(const CodeFormulaResult& codeFormula,
                                     const List& programWindVibCoef);
// The points (1-based) where the ratio lies further than
// kWindVibCoefDivergence from 1 (or is not a number).
[[nodiscard]] std::vector<int> divergentPoints(const CodeFormulaResult& codeFormula,
                                               const List& programWindVibCoef);

} // namespace tamsor
