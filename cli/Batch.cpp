#include "Batch.h"

#include "CalculationBook.h"
#include "DesktopFiles.h"
#include "FileChooser.h"
#include "NativePath.h"
#include "NumberFormat.h"
#include "ProjectSession.h"
#include "ResultFields.h"
#include "ResultTable.h"
#include "SafeRead.h"
#include "TitleBlock.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <ostream>
#include <string_view>
#include <thread>
#include <utility>

namespace tamsor {

namespace {

const QString kOptCode = QStringLiteral("code");
const QString kOptFormat = QStringLiteral("format");
const QString kOptReport = QStringLiteral("report");
const QString kOptPdf = QStringLiteral("pdf");
const QString kOptProjectName = QStringLiteral("project-name");
const QString kOptCalculatedBy = QStringLiteral("calculated-by");
const QString kOptCheckedBy = QStringLiteral("checked-by");
const QString kOptDate = QStringLiteral("date");
const QString kOptHelp = QStringLiteral("help");

std::string utf8(const QString& s) {
    const QByteArray bytes = s.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QJsonValue jsonNumber(double value) {
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonValue jsonValue(const FieldValue& value) {
    if (const double* number = std::get_if<double>(&value))
        return jsonNumber(*number);
    if (const bool* flag = std::get_if<bool>(&value))
        return QJsonValue(*flag);
    if (const std::string_view* name = std::get_if<std::string_view>(&value))
        return QString::fromUtf8(name->data(), static_cast<qsizetype>(name->size()));
    return QJsonValue(QJsonValue::Null);
}

// A field's values at one mode (0 for the shapes without modes): one value,
// or an array of one value per mass point.
QJsonValue fieldJson(const ResultField& field, const Results& r, std::size_t mode) {
    if (field.shape == FieldShape::Structure || field.shape == FieldShape::PerMode)
        return jsonValue(field.value(r, FieldIndex{mode, 0}));
    QJsonArray array;
    for (std::size_t i = 0; i < r.pointCount(); ++i)
        array.append(jsonValue(field.value(r, FieldIndex{mode, i})));
    return array;
}

bool perMode(const ResultField& field) {
    return field.shape == FieldShape::PerMode || field.shape == FieldShape::PerModePerPoint;
}

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

// A path or other argument as messages show it: bytes that are not UTF-8
// (carried in the lossless form of NativePath) as U+FFFD.
std::string shown(const QString& argument) {
    return utf8(NativePath(argument).display());
}

ParsedArguments usageError(std::string message) {
    ParsedArguments parsed;
    parsed.error = std::move(message);
    return parsed;
}

} // namespace

std::string batchUsage() {
    return "用法: tamsor-batch [--code 201X|2001] [--report 文件.htm] [--pdf 文件.pdf] "
           "[--format text|json|csv] 数据文件.wvd...\n"
           "\n"
           "逐个计算项目数据文件(.wvd)：与主窗口先\"导入数据\"再按\"计算风振响应\"相同，\n"
           "同样的输入检查、同样的提示信息。结果写到标准输出，提示信息按\"标题: 内容\"\n"
           "写到标准错误输出(UTF-8)。\n"
           "\n"
           "选项:\n"
           "  --code 201X|2001        荷载规范版本: 201X = GB50009-201X(默认), 2001 = "
           "GB50009-2001\n"
           "  --format text|json|csv  输出格式:\n"
           "                            text 每个项目一张结果表(默认)\n"
           "                            json 每个项目一行 JSON 对象(JSON Lines), 键为字段名,\n"
           "                                 数值为完整精度, 另有 \"file\" 为数据文件路径\n"
           "                            csv  一行表头, 之后每个质点一行, 第一列为数据文件路径\n"
           "  --report 文件.htm        另写出计算报告书(与主窗口相同); 只能用于一个数据文件\n"
           "  --pdf 文件.pdf           另写出PDF计算书(与主窗口\"结果\"菜单相同); 只能用于一个\n"
           "                          数据文件\n"
           "  --project-name 名称      计算书标题栏的\"工程名称\"\n"
           "  --calculated-by 姓名     计算书标题栏的\"计算\"\n"
           "  --checked-by 姓名        计算书标题栏的\"校对\"\n"
           "  --date 日期              计算书标题栏的\"日期\"(默认为今天)\n"
           "                          未给出的标题栏项取主窗口上次填写的内容\n"
           "  -h, --help              显示本说明并退出\n"
           "\n"
           "给出多个数据文件时, 某个文件被拒绝或计算出错后继续计算其余文件,\n"
           "提示信息前加上数据文件路径, 退出码取各文件中最大的一个。\n"
           "\n"
           "退出码:\n"
           "  0  全部计算完成\n"
           "  1  有数据文件被拒绝(文件、数据格式或输入检查), 或报告书、结果无法写出\n"
           "  2  命令行用法错误\n"
           "  3  计算出错\n";
}

ParsedArguments parseBatchArguments(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption code(kOptCode, QString(), QStringLiteral("edition"));
    const QCommandLineOption format(kOptFormat, QString(), QStringLiteral("format"));
    const QCommandLineOption report(kOptReport, QString(), QStringLiteral("file"));
    const QCommandLineOption pdf(kOptPdf, QString(), QStringLiteral("file"));
    const QCommandLineOption projectName(kOptProjectName, QString(), QStringLiteral("name"));
    const QCommandLineOption calculatedBy(kOptCalculatedBy, QString(), QStringLiteral("name"));
    const QCommandLineOption checkedBy(kOptCheckedBy, QString(), QStringLiteral("name"));
    const QCommandLineOption date(kOptDate, QString(), QStringLiteral("date"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), kOptHelp});
    parser.addOption(code);
    parser.addOption(format);
    parser.addOption(report);
    for (const QCommandLineOption* option : {&pdf, &projectName, &calculatedBy, &checkedBy, &date})
        parser.addOption(*option);
    parser.addOption(help);

    QStringList arguments = args;
    if (arguments.isEmpty())
        arguments << QStringLiteral("tamsor-batch");
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString& name = unknown.front();
            const QString dashes = name.size() > 1 ? QStringLiteral("--") : QStringLiteral("-");
            return usageError("未知选项: " + shown(dashes + name));
        }
        return usageError("命令行参数有误: " + shown(parser.errorText()));
    }

