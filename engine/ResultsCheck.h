#pragma once

#include "ProjectModel.h"

#include <optional>
#include <string_view>

namespace tamsor {

// Why the results stored in a record cannot be plotted, reported or written
// out: the first problem found, in the order of the kinds below.
struct ResultsDefect {
    enum class Kind {
        NotComputed,      // no computation yet, or the last one stopped on a fault
        PointCount,       // nFreedom outside 1..10
        InputShort,       // an input list holds fewer values than there are points
        FrequencyMissing, // no natural frequency
        DampingMissing,   // no damping ratio
        ResultSize,       // a result list belongs to another number of points
        Terrain,          // terrainType outside 1..4
        NotFinite,        // an input or a result is not a finite number
    };
    Kind kind;
    // The record field concerned ("windArea", "meanLoad", "w0", ...); empty
    // for the kinds that concern no single field.
    std::string_view key;
};

// The one decision whether stored results are complete and cover every mass
// point of the record: nothing when they may be used. Every output (plots,
// report, batch output, results table) asks it. The derived results
// (deriveResults) are not required to be finite here; the outputs that show
// them check that themselves.
[[nodiscard]] std::optional<ResultsDefect> findResultsDefect(const ProjectModel& model);

} // namespace tamsor
