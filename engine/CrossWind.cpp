#include "CrossWind.h"

#include "Message.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <iterator>

namespace tamsor {

namespace {

constexpr std::string_view kRefused = "横风向风振验算未进行：";

// GB 50009-2012 table H.1.1, columns at H1/H = 0, 0.1, ..., 1.0. GB 50009-2001
// table 7.6.2 has the same rows and columns and is taken with the same values.
using LambdaRow = std::array<double, 11>;
constexpr std::array<LambdaRow, 4> kTowerLambda{{
    {1.56, 1.55, 1.54, 1.49, 1.42, 1.31, 1.15, 0.94, 0.68, 0.37, 0.0},
    {0.83, 0.82, 0.76, 0.60, 0.37, 0.09, -0.16, -0.33, -0.38, -0.27, 0.0},
    {0.52, 0.48, 0.32, 0.06, -0.19, -0.30, -0.21, 0.00, 0.20, 0.23, 0.0},
    {0.30, 0.33, 0.02, -0.20, -0.23, 0.03, 0.16, 0.15, -0.05, -0.18, 0.0},
}};
constexpr std::array<LambdaRow, 2> kBuildingLambda{{
    {1.56, 1.56, 1.54, 1.49, 1.41, 1.28, 1.12, 0.91, 0.65, 0.35, 0.0},
    {0.73, 0.72, 0.63, 0.45, 0.19, -0.11, -0.36, -0.52, -0.53, -0.36, 0.0},
}};

// The combination with the along-wind load. GB 50009-2012 table 8.5.6 case 2
// takes 0.6 of the along-wind load with the whole cross-wind load, the two at
// right angles; GB 50009-2001 clause 7.6.3 combines the whole effects as the
// square root of the sum of their squares.
constexpr std::string_view kClause201X = "GB50009-201X 表8.5.6 工况2";
constexpr std::string_view kClause2001 = "GB50009-2001 第7.6.3条";

CrossWindRefusal refused(const std::string& why) {
    return CrossWindRefusal{std::string(kRefused) + why};
}

std::string modeName(int mode) {
    return "第" + std::to_string(mode) + "阶振型";
}

bool allFinite(const CrossWindResult& r) {
    const auto finite = [](double v) { return std::isfinite(v); };
    if (!finite(r.topHeightCoef) || !finite(r.topSpeed) || !finite(r.alongShear) ||
        !finite(r.alongMoment))
        return false;
    for (const CrossWindMode& m : r.modes) {
        if (!finite(m.criticalSpeed) || !finite(m.reynolds) || !finite(m.baseShear) ||
            !finite(m.baseMoment) || !std::all_of(m.load.begin(), m.load.end(), finite) ||
            !std::all_of(m.force.begin(), m.force.end(), finite))
            return false;
        for (const std::optional<double>& v :
             {m.lockInHeight, m.lambda, m.combinedShear, m.combinedMoment})
            if (v && !finite(*v))
                return false;
    }
    return true;
}

} // namespace

std::string_view regimeKey(FlowRegime regime) {
    switch (regime) {
    case FlowRegime::Subcritical:
        return "subcritical";
    case FlowRegime::Supercritical:
        return "supercritical";
    case FlowRegime::Transcritical:
        return "transcritical";
    }
    return {};
}

std::string_view regimeCaption(FlowRegime regime) {
    switch (regime) {
    case FlowRegime::Subcritical:
        return "亚临界";
    case FlowRegime::Supercritical:
        return "超临界";
    case FlowRegime::Transcritical:
        return "跨临界";
    }
    return {};
}

std::optional<double> lockInCoefficient(StructureType type, int mode, double h1OverH) {
    const LambdaRow* row = nullptr;
    if (type == StructureType::Tower && mode >= 1 && mode <= 4)
        row = &kTowerLambda[static_cast<std::size_t>(mode - 1)];
    else if (type == StructureType::Building && mode >= 1 && mode <= 2)
        row = &kBuildingLambda[static_cast<std::size_t>(mode - 1)];
    if (!row || !(h1OverH >= 0.0 && h1OverH <= 1.0))
        return std::nullopt;
    const double column = h1OverH * 10.0;
    const auto left = std::min<std::size_t>(static_cast<std::size_t>(column), row->size() - 2);
    const double t = column - static_cast<double>(left);
    return (*row)[left] + t * ((*row)[left + 1] - (*row)[left]);
}

CrossWindOutcome checkCrossWind(const ParsedInput& input, Edition edition,
                                const CodeParameters& params, double cutoffHeight,
                                const List& eqStaticLoad) {
    if (!input.diameterM || *input.diameterM == 0.0)
        return NoCrossWindData{};
    const double d = *input.diameterM;
    if (d < 0.0)
        return refused("圆截面直径D=" + messageNumber(d) + " m为负数。");
    const int type = input.structureType.value_or(1);
    if (type != 1 && type != 2)
        return refused("结构类型应为1(高耸结构)或2(高层建筑)。");
    if (input.nModes < 1 || input.nModes > kModeShapeBoxes)
        return refused("振型数应为1、2或3。");

    const int n = input.nFreedom;
    const auto points = static_cast<std::size_t>(n > 0 ? n : 0);
    const auto shortOf = [points](const List& list) { return list.size() < points; };
    if (n < 1 || shortOf(input.zCoord) || shortOf(input.windArea) || shortOf(eqStaticLoad))
        return refused("高度、受风面积或顺风向等效静力风荷载的数据个数少于质点数。");
    for (int j = 1; j <= input.nModes; ++j) {
        const auto k = static_cast<std::size_t>(j - 1);
        if (shortOf(input.modeShapes[k]))
            return refused(modeName(j) + "的数据个数少于质点数。");
        if (input.freq.size() <= k)
            return refused(modeName(j) + "没有自振频率。");
        if (!(input.freq[k] > 0.0))
            return refused(modeName(j) + "的自振频率应大于0。");
        const std::size_t damping = input.dampRatio.size() == 1 ? 0 : k;
        if (input.dampRatio.size() <= damping)
            return refused(modeName(j) + "没有阻尼比。");
        if (!(input.dampRatio[damping] > 0.0))
            return refused(modeName(j) + "的阻尼比应大于0。");
    }

    CrossWindResult r;
    r.edition = edition;
    r.diameter = d;
    r.structureType = static_cast<StructureType>(type);
    // The highest point as entered: the program never sorts the points.
    const auto zEnd = input.zCoord.begin() + static_cast<std::ptrdiff_t>(points);
    const auto top = static_cast<std::size_t>(
        std::distance(input.zCoord.begin(), std::max_element(input.zCoord.begin(), zEnd)));
    r.topPoint = static_cast<int>(top) + 1;
    r.topHeight = input.zCoord[top];
    if (!(r.topHeight > 0.0))
        return refused("最高质点的高度应大于0。");
    for (int j = 1; j <= input.nModes; ++j)
        if (input.modeShapes[static_cast<std::size_t>(j - 1)][top] == 0.0)
            return refused(modeName(j) + "在最高质点(第" + std::to_string(r.topPoint) + "质点，z=" +
                           messageNumber(r.topHeight) + " m)处的值为0，不能按最高点归一化。");

    // GB 50009-2012 8.5.3-3 (GB 50009-2001 7.6.1-3), w0 in kN/m^2.
    r.topHeightCoef = tabulatedHeightCoefficient(params, cutoffHeight, r.topHeight);
    r.topSpeed = std::sqrt(2000.0 * r.topHeightCoef * (input.w0 / 1000.0) / kAirDensity);

    for (std::size_t i = 0; i < points; ++i) {
        r.alongShear += eqStaticLoad[i];
        r.alongMoment += eqStaticLoad[i] * input.zCoord[i];
    }
    const double alongPart = edition == Edition::GB201X ? 0.6 : 1.0;

    for (int j = 1; j <= input.nModes; ++j) {
        const auto k = static_cast<std::size_t>(j - 1);
        const List& shape = input.modeShapes[k];
        CrossWindMode m;
        m.mode = j;
        m.period = 1.0 / input.freq[k];
        m.dampingRatio = input.dampRatio[input.dampRatio.size() == 1 ? 0 : k];
        // GB 50009-2012 8.5.3-2 and 8.5.3-1 (GB 50009-2001 7.6.1-2 and -1),
        // with the critical speed as the speed of the Reynolds number.
        m.criticalSpeed = d / (m.period * kStrouhalNumber);
        m.reynolds = 69000.0 * m.criticalSpeed * d;
        m.regime = m.reynolds < kSubcriticalReynolds     ? FlowRegime::Subcritical
                   : m.reynolds < kTranscriticalReynolds ? FlowRegime::Supercritical
                                                         : FlowRegime::Transcritical;
        m.resonance = m.regime == FlowRegime::Transcritical &&
                      kLockInSpeedFactor * r.topSpeed > m.criticalSpeed;
        m.tableCovers = lockInCoefficient(r.structureType, j, 0.0).has_value();
        m.load.assign(points, 0.0);
        m.force.assign(points, 0.0);
        if (m.resonance && m.tableCovers) {
            // GB 50009-2012 H.1.1-2 (GB 50009-2001 7.6.2-2): where the lock-in
            // range starts, with the edition's roughness exponent.
            const double h1OverH =
                std::pow(m.criticalSpeed / (kLockInSpeedFactor * r.topSpeed), 1.0 / params.alpha);
            m.lockInHeight = r.topHeight * h1OverH;
            m.lambda = lockInCoefficient(r.structureType, j, h1OverH);
        }
        if (m.lambda) {
            // GB 50009-2012 H.1.1-1 (GB 50009-2001 7.6.2-1); phi_j is the shape
            // divided by its value at the highest point, its sign kept.
            const double scale = std::fabs(*m.lambda) * m.criticalSpeed * m.criticalSpeed /
                                 (12800.0 * m.dampingRatio * shape[top]);
            for (std::size_t i = 0; i < points; ++i) {
                m.load[i] = scale * shape[i];
                m.force[i] = m.load[i] * input.windArea[i];
                m.baseShear += m.force[i];
                m.baseMoment += m.force[i] * input.zCoord[i];
            }
            m.combinedShear = std::hypot(alongPart * r.alongShear, m.baseShear);
            m.combinedMoment = std::hypot(alongPart * r.alongMoment, m.baseMoment);
            m.combinationClause = edition == Edition::GB201X ? kClause201X : kClause2001;
        }
        r.modes.push_back(std::move(m));
    }

    // GB 50009-2012 8.5.3 item 1 (GB 50009-2001 7.6.1 item 1): the first mode.
    const CrossWindMode& first = r.modes.front();
    r.subcriticalResonance =
        first.regime == FlowRegime::Subcritical && r.topSpeed > first.criticalSpeed;
    r.criticalSpeedBelowMin = r.subcriticalResonance && first.criticalSpeed < kMinCriticalSpeed;

    if (!allFinite(r))
        return refused("计算中出现无效运算或数值溢出。");
    return r;
}

std::vector<std::string> crossWindNotices(const CrossWindResult& r) {
    std::vector<std::string> lines;
    const std::string table = r.edition == Edition::GB201X ? "表H.1.1" : "表7.6.2";
    for (const CrossWindMode& m : r.modes) {
        if (!m.resonance)
            continue;
        std::string line =
            modeName(m.mode) + "发生跨临界强风共振(Re=" + messageNumber(m.reynolds, 3) +
            "，v_cr=" + messageNumber(m.criticalSpeed, 4) +
            " m/s，1.2v_H=" + messageNumber(kLockInSpeedFactor * r.topSpeed, 4) + " m/s)";
        if (m.carriesLoad())
            line += "：应计入横风向风振等效风荷载，H1=" + messageNumber(*m.lockInHeight, 4) +
                    " m，λ=" + messageNumber(*m.lambda, 4) + "，基底剪力" +
                    messageNumber(m.baseShear, 5) + " kN。";
        else
            line += "：" + table + "没有" + std::string(structureTypeCaption(r.structureType)) +
                    "该振型的λ，未计算其横风向荷载。";
        lines.push_back(std::move(line));
    }
    if (r.subcriticalResonance) {
        const CrossWindMode& first = r.modes.front();
        std::string line = "第1阶振型可发生亚临界微风共振(Re=" + messageNumber(first.reynolds, 3) +
                           "，v_H=" + messageNumber(r.topSpeed, 4) +
                           " m/s大于v_cr=" + messageNumber(first.criticalSpeed, 4) + " m/s)：";
        line += r.criticalSpeedBelowMin ? "临界风速小于" + messageNumber(kMinCriticalSpeed) +
                                              " m/s，应在构造上采取防振措施，或提高结构的临界风速。"
                                        : "临界风速不小于" + messageNumber(kMinCriticalSpeed) +
                                              " m/s，可不采取防振措施。";
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace tamsor
