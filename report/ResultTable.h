#pragma once

// The results table of the window as text: its cells, shown rounded and
// carried in full, and the tab-separated and CSV forms that the clipboard and
// files get. Everything is read off the result field table, so a result added
// there appears here by itself.

#include "Message.h"
#include "ResultFields.h"
#include "ResultNotices.h"
#include "Results.h"

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

// The results of a group (the cross-wind check, the closed form, comfort),
// each block empty (no header) when the group has no such results.
struct ResultSection {
    std::string key;   // the group's key: "crossWind"
    std::string title; // its caption: "横风向风振(旋涡脱落)验算"
    // "结果" and "数值": one row per value of the structure.
    ResultBlock structure;
    // One column per result of a mode, one row per mode.
    ResultBlock modes;
    // "质点", the heights and one column per result of a point, those of
    // each mode after them ("第2阶横风向风振力(KN)"); one row per mass point.
    ResultBlock points;
};

struct ResultTable {
    // "质点" and one column per per-point result, captions with their units;
    // one row per mass point. A group's result that stands beside one of
    // them (ResultField::besideKey) follows it, when the group is there.
    ResultBlock points;
    // "结果" and "数值": one row per result of the whole structure.
    ResultBlock structure;
    // One per group the results hold, in the order of the groups.
    std::vector<ResultSection> sections;
    // What goes with the numbers: each failed check against the codes in
    // force, what the checks beside the along-wind results found, why a
    // group is not there (when it has no finding that says so) and the notes
    // of the groups that are, each after its group's caption; then the note
    // of each result that has one ("顺风向加速度：...").
    std::vector<std::string> remarks;
};

// The table of results; captions follow their code edition. Every field of
// the result field table that is per mass point or for the whole structure,
// and the fields of the groups the results hold.
[[nodiscard]] ResultTable buildResultTable(const Results& results);

// The section of a group the results hold. textForm: only the fields that
// tamsor-batch --format text shows (ResultField::inTextForm), those beside a
// result at the top among them; else every field but those, which the table
// shows at the top.
[[nodiscard]] ResultSection resultSection(const ResultGroup& group, const Results& results,
                                          bool textForm = false);

// What goes with a group, one line each without its caption: what its checks
// found (the notices given of it), then its notes when the results hold it;
// when they do not, why (a refusal, the edition without it), unless a notice
// says so already. Empty for a group absent without a reason.
[[nodiscard]] std::vector<std::string> groupRemarks(const ResultGroup& group,
                                                    const Results& results,
                                                    const std::vector<ResultNotice>& notices);

// A value as a table shows it: a number rounded to `decimals`, "是" or "否",
// a name as it is, nothing as an empty text.
[[nodiscard]] std::string shownText(const FieldValue& value, int decimals);
// A value of a field as a table shows it: in the field's words where it has
// them, else as above with the field's decimals.
[[nodiscard]] std::string shownText(const ResultField& field, const FieldValue& value);
// A value as files and the clipboard carry it: a number in full precision
// (empty when not finite), "1" or "0", a name as it is, nothing as empty.
[[nodiscard]] std::string exactText(const FieldValue& value);

// The cells given as tab-separated lines, full precision, under the header of
// their columns: the rows and columns that hold a given cell, in table order,
// a cell that is not given left empty. No cells given: the whole block.
// Every line ends in "\n", so a paste into a spreadsheet lands in cells.
[[nodiscard]] std::string tabSeparated(const ResultBlock& block,
                                       const std::vector<CellIndex>& cells = {});
// The whole table: the points block, an empty line, the structure block; for
// each section an empty line, its title and its blocks, an empty line before
// each; and when there are remarks an empty line and "说明" with one remark a
// line.
[[nodiscard]] std::string tabSeparated(const ResultTable& table);

// One CSV field as RFC 4180 writes it: quoted (quotes doubled) when it holds a
// comma, a quote or a line break, as it is otherwise.
[[nodiscard]] std::string csvField(const std::string& text);

// The whole table as CSV: UTF-8 with a byte-order mark (spreadsheets on
// Chinese systems then read the captions), CR LF line ends, fields quoted as
// RFC 4180 asks; the same lines as tabSeparated(table).
[[nodiscard]] std::string resultTableCsv(const ResultTable& table);

// Writes resultTableCsv of the results to path, replacing the file only once
// the new one is complete. The message to show when it cannot.
[[nodiscard]] std::optional<Message> writeResultTableCsv(const Results& results,
                                                         const QString& path);

} // namespace tamsor
