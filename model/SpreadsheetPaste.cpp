#include "SpreadsheetPaste.h"

#include <vector>

namespace tamsor {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";

std::string_view trimmed(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::vector<std::string_view> split(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find_first_of(separators, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return parts;
        // CR LF is one line end.
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
}

} // namespace

std::optional<std::string> listFromSpreadsheet(std::string_view text) {
    // Line ends and tabs before the first and after the last cell belong to
    // no cell (a copied row or column ends in a line end).
    const std::string_view body = trimmed(text, kBlanks);
    if (body.empty())
        return std::nullopt;
    const std::vector<std::string_view> lines = split(body, "\r\n");
    std::vector<std::string_view> cells;
    for (std::string_view line : lines) {
        const std::vector<std::string_view> row = split(line, "\t");
        if (lines.size() > 1 && row.size() > 1)
            return std::nullopt; // several rows and several columns
        cells.insert(cells.end(), row.begin(), row.end());
    }
    std::string list;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            list += ';';
        list += trimmed(cells[i], " ");
    }
    return list;
}

} // namespace tamsor