    BatchOptions options;
    if (parser.isSet(help)) {
        options.help = true;
        return ParsedArguments{options, {}};
    }

    if (parser.isSet(code)) {
        const QString value = parser.value(code);
        if (value == u"201X" || value == u"201x")
            options.codeVersion = 0;
        else if (value == u"2001")
            options.codeVersion = 1;
        else
            return usageError("--code 只能取 201X 或 2001: " + shown(value));
    }

    if (parser.isSet(format)) {
        const QString value = parser.value(format);
        if (value == u"text")
            options.format = BatchFormat::Text;
        else if (value == u"json")
            options.format = BatchFormat::Json;
        else if (value == u"csv")
            options.format = BatchFormat::Csv;
        else
            return usageError("--format 只能取 text、json 或 csv: " + shown(value));
    }

    options.projects = parser.positionalArguments();
    if (options.projects.isEmpty())
        return usageError("没有给出数据文件");

    if (parser.isSet(report)) {
        options.reportPath = parser.value(report);
        if (options.reportPath.isEmpty())
            return usageError("--report 的文件名为空");
        // As in the report dialog: a name with wildcards names no one file.
        if (hasWildcard(options.reportPath))
            return usageError("--report 的文件名中不能含有“*”或“?”: " + shown(options.reportPath));
        if (options.projects.size() > 1)
            return usageError("--report 只能用于一个数据文件");
        // Writing the report over the project would destroy the project:
        // also through a hard link or a link that does not lead anywhere yet.
        if (sameFile(options.reportPath, options.projects.front()))
            return usageError("报告书文件不能是数据文件本身: " + shown(options.reportPath));
    }

