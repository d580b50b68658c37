#include "BatchOutput.h"

#include "CodeChecks.h"
#include "NumberFormat.h"
#include "ProjectInput.h"
#include "ResultTable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tamsor {

namespace {

// A column of a group's values per point, after the checks.
struct GroupColumn {
    const ResultGroup* group;
    const ResultField* field;
    std::size_t mode; // for a field per mode and point
    std::string key;
};

// The groups' columns: one per field per point, "group.key", and one per
// field per mode and point for each mode a project may have,
// "group.modeN.key", modes outer as the results table has them. The same for
// every project: one header stands for a run of many.
const std::vector<GroupColumn>& groupColumns() {
    static const std::vector<GroupColumn> columns = [] {
        std::vector<GroupColumn> all;
        for (const ResultGroup& group : kResultGroups) {
            const auto prefix = std::string(group.key) + ".";
            for (const ResultField& field : kResultFields)
                if (field.group == group.key && field.shape == FieldShape::PerPoint)
                    all.push_back({&group, &field, 0, prefix + std::string(field.key)});
            for (std::size_t j = 0; j < static_cast<std::size_t>(kModeShapeBoxes); ++j)
                for (const ResultField& field : kResultFields)
                    if (field.group == group.key && field.shape == FieldShape::PerModePerPoint)
                        all.push_back({&group, &field, j,
                                       prefix + "mode" + std::to_string(j + 1) + "." +
                                           std::string(field.key)});
        }
        return all;
    }();
    return columns;
}

} // namespace

std::string csvHeader() {
    std::string header = "file,point";
    for (const ResultField* field : topFields(FieldShape::PerPoint, false))
        header.append(",").append(field->key);
    for (const CodeCheck& check : kCodeChecks)
        header.append(",").append(check.key);
    for (const GroupColumn& column : groupColumns())
        header.append(",").append(column.key);
    return header + "\n";
}

std::string resultCsv(const Results& r, const ComputeOutcome& outcome, std::string_view file) {
    const std::string fileField = csvField(std::string(file));
    const std::vector<const ResultField*> columns = topFields(FieldShape::PerPoint, false);
    const std::size_t n = r.pointCount();
    std::vector<std::vector<bool>> failed;
    for (const CodeCheck& check : kCodeChecks)
        failed.push_back(failedPoints(outcome.failedChecks, check.check, n));
    // Per group column, how many modes of its group the results hold (0
    // when the group is absent): a cell beyond them stays empty.
    std::vector<std::size_t> modesHeld;
    for (const GroupColumn& column : groupColumns())
        modesHeld.push_back(!column.group->present(r) ? 0
                            : column.field->shape == FieldShape::PerPoint
                                ? 1
                                : column.group->modeCount(r));
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        text += fileField + "," + formatInteger(static_cast<long long>(i + 1));
        for (const ResultField* field : columns) {
            text += ','; // not "," + ..., which GCC 12 takes for an overlapping copy
            text += csvField(exactText(field->value(r, FieldIndex{0, i})));
        }
        for (const std::vector<bool>& points : failed)
            text += points[i] ? ",1" : ",0";
        for (std::size_t c = 0; c < modesHeld.size(); ++c) {
            const GroupColumn& column = groupColumns()[c];
            text += ',';
            if (column.mode < modesHeld[c])
                text += csvField(exactText(column.field->value(r, FieldIndex{column.mode, i})));
        }
        text += "\n";
    }
    return text;
}

} // namespace tamsor
