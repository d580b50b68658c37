#include "CodeParameters.h"

#include "FaultCheck.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tamsor {

namespace {
constexpr int kTerrainB = 2;
} // namespace

std::optional<CodeParameters> lookUpCodeParameters(const ProjectModel& model) {
    if (model.codeVersion < 0 || model.codeVersion > 1 || model.terrainType < 1 ||
        model.terrainType > 4)
        return std::nullopt;
    const auto edition = static_cast<std::size_t>(model.codeVersion);
    const auto terrain = static_cast<std::size_t>(model.terrainType - 1);
    const auto terrainB = static_cast<std::size_t>(kTerrainB - 1);

    CodeParameters p;
    p.zGB = model.gradientHeight[edition][terrainB];
    p.alphaB = model.terrainAlpha[edition][terrainB];
    p.zG = model.gradientHeight[edition][terrain];
    p.alpha = model.terrainAlpha[edition][terrain];
    p.i10 = model.terrainI10[edition][terrain];
    p.g = model.peakFactor[edition];
    return p;
}

Outcome<CodeParameters> selectCodeParameters(ProjectModel& model) {
    if (model.codeVersion < 0 || model.codeVersion > 1)
        return ComputeFault{"规范版本", FaultReason::OutOfRange};
    if (model.terrainType < 1 || model.terrainType > 4)
        return ComputeFault{"地貌类别", FaultReason::OutOfRange};

    CodeParameters p = *lookUpCodeParameters(model);
    model.alpha = p.alpha;
    model.i10 = p.i10;

    detail::clearFaultFlags();
    p.v0 = std::sqrt(1.63 * model.w0);
    if (detail::stepFailed(p.v0))
        return ComputeFault{"基本风速V0", detail::reasonFor(p.v0)};
    p.v10 = p.v0 * std::pow(p.zGB / 10.0, p.alphaB) * std::pow(10.0 / p.zG, p.alpha);
    if (detail::stepFailed(p.v10))
        return ComputeFault{"10m高度平均风速V10", detail::reasonFor(p.v10)};
    return p;
}

double heightCoefficient(const CodeParameters& p, double z) {
    return std::pow(p.zGB / 10.0, 2.0 * p.alphaB) * std::pow(10.0 / p.zG, 2.0 * p.alpha) *
           std::pow(z / 10.0, 2.0 * p.alpha);
}

double tabulatedHeightCoefficient(const CodeParameters& p, double cutoffHeight, double z) {
    return heightCoefficient(p, std::min(std::max(z, cutoffHeight), p.zG));
}

double turbulenceIntensity(const CodeParameters& p, double z) {
    return p.i10 * std::pow(z / 10.0, -p.alpha);
}

} // namespace tamsor
