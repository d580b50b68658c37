#include "BatchOutput.h"

#include "NumberFormat.h"
#include "ResultTable.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tamsor {

namespace {

char terrainLetter(int terrainType) {
    return terrainType >= 1 && terrainType <= 4 ? "ABCD"[terrainType - 1] : '?';
}

// Columns on a terminal: East Asian wide characters take two.
std::size_t displayWidth(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        char32_t cp = c;
        std::size_t len = 1;
        if (c >= 0xF0) {
            len = 4;
            cp = c & 0x07u;
        } else if (c >= 0xE0) {
            len = 3;
            cp = c & 0x0Fu;
        } else if (c >= 0xC0) {
            len = 2;
            cp = c & 0x1Fu;
        }
        for (std::size_t k = 1; k < len && i + k < text.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        i += len;
        const bool wide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
                          (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                          (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                          (cp >= 0xFFE0 && cp <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

void padLeft(std::string& line, std::string_view cell, std::size_t width) {
    const std::size_t w = displayWidth(cell);
    if (w < width)
        line.append(width - w, ' ');
    line.append(cell);
}

// In place of a value that does not apply to the results.
constexpr std::string_view kNotApplicable = "―";

std::string shownOrDash(const ResultCell& cell) {
    return cell.shown.empty() ? std::string(kNotApplicable) : cell.shown;
}

// A group of results: its caption, then its values indented, those of the
// structure first, each mode's under the mode's number, one line per result
// of a point with its values as the report lists them; last what goes with
// them. A group the results do not hold: its caption with the reason, or
// nothing when there is none.
void appendGroup(std::string& text, const ResultGroup& group, const Results& r,
                 const std::vector<ResultNotice>& notices) {
    const std::vector<std::string> remarks = groupRemarks(group, r, notices);
    if (!group.present(r)) {
        if (remarks.size() == 1) {
            text.append(group.caption).append(": ").append(remarks.front()).append("\n");
            return;
        }
        if (remarks.empty())
            return;
    }
    text.append(group.caption).append(":\n");
    // Appended piece by piece: GCC 12 takes "  " + text for an overlapping
    // copy at -O3 (-Wrestrict).
    if (group.present(r)) {
        const ResultSection section = resultSection(group, r, true);
        for (const std::vector<ResultCell>& row : section.structure.rows)
            text.append("  ")
                .append(row[0].shown)
                .append(": ")
                .append(shownOrDash(row[1]))
                .append("\n");
        for (std::size_t j = 0; j < section.modes.rows.size(); ++j) {
            text.append("  第")
                .append(formatInteger(static_cast<long long>(j + 1)))
                .append("阶振型:\n");
            const std::vector<ResultCell>& row = section.modes.rows[j];
            for (std::size_t col = 0; col < row.size(); ++col)
                text.append("    ")
                    .append(section.modes.header[col])
                    .append(": ")
                    .append(shownOrDash(row[col]))
                    .append("\n");
        }
        // The points block starts with the point's number and its height.
        for (std::size_t col = 2; col < section.points.header.size(); ++col) {
            text.append("  ").append(section.points.header[col]).append(":");
            for (const std::vector<ResultCell>& row : section.points.rows)
                text.append(" ").append(shownOrDash(row[col])).append(";");
            text += '\n';
        }
    }
    for (const std::string& remark : remarks)
        text.append("  ").append(remark).append("\n");
}

} // namespace

std::string resultText(const Results& r, const ComputeOutcome& outcome, std::string_view file) {
    const std::vector<const ResultField*> columns = topFields(FieldShape::PerPoint, true);
    const std::size_t n = r.pointCount();
    const Edition edition = r.edition();

    // cells[row][col]; row 0 is the header, column 0 the point number.
    std::vector<std::vector<std::string>> cells(n + 1);
    cells[0].push_back("质点");
    for (const ResultField* c : columns)
        cells[0].push_back(c->heading());
    for (std::size_t i = 0; i < n; ++i) {
        cells[i + 1].push_back(formatInteger(static_cast<long long>(i + 1)));
        for (const ResultField* c : columns)
            cells[i + 1].push_back(shownText(c->value(r, FieldIndex{0, i}), c->decimals));
    }
    std::vector<std::size_t> widths(columns.size() + 1, 0);
    for (const auto& row : cells)
        for (std::size_t col = 0; col < row.size(); ++col)
            widths[col] = std::max(widths[col], displayWidth(row[col]));

    std::string text;
    text.append("文件: ").append(file).append("\n");
    text += "规范: " + std::string(editionName(edition)) +
            "  地貌类型: " + terrainLetter(r.numbers().terrainType) +
            "  质点数: " + formatInteger(r.numbers().nFreedom) + "\n";
    for (const auto& row : cells) {
        std::string line;
        for (std::size_t col = 0; col < row.size(); ++col) {
            if (col > 0)
                line += "  ";
            padLeft(line, row[col], widths[col]);
        }
        text += line + "\n";
    }
    for (const ResultField* field : topFields(FieldShape::Structure, true))
        text += field->heading(edition) + ": " +
                shownText(field->value(r, FieldIndex{}), field->decimals) + "\n";
    if (!outcome.failedChecks.empty()) {
        text += "与现行规范对照:\n";
        for (const CodeFinding& finding : outcome.failedChecks)
            text += "  " + finding.text() + "\n";
    }
    for (const ResultGroup& group : kResultGroups)
        appendGroup(text, group, r, outcome.notices);
    return text;
}

} // namespace tamsor
