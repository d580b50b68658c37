#include "BatchOutput.h"

namespace tamsor {

std::vector<const ResultField*> topFields(FieldShape shape, bool textFormOnly) {
    std::vector<const ResultField*> fields;
    for (const ResultField& field : kResultFields)
        if (field.group.empty() && field.shape == shape && (field.inTextForm || !textFormOnly))
            fields.push_back(&field);
    return fields;
}

std::vector<bool> failedPoints(const std::vector<CodeFinding>& findings, CodeFinding::Check check,
                               std::size_t points) {
    std::vector<bool> failed(points, false);
    for (const CodeFinding& finding : findings) {
        const auto i = static_cast<std::size_t>(finding.point - 1);
        if (finding.check == check && i < points)
            failed[i] = true;
    }
    return failed;
}

} // namespace tamsor
