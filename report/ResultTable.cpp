#include "ResultTable.h"

#include "CodeChecks.h"
#include "NumberFormat.h"
#include "ResultNotices.h"
#include "SafeWrite.h"

#include <QDir>

#include <algorithm>
#include <set>

namespace tamsor {

namespace {

// A cell of a field's value: shown rounded or in words; carried in full
// precision, or in the same words.
ResultCell valueCell(const ResultField& field, const FieldValue& value) {
    const std::string_view words = field.inWords ? field.inWords(value) : std::string_view();
    if (!words.empty())
        return ResultCell{std::string(words), std::string(words)};
    return ResultCell{shownText(value, field.decimals), exactText(value)};
}

ResultCell textCell(std::string text) {
    return ResultCell{text, std::move(text)};
}

void appendLine(std::string& text, const std::vector<std::string>& fields, std::string_view sep,
                std::string_view end) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += sep;
        text += fields[i];
    }
    text += end;
}

// The lines of a block: the header, then every row in full precision.
std::vector<std::vector<std::string>> blockLines(const ResultBlock& block) {
    std::vector<std::vector<std::string>> lines{block.header};
    for (const auto& row : block.rows) {
        std::vector<std::string> line;
        for (const ResultCell& cell : row)
            line.push_back(cell.exact);
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

std::string shownText(const FieldValue& value, int decimals) {
    if (const double* number = std::get_if<double>(&value))
        return formatFixed(*number, decimals);
    if (const bool* flag = std::get_if<bool>(&value))
        return *flag ? "是" : "否";
    if (const std::string_view* name = std::get_if<std::string_view>(&value))
        return std::string(*name);
    return {};
}

std::string exactText(const FieldValue& value) {
    if (const double* number = std::get_if<double>(&value))
        return formatExact(*number);
    if (const bool* flag = std::get_if<bool>(&value))
        return *flag ? "1" : "0";
    if (const std::string_view* name = std::get_if<std::string_view>(&value))
        return std::string(*name);
    return {};
}

std::string shownText(const ResultField& field, const FieldValue& value) {
    return valueCell(field, value).shown;
}

namespace {

std::vector<ResultCell> pointRow(std::size_t i) {
    return {textCell(formatInteger(static_cast<long long>(i + 1)))};
}

} // namespace

ResultSection resultSection(const ResultGroup& group, const Results& r, bool textForm) {
    const Edition edition = r.edition();
    ResultSection section{std::string(group.key), std::string(group.caption), {}, {}, {}};
    const auto fieldsOf = [&](FieldShape shape) {
        std::vector<const ResultField*> fields;
        for (const ResultField& field : kResultFields)
            if (field.group == group.key && field.shape == shape &&
                (textForm ? field.inTextForm
                          : !(shape == FieldShape::PerPoint && !field.besideKey.empty())))
                fields.push_back(&field);
        return fields;
    };

    for (const ResultField* field : fieldsOf(FieldShape::Structure))
        section.structure.rows.push_back(
            {textCell(field->heading(edition)), valueCell(*field, field->value(r, FieldIndex{}))});
    if (!section.structure.rows.empty())
        section.structure.header = {"结果", "数值"};

    const std::size_t modes = group.modeCount(r);
    const std::vector<const ResultField*> perMode = fieldsOf(FieldShape::PerMode);
    for (const ResultField* field : perMode)
        section.modes.header.push_back(field->heading(edition));
    for (std::size_t j = 0; j < modes && !perMode.empty(); ++j) {
        std::vector<ResultCell> row;
        for (const ResultField* field : perMode)
            row.push_back(valueCell(*field, field->value(r, FieldIndex{j, 0})));
        section.modes.rows.push_back(std::move(row));
    }

    const std::vector<const ResultField*> perPoint = fieldsOf(FieldShape::PerPoint);
    const std::vector<const ResultField*> perModePoint = fieldsOf(FieldShape::PerModePerPoint);
    if (perPoint.empty() && (perModePoint.empty() || modes == 0))
        return section;
    const ResultField& height = resultField("zCoord");
    section.points.header = {"质点", height.heading(edition)};
    for (const ResultField* field : perPoint)
        section.points.header.push_back(field->heading(edition));
    for (std::size_t j = 0; j < modes; ++j)
        for (const ResultField* field : perModePoint)
            section.points.header.push_back("第" + std::to_string(j + 1) + "阶" +
                                            field->heading(edition));
    for (std::size_t i = 0; i < r.pointCount(); ++i) {
        std::vector<ResultCell> row = pointRow(i);
        row.push_back(valueCell(height, height.value(r, FieldIndex{0, i})));
        for (const ResultField* field : perPoint)
            row.push_back(valueCell(*field, field->value(r, FieldIndex{0, i})));
        for (std::size_t j = 0; j < modes; ++j)
            for (const ResultField* field : perModePoint)
                row.push_back(valueCell(*field, field->value(r, FieldIndex{j, i})));
        section.points.rows.push_back(std::move(row));
    }
    return section;
}

std::vector<std::string> groupRemarks(const ResultGroup& group, const Results& r,
                                      const std::vector<ResultNotice>& notices) {
    std::vector<std::string> remarks;
    for (const ResultNotice& notice : notices)
        if (notice.group == group.key)
            remarks.push_back(notice.text);
    if (group.present(r)) {
        for (std::string_view note : group.notes ? group.notes(r) : std::vector<std::string_view>{})
            remarks.emplace_back(note);
    } else if (const std::string_view why =
                   group.whyAbsent ? group.whyAbsent(r) : std::string_view();
               remarks.empty() && !why.empty()) {
        remarks.emplace_back(why);
    }
    return remarks;
}

ResultTable buildResultTable(const Results& r) {
    ResultTable table;
    const Edition edition = r.edition();
    const auto topLevel = [](const ResultField& field, FieldShape shape) {
        return field.group.empty() && field.shape == shape;
    };
    // The per-point fields of the top, each followed by those of the groups
    // there that stand beside it.
    std::vector<const ResultField*> columns;
    for (const ResultField& field : kResultFields) {
        if (!topLevel(field, FieldShape::PerPoint))
            continue;
        columns.push_back(&field);
        for (const ResultField& beside : kResultFields)
            if (beside.shape == FieldShape::PerPoint && !beside.group.empty() &&
                beside.besideKey == field.key && groupPresent(beside, kResultGroups, r))
                columns.push_back(&beside);
    }

    table.points.header.push_back("质点");
    for (const ResultField* field : columns)
        table.points.header.push_back(field->heading(edition));
    for (std::size_t i = 0; i < r.pointCount(); ++i) {
        std::vector<ResultCell> row = pointRow(i);
        for (const ResultField* field : columns)
            row.push_back(valueCell(*field, field->value(r, FieldIndex{0, i})));
        table.points.rows.push_back(std::move(row));
    }

    table.structure.header = {"结果", "数值"};
    for (const ResultField& field : kResultFields)
        if (topLevel(field, FieldShape::Structure))
            table.structure.rows.push_back(
                {textCell(field.heading(edition)), valueCell(field, field.value(r, FieldIndex{}))});

    for (const ResultGroup& group : kResultGroups)
        if (group.present(r))
            table.sections.push_back(resultSection(group, r));

    for (const CodeFinding& finding : checkAgainstCodes(r))
        table.remarks.push_back(finding.text());
    const std::vector<ResultNotice> notices = resultNotices(r);
    for (const ResultGroup& group : kResultGroups) {
        const std::string caption = std::string(group.caption) + "：";
        for (const std::string& remark : groupRemarks(group, r, notices))
            table.remarks.push_back(caption + remark);
    }
    for (FieldShape shape : {FieldShape::PerPoint, FieldShape::Structure})
        for (const ResultField& field : kResultFields)
            if (topLevel(field, shape) && !field.note.empty())
                table.remarks.push_back(std::string(field.captionFor(edition)) + "：" +
                                        std::string(field.note));
    return table;
}

namespace {

ResultBlock remarkBlock(const ResultTable& table) {
    ResultBlock block{{"说明"}, {}};
    for (const std::string& remark : table.remarks)
        block.rows.push_back({textCell(remark)});
    return block;
}

// The table's parts in the order the text forms give them: the points, the
// structure, each section's title and its blocks, the remarks; blocks
// without a header are left out.
// block(part, afterTitle) is told whether the part follows its title.
template <typename Title, typename Block>
void forEachPart(const ResultTable& table, Title&& title, Block&& block) {
    block(table.points, false);
    block(table.structure, false);
    for (const ResultSection& section : table.sections) {
        title(section.title);
        bool afterTitle = true;
        for (const ResultBlock* part : {&section.structure, &section.modes, &section.points}) {
            if (!part->header.empty()) {
                block(*part, afterTitle);
                afterTitle = false;
            }
        }
    }
    if (!table.remarks.empty())
        block(remarkBlock(table), false);
}

} // namespace

std::string tabSeparated(const ResultBlock& block, const std::vector<CellIndex>& cells) {
    if (cells.empty()) {
        std::string text;
        for (const auto& line : blockLines(block))
            appendLine(text, line, "\t", "\n");
        return text;
    }
    std::set<std::size_t> rows;
    std::set<std::size_t> columns;
    for (const CellIndex& cell : cells) {
        if (cell.row < block.rows.size() && cell.column < block.header.size()) {
            rows.insert(cell.row);
            columns.insert(cell.column);
        }
    }
    if (rows.empty())
        return {};
    const auto given = [&](std::size_t row, std::size_t column) {
        return std::find(cells.begin(), cells.end(), CellIndex{row, column}) != cells.end();
    };
    std::string text;
    std::vector<std::string> line;
    for (std::size_t column : columns)
        line.push_back(block.header[column]);
    appendLine(text, line, "\t", "\n");
    for (std::size_t row : rows) {
        line.clear();
        for (std::size_t column : columns) {
            const auto& cellsOfRow = block.rows[row];
            line.push_back(given(row, column) && column < cellsOfRow.size()
                               ? cellsOfRow[column].exact
                               : std::string());
        }
        appendLine(text, line, "\t", "\n");
    }
    return text;
}

std::string tabSeparated(const ResultTable& table) {
    // Appended piece by piece: GCC 12 takes "\n" + a string for an
    // overlapping copy at -O2 and above (-Wrestrict).
    std::string text;
    forEachPart(
        table,
        [&](const std::string& title) {
            text += '\n';
            text += title;
            text += '\n';
        },
        [&](const ResultBlock& block, bool afterTitle) {
            if (!text.empty() && !afterTitle)
                text += '\n';
            text += tabSeparated(block);
        });
    return text;
}

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string resultTableCsv(const ResultTable& table) {
    std::string text = "\xEF\xBB\xBF";
    const auto appendBlock = [&](const ResultBlock& block) {
        for (auto line : blockLines(block)) {
            for (std::string& field : line)
                field = csvField(field);
            appendLine(text, line, ",", "\r\n");
        }
    };
    const std::size_t start = text.size();
    forEachPart(
        table, [&](const std::string& title) { text += "\r\n" + csvField(title) + "\r\n"; },
        [&](const ResultBlock& block, bool afterTitle) {
            if (text.size() > start && !afterTitle)
                text += "\r\n";
            appendBlock(block);
        });
    return text;
}

std::optional<Message> writeResultTableCsv(const Results& results, const QString& path) {
    const std::string csv = resultTableCsv(buildResultTable(results));
    const QByteArray bytes(csv.data(), static_cast<qsizetype>(csv.size()));
    const std::optional<WriteFailure> failure = writeFileSafely(path, bytes);
    if (!failure)
        return std::nullopt;
    return writeFailureMessage("文件", path, *failure);
}

} // namespace tamsor