    if (parser.isSet(pdf)) {
        options.pdfPath = parser.value(pdf);
        if (options.pdfPath.isEmpty())
            return usageError("--pdf 的文件名为空");
        if (hasWildcard(options.pdfPath))
            return usageError("--pdf 的文件名中不能含有“*”或“?”: " + utf8(options.pdfPath));
        if (options.projects.size() > 1)
            return usageError("--pdf 只能用于一个数据文件");
        for (const QString& other : {options.projects.front(), options.reportPath}) {
            if (!other.isEmpty() && sameFile(options.pdfPath, other))
                return usageError("计算书文件不能是数据文件或报告书文件: " +
                                  shown(options.pdfPath));
        }
    }
    const std::pair<const QCommandLineOption*, std::optional<QString>*> titleFields[] = {
        {&projectName, &options.projectName},
        {&calculatedBy, &options.calculatedBy},
        {&checkedBy, &options.checkedBy},
        {&date, &options.date}};
    // Texts, not paths: bytes that are not UTF-8 are shown as U+FFFD.
    for (const auto& [option, field] : titleFields)
        if (parser.isSet(*option))
            *field = NativePath(parser.value(*option)).display();

    return ParsedArguments{options, {}};
}

QStringList batchArguments(int argc, const char* const* argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << NativePath::fromBytes(QByteArray(argv[i])).toQString();
    return args;
}

bool needsGuiApplication(const QStringList& args) {
    const ParsedArguments parsed = parseBatchArguments(args);
    return parsed.options && !parsed.options->pdfPath.isEmpty();
}

int runProject(ProjectSession& session, const QString& path, std::int16_t codeVersion,
               ComputeOutcome* computed) {
    if (!session.open(path))
        return kBatchRefused;
    // A complete read resets the edition to 201X; the chosen one applies from
    // here on, as if picked in the options dialog after opening.
    session.setEdition(codeVersion == 0 ? Edition::GB201X : Edition::GB2001);
    ComputeOutcome outcome = session.compute();
    if (computed)
        *computed = outcome;
    switch (outcome.status) {
    case ComputeOutcome::Status::Refused:
        return kBatchRefused;
    case ComputeOutcome::Status::Faulted:
        session.form().sink().show(*outcome.fault);
        return kBatchFault;
    case ComputeOutcome::Status::Computed:
        break;
    }
    if (!session.resultsCurrent()) {
        session.form().sink().show(ProjectSession::noCurrentResults());
        return kBatchRefused;
    }
    return kBatchOk;
}

std::string messageLine(const Message& message) {
    if (message.title.empty())
        return message.text;
    return message.title + ": " + message.text;
}

Message warningMessage(const InputWarning& warning) {
    return Message{warning.text, "提示", Message::Icon::None};
}

namespace {

// Per point, whether it failed the check.
std::vector<bool> failedPoints(const std::vector<CodeFinding>& findings, CodeFinding::Check check,
                               std::size_t n) {
    std::vector<bool> failed(n, false);
    for (const CodeFinding& finding : findings) {
        const auto i = static_cast<std::size_t>(finding.point - 1);
        if (finding.check == check && i < n)
            failed[i] = true;
    }
    return failed;
}

} // namespace

QJsonObject fieldsJson(std::span<const ResultField> fields, std::span<const ResultGroup> groups,
                       const Results& r) {
    // The groups in the order their first field comes, the top first.
    std::vector<std::string_view> order{std::string_view()};
    for (const ResultField& field : fields)
        if (std::find(order.begin(), order.end(), field.group) == order.end())
            order.push_back(field.group);

    QJsonObject top;
    for (std::string_view key : order) {
        const ResultGroup* group = resultGroup(groups, key);
        if (group != nullptr && !group->present(r)) {
            top.insert(QLatin1StringView(key), QJsonValue(QJsonValue::Null));
            continue;
        }
        const std::size_t modes =
            group != nullptr ? group->modeCount(r) : static_cast<std::size_t>(r.numbers().nModes);
        QJsonObject object;
        bool hasModes = false;
        for (const ResultField& field : fields) {
            if (field.group != key)
                continue;
            if (perMode(field))
                hasModes = true;
            else
                object.insert(QLatin1StringView(field.key), fieldJson(field, r, 0));
        }
        if (hasModes) {
            QJsonArray modeObjects;
            for (std::size_t j = 0; j < modes; ++j) {
                QJsonObject mode;
                for (const ResultField& field : fields)
                    if (field.group == key && perMode(field))
                        mode.insert(QLatin1StringView(field.key), fieldJson(field, r, j));
                modeObjects.append(mode);
            }
            object.insert(QStringLiteral("modes"), modeObjects);
        }
        if (key.empty()) {
            for (auto it = object.begin(); it != object.end(); ++it)
                top.insert(it.key(), it.value());
        } else {
            top.insert(QLatin1StringView(key), object);
        }
    }
    return top;
}

