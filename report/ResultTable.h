#pragma once

// The results table of the window as text: its cells, shown rounded and
// carried in full, and the tab-separated and CSV forms that the clipboard and
// files get. Everything is read off the result field table, so a result added
// there appears here by itself.

#include "Message.h"
#include "ProjectModel.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tamsor {

// One cell: the text the table shows (a number rounded to its field's
// decimals) and the text the clipboard and files carry (every digit).
struct ResultCell {
    std::string shown;
    std::string exact;
};

// A block of the table: a header row of captions and rows of cells.
struct ResultBlock {
    std::vector<std::string> header;
    std::vector<std::vector<ResultCell>> rows;
};

// A cell of a block by row (the header not counted) and column.
struct CellIndex {
    std::size_t row = 0;
    std::size_t column = 0;
    friend bool operator==(const CellIndex&, const CellIndex&) = default;
};

struct ResultTable {
    // "质点" and one column per per-point result, captions with their units;
    // one row per mass point.
    ResultBlock points;
    // "结果" and "数值": one row per result of the whole structure.
    ResultBlock structure;
    // What goes with the numbers: each failed check against the codes in
    // force, then the note of each result that has one ("顺风向加速度：...").
    std::vector<std::string> remarks;
};

// The table of a record whose results are current (the session's
// resultsCurrent()); captions follow the record's code edition.
[[nodiscard]] ResultTable buildResultTable(const ProjectModel& model);

// The cells given as tab-separated lines, full precision, under the header of
// their columns: the rows and columns that hold a given cell, in table order,
// a cell that is not given left empty. No cells given: the whole block.
// Every line ends in "\n", so a paste into a spreadsheet lands in cells.
[[nodiscard]] std::string tabSeparated(const ResultBlock& block,
                                       const std::vector<CellIndex>& cells = {});
// The whole table: the points block, an empty line, the structure block, and
// when there are remarks an empty line and "说明" with one remark a line.
[[nodiscard]] std::string tabSeparated(const ResultTable& table);

// One CSV field as RFC 4180 writes it: quoted (quotes doubled) when it holds a
// comma, a quote or a line break, as it is otherwise.
[[nodiscard]] std::string csvField(const std::string& text);

// The whole table as CSV: UTF-8 with a byte-order mark (spreadsheets on
// Chinese systems then read the captions), CR LF line ends, fields quoted as
// RFC 4180 asks; the same lines as tabSeparated(table).
[[nodiscard]] std::string resultTableCsv(const ResultTable& table);

// Writes resultTableCsv of the record to path, replacing the file only once
// the new one is complete. The message to show when it cannot.
[[nodiscard]] std::optional<Message> writeResultTableCsv(const ProjectModel& model,
                                                         const QString& path);

} // namespace tamsor
