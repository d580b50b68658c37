#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tamsor {

// Cells copied from a spreadsheet as the semicolon list an input box holds:
// one row (cells separated by tabs) or one column (one cell per line, with
// LF, CR LF or CR line ends) becomes "10;20;30". Blanks around a cell and the
// line end after the last row are dropped; every cell is otherwise kept as it
// stands, so that the box's parse judges it (an empty cell between two others
// gives an empty item, which the parse refuses). Nothing when the text holds
// no cell, or a block of several rows and several columns.
[[nodiscard]] std::optional<std::string> listFromSpreadsheet(std::string_view text);

} // namespace tamsor
