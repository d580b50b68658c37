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
    return text;
}

} // namespace tamsor
