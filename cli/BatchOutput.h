#pragma once

// The output forms of tamsor-batch for one computed project: the text table,
// CSV rows and a JSON object. Each takes the project's results, what its
// compute command came to and the project file's path as the output shows
// it (UTF-8), and walks the result field table.

#include "ProjectSession.h"
#include "ResultFields.h"
#include "Results.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tamsor {

// The table of the text form (the results per point that it shows, against
// the point number), then its results of the structure and the failed checks.
[[nodiscard]] std::string resultText(const Results& results, const ComputeOutcome& outcome,
                                     std::string_view file);

// The CSV header line, and a project's rows: one per mass point with every
// result per point at full precision and 1 or 0 per check. Both end in a
// line end.
[[nodiscard]] std::string csvHeader();
[[nodiscard]] std::string resultCsv(const Results& results, const ComputeOutcome& outcome,
                                    std::string_view file);

// The JSON object of a project on one line, without a line end: the fields
// of the result field table (fieldsJson), "file", "nFreedom", "codeVersion",
// "terrainType", one array of booleans per check, the failed checks
// ("codeChecks") and the input warnings ("warnings"). Keys stand in the
// order of their bytes at every level.
[[nodiscard]] std::string resultJson(const Results& results, const ComputeOutcome& outcome,
                                     std::string_view file);

// The fields of a result field table as a JSON object: each field under its
// key at the top or in its group's object (null when the group is absent), a
// value per mass point as an array, per-mode values in the group's array
// "modes" of one object per mode. A number that is not finite, and a value
// that does not apply, is null; a yes or no is a boolean, a name a string.
[[nodiscard]] std::string fieldsJson(std::span<const ResultField> fields,
                                     std::span<const ResultGroup> groups, const Results& results);

// What the writers share.

// The fields at the top of the result field table (no group) of one shape:
// all, or only those the text form shows.
[[nodiscard]] std::vector<const ResultField*> topFields(FieldShape shape, bool textFormOnly);

// Per mass point, whether it failed the check.
[[nodiscard]] std::vector<bool> failedPoints(const std::vector<CodeFinding>& findings,
                                             CodeFinding::Check check, std::size_t points);

} // namespace tamsor
