#include "CodeParameters.h"

#include "FaultCheck.h"

#include <algorithm>
#include <cmath>

namespace tamsor {

std::optional<CodeParameters> lookUpCodeParameters(Edition edition, int terrainType) {
    const EditionConstants* constants = kCodeTables.edition(edition);
    const TerrainConstants* terrain = kCodeTables.terrain(edition, terrainType);
    const TerrainConstants* reference = kCodeTables.terrain(edition, kReferenceTerrain);
    if (constants == nullptr || terrain == nullptr || reference == nullptr)
        return std::nullopt;

    CodeParameters p;
    p.zGB = reference->gradientHeight;
    p.alphaB = reference->alpha;
    p.zG = terrain->gradientHeight;
    p.alpha = terrain->alpha;
    p.i10 = terrain->i10;
    p.g = constants->peakFactor;
    return p;
}

Outcome<CodeParameters> selectCodeParameters(Edition edition, int terrainType, double w0) {
    if (kCodeTables.edition(edition) == nullptr)
        return ComputeFault{"规范版本", FaultReason::OutOfRange};
    if (terrainType < 1 || terrainType > kTerrainCount)
        return ComputeFault{"地貌类别", FaultReason::OutOfRange};

    CodeParameters p = *lookUpCodeParameters(edition, terrainType);
    detail::clearFaultFlags();
    p.v0 = std::sqrt(1.63 * w0);
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
