#include "ResultsCheck.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace tamsor {

namespace {

using Kind = ResultsDefect::Kind;

struct KeyedList {
    std::string_view key;
    const List* list;
};

bool allFinite(const List& list, std::size_t count) {
    return std::all_of(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(count),
                       [](double v) { return std::isfinite(v); });
}

} // namespace

std::optional<ResultsDefect> findResultsDefect(const ProjectModel& m) {
    if (!m.resultsComplete)
        return ResultsDefect{Kind::NotComputed, {}};
    if (m.nFreedom < 1 || m.nFreedom > kMaxFreedom)
        return ResultsDefect{Kind::PointCount, "nFreedom"};
    const auto n = static_cast<std::size_t>(m.nFreedom);

    const KeyedList inputs[] = {{"zCoord", &m.zCoord},
                                {"windArea", &m.windArea},
                                {"mass", &m.mass},
                                {"modeShape", &m.modeShape},
                                {"shapeCoef", &m.shapeCoef}};
    for (const KeyedList& input : inputs)
        if (input.list->size() < n)
            return ResultsDefect{Kind::InputShort, input.key};
    if (m.freq.empty())
        return ResultsDefect{Kind::FrequencyMissing, "freq"};
    if (m.dampRatio.empty())
        return ResultsDefect{Kind::DampingMissing, "dampRatio"};

    // The computation sizes every result list to its nFreedom; another size
    // means the results belong to a different number of mass points.
    const KeyedList results[] = {
        {"meanLoad", &m.meanLoad},           {"meanDisp", &m.meanDisp},
        {"windVibForce", &m.windVibForce},   {"dispStd", &m.dispStd},
        {"bgFactor", &m.bgFactor},           {"muR", &m.muR},
        {"windVibCoef", &m.windVibCoef},     {"eqStaticLoad", &m.eqStaticLoad},
        {"lrcBackground", &m.lrcBackground}, {"lrcLoad", &m.lrcLoad},
    };
    const KeyedList derived[] = {{"lrcResonant", &m.lrcResonant},
                                 {"totalDisp", &m.totalDisp},
                                 {"gbjLoad", &m.gbjLoad},
                                 {"acceleration", &m.acceleration}};
    for (const KeyedList& result : results)
        if (result.list->size() != n)
            return ResultsDefect{Kind::ResultSize, result.key};
    for (const KeyedList& result : derived)
        if (result.list->size() != n)
            return ResultsDefect{Kind::ResultSize, result.key};
    if (m.terrainType < 1 || m.terrainType > 4)
        return ResultsDefect{Kind::Terrain, "terrainType"};

    for (const KeyedList& input : inputs)
        if (!allFinite(*input.list, n))
            return ResultsDefect{Kind::NotFinite, input.key};
    for (const KeyedList& result : results)
        if (!allFinite(*result.list, n))
            return ResultsDefect{Kind::NotFinite, result.key};
    const std::pair<std::string_view, double> singles[] = {
        {"structWidth", m.structWidth},
        {"w0", m.w0},
        {"alpha", m.alpha},
        {"i10", m.i10},
        {"freq", m.freq.front()},
        {"dampRatio", m.dampRatio.front()},
        {"dynFactor", m.dynFactor},
        {"exactBaseShear", m.exactBaseShear},
        {"corrC", m.corrC},
    };
    for (const auto& [key, value] : singles)
        if (!std::isfinite(value))
            return ResultsDefect{Kind::NotFinite, key};
    return std::nullopt;
}

} // namespace tamsor
