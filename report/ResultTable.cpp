#include "ResultTable.h"

#include "CodeChecks.h"
#include "NumberFormat.h"
#include "SafeWrite.h"

#include <QDir>

#include <algorithm>
#include <set>

namespace tamsor {

namespace {

ResultCell valueCell(const FieldValue& value, int decimals) {
    return ResultCell{shownText(value, decimals), exactText(value)};
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

ResultTable buildResultTable(const Results& r) {
    ResultTable table;
    const Edition edition = r.edition();
    const auto topLevel = [](const ResultField& field, FieldShape shape) {
        return field.group.empty() && field.shape == shape;
    };

    table.points.header.push_back("质点");
    for (const ResultField& field : kResultFields)
        if (topLevel(field, FieldShape::PerPoint))
            table.points.header.push_back(field.heading(edition));
    for (std::size_t i = 0; i < r.pointCount(); ++i) {
        std::vector<ResultCell> row{textCell(formatInteger(static_cast<long long>(i + 1)))};
        for (const ResultField& field : kResultFields)
            if (topLevel(field, FieldShape::PerPoint))
                row.push_back(valueCell(field.value(r, FieldIndex{0, i}), field.decimals));
        table.points.rows.push_back(std::move(row));
    }

    table.structure.header = {"结果", "数值"};
    for (const ResultField& field : kResultFields)
        if (topLevel(field, FieldShape::Structure))
            table.structure.rows.push_back(
                {textCell(field.heading(edition)),
                 valueCell(field.value(r, FieldIndex{}), field.decimals)});

    for (const CodeFinding& finding : checkAgainstCodes(r))
        table.remarks.push_back(finding.text());
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
    std::string text = tabSeparated(table.points);
    text += '\n';
    text += tabSeparated(table.structure);
    if (!table.remarks.empty()) {
        text += '\n';
        text += tabSeparated(remarkBlock(table));
    }
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
    appendBlock(table.points);
    text += "\r\n";
    appendBlock(table.structure);
    if (!table.remarks.empty()) {
        text += "\r\n";
        appendBlock(remarkBlock(table));
    }
    return text;
}

std::optional<Message> writeResultTableCsv(const Results& results, const QString& path) {
    const std::string csv = resultTableCsv(buildResultTable(results));
    const QByteArray bytes(csv.data(), static_cast<qsizetype>(csv.size()));
    const std::optional<WriteFailure> failure = writeFileSafely(path, bytes);
    if (!failure)
        return std::nullopt;
    const std::string name = QDir::toNativeSeparators(path).toStdString();
    if (failure->kind == WriteFailure::Kind::NotRegularFile)
        return Message{"无法写入文件“" + name + "”：它是文件夹、设备或管道，不是普通文件！", "警告",
                       Message::Icon::Exclamation};
    return Message{"无法写入文件“" + name +
                       "”，请检查文件夹是否存在、是否有写入权限以及磁盘空间是否足够！",
                   "警告", Message::Icon::Exclamation};
}

} // namespace tamsor