QJsonObject resultJson(const Results& r, const ComputeOutcome& outcome, const QString& file) {
    const std::size_t n = r.pointCount();
    QJsonObject object = fieldsJson(kResultFields, kResultGroups, r);
    object.insert(QStringLiteral("file"), file);
    object.insert(QStringLiteral("nFreedom"), r.numbers().nFreedom);
    object.insert(QStringLiteral("codeVersion"), static_cast<int>(r.edition()));
    object.insert(QStringLiteral("terrainType"), r.numbers().terrainType);
    for (const CodeCheck& check : kCodeChecks) {
        QJsonArray array;
        for (bool failed : failedPoints(outcome.failedChecks, check.check, n))
            array.append(failed);
        object.insert(QLatin1StringView(check.key), array);
    }
    QJsonArray checks;
    for (const CodeFinding& finding : outcome.failedChecks)
        checks.append(
            QJsonObject{{QStringLiteral("check"), QLatin1StringView(finding.key())},
                        {QStringLiteral("point"), finding.point},
                        {QStringLiteral("height"), jsonNumber(finding.height)},
                        {QStringLiteral("value"), jsonNumber(finding.value)},
                        {QStringLiteral("required"), jsonNumber(finding.required)},
                        {QStringLiteral("text"), QString::fromStdString(finding.text())}});
    object.insert(QStringLiteral("codeChecks"), checks);
    QJsonArray warnings;
    for (const InputWarning& warning : outcome.warnings)
        warnings.append(
            QJsonObject{{QStringLiteral("quantity"), QLatin1StringView(warning.quantity)},
                        {QStringLiteral("point"), warning.point > 0 ? QJsonValue(warning.point)
                                                                    : QJsonValue(QJsonValue::Null)},
                        {QStringLiteral("value"), jsonNumber(warning.value)},
                        {QStringLiteral("text"), QString::fromStdString(warning.text)}});
    object.insert(QStringLiteral("warnings"), warnings);
    return object;
}

namespace {

// The fields of the top (no group) of one shape, all or those of the text
// form.
std::vector<const ResultField*> topFields(FieldShape shape, bool textFormOnly) {
    std::vector<const ResultField*> fields;
    for (const ResultField& field : kResultFields)
        if (field.group.empty() && field.shape == shape && (field.inTextForm || !textFormOnly))
            fields.push_back(&field);
    return fields;
}

} // namespace

