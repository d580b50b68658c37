#include "CodeFormula.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <string>
#include <utility>

namespace tamsor {

namespace {

constexpr double kPi = std::numbers::pi;

// Per terrain category A to D.
// Roughness correction of x1 (GB 50009-2012 8.4.4).
constexpr std::array<double, 4> kRoughnessCorrection{1.28, 1.0, 0.54, 0.26};
// The largest structure height H the closed form takes (8.4.5, 8.4.6), m.
constexpr std::array<double, 4> kMaxHeight{300.0, 350.0, 450.0, 550.0};

// Table 8.4.5-1: k and a1 of the background factor.
struct RowCoefficients {
    std::array<double, 4> k;
    std::array<double, 4> a1;
};
constexpr RowCoefficients kBuildingRow{{0.944, 0.670, 0.295, 0.112}, {0.155, 0.187, 0.261, 0.346}};
constexpr RowCoefficients kTallStructureRow{{1.276, 0.910, 0.404, 0.155},
                                            {0.186, 0.218, 0.292, 0.376}};

// Table J.1.2: eta_a by x1 (rows) and damping ratio 0.01 to 0.05 (columns).
constexpr std::array<double, 25> kEtaX1{5,   6,   7,   8,   9,   10,  20,  30,  40,
                                        50,  60,  70,  80,  90,  100, 120, 140, 160,
                                        180, 200, 220, 240, 260, 280, 300};
constexpr std::array<double, 5> kEtaDamping{0.01, 0.02, 0.03, 0.04, 0.05};
constexpr std::array<std::array<double, 5>, 25> kEtaA{{
    {4.14, 2.94, 2.41, 2.10, 1.88}, {3.93, 2.79, 2.28, 1.99, 1.78}, {3.75, 2.66, 2.18, 1.90, 1.70},
    {3.59, 2.55, 2.09, 1.82, 1.63}, {3.46, 2.46, 2.02, 1.75, 1.57}, {3.35, 2.38, 1.95, 1.69, 1.52},
    {2.67, 1.90, 1.55, 1.35, 1.21}, {2.34, 1.66, 1.36, 1.18, 1.06}, {2.12, 1.51, 1.23, 1.07, 0.96},
    {1.97, 1.40, 1.15, 1.00, 0.89}, {1.86, 1.32, 1.08, 0.94, 0.84}, {1.76, 1.25, 1.03, 0.89, 0.80},
    {1.69, 1.20, 0.98, 0.85, 0.76}, {1.62, 1.15, 0.94, 0.82, 0.74}, {1.56, 1.11, 0.91, 0.79, 0.71},
    {1.47, 1.05, 0.86, 0.74, 0.67}, {1.40, 0.99, 0.81, 0.71, 0.63}, {1.34, 0.95, 0.78, 0.68, 0.61},
    {1.29, 0.91, 0.75, 0.65, 0.58}, {1.24, 0.88, 0.72, 0.63, 0.56}, {1.20, 0.85, 0.70, 0.61, 0.55},
    {1.17, 0.83, 0.68, 0.59, 0.53}, {1.14, 0.81, 0.66, 0.58, 0.52}, {1.11, 0.79, 0.65, 0.56, 0.50},
    {1.09, 0.77, 0.63, 0.55, 0.49},
}};

// The cell of a rising grid that holds v (taken into the grid's range
// first) and v's share of the way across it.
template <std::size_t N>
std::pair<std::size_t, double> gridCell(const std::array<double, N>& grid, double v) {
    const double inside = std::clamp(v, grid.front(), grid.back());
    std::size_t i = 0;
    while (i + 2 < N && inside > grid[i + 1])
        ++i;
    return {i, (inside - grid[i]) / (grid[i + 1] - grid[i])};
}

bool allFinite(const List& values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Why the input leaves the closed form undefined, or empty.
std::string closedFormRefusal(const ParsedInput& in) {
    const auto n = static_cast<std::size_t>(std::max(in.nFreedom, 0));
    if (n == 0 || in.zCoord.size() < n || in.mass.size() < n || in.modeShapes[0].size() < n ||
        in.shapeCoef.size() < n || in.freq.empty() || in.dampRatio.empty() || in.terrainType < 1 ||
        in.terrainType > 4)
        return "输入数据不完整";
    if (in.structureType && *in.structureType != 1 && *in.structureType != 2)
        return "结构类型应为1或2";
    if (!(in.freq[0] > 0.0) || !std::isfinite(in.freq[0]))
        return "第1阶频率不大于0";
    if (!(in.dampRatio[0] > 0.0) || !std::isfinite(in.dampRatio[0]))
        return "第1阶阻尼比不大于0";
    if (!(in.w0 > 0.0) || !std::isfinite(in.w0))
        return "基本风压不大于0";
    if (!(in.structWidth >= 0.0) || !std::isfinite(in.structWidth))
        return "结构宽度小于0";
    return {};
}

std::optional<CodeFormulaResult> closedForm(const ParsedInput& in, const CodeParameters& p,
                                            double cutoffHeight, std::string& whyNot) {
    const auto n = static_cast<std::size_t>(in.nFreedom);
    const auto terrain = static_cast<std::size_t>(in.terrainType - 1);
    CodeFormulaResult r;
    r.structureTypeUnspecified = !in.structureType.has_value();
    r.structureType =
        in.structureType.value_or(1) == 2 ? StructureType::Building : StructureType::Tower;

    // The highest point: the heights need not rise in the order entered.
    const auto top = std::max_element(in.zCoord.begin(), in.zCoord.begin() + n);
    r.topPoint = static_cast<int>(top - in.zCoord.begin());
    if (!(*top > 0.0)) {
        whyNot = "最高质点的高度不大于0，未作规范公式对照";
        return std::nullopt;
    }
    const double phiTop = in.modeShapes[0][static_cast<std::size_t>(r.topPoint)];
    if (phiTop == 0.0 || !std::isfinite(phiTop)) {
        whyNot = "第1阶振型在最高质点处为0，无法归一化，未作规范公式对照";
        return std::nullopt;
    }

    // 8.4.4: the resonance factor; w0 in kPa.
    const double w0KPa = in.w0 / 1000.0;
    r.x1 = std::max(30.0 * in.freq[0] / std::sqrt(kRoughnessCorrection[terrain] * w0KPa), 5.0);
    const double zeta1 = in.dampRatio[0];
    r.resonanceFactor =
        std::sqrt(kPi / (6.0 * zeta1) * r.x1 * r.x1 / std::pow(1.0 + r.x1 * r.x1, 4.0 / 3.0));

    // 8.4.6: the correlation coefficients; B = 0 leaves the width out, as
    // the program's own integration does.
    const double h = std::min(*top, kMaxHeight[terrain]);
    r.heightUsed = h;
    r.rhoZ = 10.0 * std::sqrt(h + 60.0 * std::exp(-h / 60.0) - 60.0) / h;
    const double b = in.structWidth;
    r.rhoX = b == 0.0 ? 1.0 : 10.0 * std::sqrt(b + 50.0 * std::exp(-b / 50.0) - 50.0) / b;

    // 8.4.5 with table 8.4.5-1, for a uniform section (no theta_B, theta_V);
    // 8.4.3 for beta_z.
    const RowCoefficients& row =
        r.structureType == StructureType::Building ? kBuildingRow : kTallStructureRow;
    r.k = row.k[terrain];
    r.a1 = row.a1[terrain];
    const double scale = r.k * std::pow(h, r.a1) * r.rhoX * r.rhoZ;
    const double dynamic =
        2.0 * p.g * p.i10 * std::sqrt(1.0 + r.resonanceFactor * r.resonanceFactor);
    r.heightCoef.resize(n);
    r.bgFactor.resize(n);
    r.windVibCoef.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        r.heightCoef[i] = tabulatedHeightCoefficient(p, cutoffHeight, in.zCoord[i]);
        r.bgFactor[i] = scale * (in.modeShapes[0][i] / phiTop) / r.heightCoef[i];
        r.windVibCoef[i] = 1.0 + dynamic * r.bgFactor[i];
    }

    const bool finite = std::isfinite(r.x1) && std::isfinite(r.resonanceFactor) &&
                        std::isfinite(r.rhoZ) && std::isfinite(r.rhoX) && allFinite(r.heightCoef) &&
                        allFinite(r.bgFactor) && allFinite(r.windVibCoef);
    if (!finite) {
        whyNot = "规范公式的结果不是有限数，未作对照";
        return std::nullopt;
    }
    return r;
}

std::optional<ComfortResult> comfortCheck(const ParsedInput& in, const CodeParameters& p,
                                          const CodeFormulaResult& cf, std::string& whyNot) {
    const auto n = static_cast<std::size_t>(in.nFreedom);
    ComfortResult c;
    c.w10KPa = *in.w10KPa;
    if (!(c.w10KPa > 0.0) || !std::isfinite(c.w10KPa)) {
        whyNot = "10年重现期风压不大于0，未作舒适度验算";
        return std::nullopt;
    }
    const double b = in.structWidth;
    if (b == 0.0) {
        whyNot = "结构宽度B为0，未作舒适度验算";
        return std::nullopt;
    }
    // J.1.1: m per metre of the whole height, the highest point's height
    // itself (not the capped H).
    double massSum = 0.0;
    for (std::size_t i = 0; i < n; ++i)
        massSum += in.mass[i];
    c.massPerHeight = massSum / in.zCoord[static_cast<std::size_t>(cf.topPoint)];
    if (!(c.massPerHeight > 0.0)) {
        whyNot = "质量之和不大于0，未作舒适度验算";
        return std::nullopt;
    }

    // J.1.2: eta_a with x1 of 8.4.4-2, from the design pressure.
    const AccelerationFactor eta = accelerationFactor(cf.x1, in.dampRatio[0]);
    c.etaA = eta.value;
    c.etaAClamped = eta.clamped;
    // J.1.1: kN/m^2 * m / (t/m) = kN/t = m/s^2.
    c.acceleration.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        c.acceleration[i] = 2.0 * p.g * p.i10 * c.w10KPa * in.shapeCoef[i] * cf.heightCoef[i] *
                            cf.bgFactor[i] * c.etaA * b / c.massPerHeight;
    c.topAcceleration = c.acceleration[static_cast<std::size_t>(cf.topPoint)];
    if (!allFinite(c.acceleration)) {
        whyNot = "舒适度验算的结果不是有限数，未作验算";
        return std::nullopt;
    }
    if (cf.structureType == StructureType::Building)
        c.limits = ComfortLimits{c.topAcceleration <= kComfortLimitResidential,
                                 c.topAcceleration <= kComfortLimitOffice};
    return c;
}

} // namespace

AccelerationFactor accelerationFactor(double x1, double dampingRatio) {
    const auto [i, t] = gridCell(kEtaX1, x1);
    const auto [j, u] = gridCell(kEtaDamping, dampingRatio);
    AccelerationFactor f;
    f.value = (1.0 - t) * (1.0 - u) * kEtaA[i][j] + t * (1.0 - u) * kEtaA[i + 1][j] +
              (1.0 - t) * u * kEtaA[i][j + 1] + t * u * kEtaA[i + 1][j + 1];
    f.clamped = x1 < kEtaX1.front() || x1 > kEtaX1.back() || dampingRatio < kEtaDamping.front() ||
                dampingRatio > kEtaDamping.back();
    return f;
}

CodeFormulaOutcome evaluateCodeFormula(const ParsedInput& input, Edition edition,
                                       const CodeParameters& params, double cutoffHeight) {
    CodeFormulaOutcome out;
    if (edition != Edition::GB201X) {
        out.whyNot = kNoCodeFormulaText;
        return out;
    }
    if (const std::string refusal = closedFormRefusal(input); !refusal.empty()) {
        out.whyNot = refusal + "，未作规范公式对照";
        return out;
    }
    out.codeFormula = closedForm(input, params, cutoffHeight, out.whyNot);
    if (out.codeFormula && input.w10KPa)
        out.comfort = comfortCheck(input, params, *out.codeFormula, out.comfortWhyNot);
    return out;
}

bool comfortLimitExceeded(const ComfortResult& comfort) {
    return comfort.limits && !(comfort.limits->residentialMet && comfort.limits->officeMet);
}

List windVibCoefRatios(const CodeFormulaResult& codeFormula, const List& programWindVibCoef) {
    const std::size_t n = std::min(codeFormula.windVibCoef.size(), programWindVibCoef.size());
    List ratios(n);
    for (std::size_t i = 0; i < n; ++i)
        ratios[i] = codeFormula.windVibCoef[i] / programWindVibCoef[i];
    return ratios;
}

std::vector<int> divergentPoints(const CodeFormulaResult& codeFormula,
                                 const List& programWindVibCoef) {
    std::vector<int> points;
    const List ratios = windVibCoefRatios(codeFormula, programWindVibCoef);
    for (std::size_t i = 0; i < ratios.size(); ++i)
        if (!(std::fabs(ratios[i] - 1.0) <= kWindVibCoefDivergence))
            points.push_back(static_cast<int>(i) + 1);
    return points;
}

} // namespace tamsor
