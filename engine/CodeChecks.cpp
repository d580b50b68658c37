#include "CodeChecks.h"

#include "CodeParameters.h"
#include "Message.h"

#include <cstddef>

namespace tamsor {

std::string_view CodeFinding::key() const {
    for (const CodeCheck& c : kCodeChecks)
        if (c.check == check)
            return c.key;
    return {};
}

std::string CodeFinding::text() const {
    const auto where = [this](const std::string& z) {
        return "第" + std::to_string(point) + "质点(z=" + z + " m)";
    };
    switch (check) {
    case Check::WindVibCoefBelowMin: {
        const NumberPair shown = distinctNumbers(value, required, 4);
        return where(messageNumber(height)) + "的风振系数" + shown.first + "小于" + shown.second +
               "：GB55001-2021要求主要受力结构的风振系数不小于" + messageNumber(required) + "。";
    }
    case Check::BelowCutoffHeight: {
        const NumberPair heights = distinctNumbers(height, cutoffHeight);
        const NumberPair coefs = distinctNumbers(value, required, 4, 4);
        return where(heights.first) + "低于截断高度" + heights.second +
               " m：程序按公式取μz=" + coefs.first + "，荷载规范的表取截断高度处的值" +
               coefs.second + "。";
    }
    }
    return {};
}

std::optional<Cutoff> cutoffFor(Edition edition, int terrainType) {
    const std::optional<CodeParameters> p = lookUpCodeParameters(edition, terrainType);
    if (!p)
        return std::nullopt;
    const double height = kCodeTables.terrain(edition, terrainType)->cutoffHeight;
    return Cutoff{height, heightCoefficient(*p, height)};
}

std::vector<CodeFinding> checkAgainstCodes(const Results& r) {
    std::vector<CodeFinding> findings;
    const int terrain = r.numbers().terrainType;
    const std::optional<CodeParameters> p = lookUpCodeParameters(r.edition(), terrain);
    const std::optional<Cutoff> cutoff = cutoffFor(r.edition(), terrain);
    if (!p || !cutoff)
        return findings;
    const List& heights = r.numbers().zCoord;
    const List& windVibCoef = r.raw().windVibCoef;
    const std::size_t n = r.pointCount();
    for (std::size_t i = 0; i < n; ++i)
        if (windVibCoef[i] < kMinWindVibCoef)
            findings.push_back({CodeFinding::Check::WindVibCoefBelowMin, static_cast<int>(i) + 1,
                                heights[i], windVibCoef[i], kMinWindVibCoef, 0.0});
    for (std::size_t i = 0; i < n; ++i)
        if (heights[i] < cutoff->height)
            findings.push_back({CodeFinding::Check::BelowCutoffHeight, static_cast<int>(i) + 1,
                                heights[i], heightCoefficient(*p, heights[i]), cutoff->heightCoef,
                                cutoff->height});
    return findings;
}

} // namespace tamsor