std::string resultText(const Results& r, const ComputeOutcome& outcome, const QString& file) {
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
    text += "文件: " + utf8(file) + "\n";
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

std::string csvHeader() {
    std::string header = "file,point";
    for (const ResultField* field : topFields(FieldShape::PerPoint, false))
        header.append(",").append(field->key);
    for (const CodeCheck& check : kCodeChecks)
        header.append(",").append(check.key);
    return header + "\n";
}

std::string resultCsv(const Results& r, const ComputeOutcome& outcome, const QString& file) {
    const std::string fileField = csvField(utf8(file));
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

namespace {

// What one project gives: its status, its results in the chosen form (empty
// when it was refused) and its message lines.
struct ProjectResult {
    int status = kBatchOk;
    std::string out;
    std::string err;
};

// The calculation book of a computed project, with the title block the
// window remembers and the fields given on the command line. It runs on the
// calling thread: --pdf takes one project, which runAll runs there.
std::optional<Message> writeBook(const ProjectSession& session, const BatchOptions& options) {
    if (!canPaintCalculationBook())
        return Message{"生成PDF计算书需要图形库(QGuiApplication)", "错误", Message::Icon::Critical};
    TitleBlock block;
    if (const QString file = userSettingsFile(); settingsFileUsable(file)) {
        QSettings settings(file, QSettings::IniFormat);
        block = loadTitleBlock(settings);
    }
    const std::pair<const std::optional<QString>*, QString*> fields[] = {
        {&options.projectName, &block.projectName},
        {&options.calculatedBy, &block.calculatedBy},
        {&options.checkedBy, &block.checkedBy},
        {&options.date, &block.date}};
    for (const auto& [given, field] : fields)
        if (*given)
            *field = **given;
    return writeCalculationBookPdf(*session.results(), withDate(block, QDate::currentDate()),
                                   options.pdfPath);
}

ProjectResult runOne(const QString& path, const BatchOptions& options, bool nameFiles) {
    MessageRecorder recorder;
    ProjectSession session(recorder);
    ProjectResult result;
    ComputeOutcome outcome;
    result.status = runProject(session, path, options.codeVersion, &outcome);
    // Warnings follow the messages of the computation; they are no refusal.
    for (const InputWarning& warning : outcome.warnings)
        recorder.messages.push_back(warningMessage(warning));
    // The writers show the file's name; the path itself may hold raw bytes.
    const QString shownPath = NativePath(path).display();
    if (result.status == kBatchOk) {
        const Results& results = *session.results();
        switch (options.format) {
        case BatchFormat::Text:
            result.out = resultText(results, outcome, shownPath);
            break;
        case BatchFormat::Json: {
            const QByteArray json = QJsonDocument(resultJson(results, outcome, shownPath))
                                        .toJson(QJsonDocument::Compact);
            result.out.assign(json.constData(), static_cast<std::size_t>(json.size()));
            result.out += "\n";
            break;
        }
        case BatchFormat::Csv:
            result.out = resultCsv(results, outcome, shownPath);
            break;
        }
        if (!options.reportPath.isEmpty()) {
            if (const std::optional<Message> refusal = session.writeReport(options.reportPath)) {
                recorder.messages.push_back(*refusal);
                result.status = kBatchRefused;
            }
        }
        if (!options.pdfPath.isEmpty()) {
            if (const std::optional<Message> refusal = writeBook(session, options)) {
                recorder.messages.push_back(*refusal);
                result.status = kBatchRefused;
            }
        }
    }
    // Like grep: with several projects every message names its file.
    const std::string prefix = nameFiles ? utf8(shownPath) + ": " : std::string();
    for (const Message& message : recorder.messages)
        result.err += prefix + messageLine(message) + "\n";
    return result;
}

// Projects are independent: they are run a block at a time on every core,
// and each block's results are handed on in the order of the projects, so
// the output is the same as one after the other.
constexpr qsizetype kBlockSize = 256;

template <typename Consume>
void runAll(const BatchOptions& options, bool nameFiles, Consume&& consume) {
    const qsizetype count = options.projects.size();
    const auto cores = static_cast<qsizetype>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<ProjectResult> block;
    for (qsizetype first = 0; first < count; first += kBlockSize) {
        const qsizetype size = std::min(kBlockSize, count - first);
        block.assign(static_cast<std::size_t>(size), ProjectResult{});
        std::atomic<qsizetype> next{0};
        const auto work = [&] {
            for (qsizetype i = next++; i < size; i = next++)
                block[static_cast<std::size_t>(i)] =
                    runOne(options.projects[first + i], options, nameFiles);
        };
        std::vector<std::thread> helpers;
        for (qsizetype t = 1; t < std::min(cores, size); ++t)
            helpers.emplace_back(work);
        work();
        for (std::thread& helper : helpers)
            helper.join();
        for (const ProjectResult& result : block)
            consume(result);
    }
}

} // namespace

int runBatch(const QStringList& args, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = parseBatchArguments(args);
    if (!parsed.options) {
        err << "用法错误: " << parsed.error << "\n\n" << batchUsage();
        err.flush();
        return kBatchUsage;
    }
    const BatchOptions& options = *parsed.options;
    if (options.help) {
        out << batchUsage();
        out.flush();
        return out ? kBatchOk : kBatchRefused;
    }

    int worst = kBatchOk;
    bool firstText = true;
    if (options.format == BatchFormat::Csv)
        out << csvHeader();
    runAll(options, options.projects.size() > 1, [&](const ProjectResult& result) {
        if (!result.out.empty()) {
            // A blank line between the tables of the text form.
            if (options.format == BatchFormat::Text && !firstText)
                out << "\n";
            firstText = false;
            out << result.out;
        }
        err << result.err;
        worst = std::max(worst, result.status);
    });

    out.flush();
    if (!out) {
        err << "错误: 计算结果无法写出\n";
        worst = std::max(worst, kBatchRefused);
    }
    err.flush();
    return worst;
}

} // namespace tamsor
