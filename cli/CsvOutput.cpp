#include "BatchOutput.h"

#include "CodeChecks.h"
#include "NumberFormat.h"
#include "ResultTable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tamsor {

std::string csvHeader() {
    std::string header = "file,point";
    for (const ResultField* field : topFields(FieldShape::PerPoint, false))
        header.append(",").append(field->key);
    for (const CodeCheck& check : kCodeChecks)
        header.append(",").append(check.key);
    return header + "\n";
}

std::string resultCsv(const Results& r, const ComputeOutcome& outcome, std::string_view file) {
    const std::string fileField = csvField(std::string(file));
    const std::vector<const ResultField*> columns = topFields(FieldShape::PerPoint, false);
    const std::size_t n = r.pointCount();
    std::vector<std::vector<bool>> failed;
    for (const CodeCheck& check : kCodeChecks)
        failed.push_back(failedPoints(outcome.failedChecks, check.check, n));
    std::string text;
    for (std::size_t i = 0; i < n; ++i) {
        text += fileField + "," + formatInteger(static_cast<long long>(i + 1));
        for (const ResultField* field : columns) {
            text += ','; // not "," + ..., which GCC 12 takes for an overlapping copy
            text += csvField(exactText(field->value(r, FieldIndex{0, i})));
        }
        for (const std::vector<bool>& points : failed)
            text += points[i] ? ",1" : ",0";
        text += "\n";
    }
    return text;
}

} // namespace tamsor
