#include "BatchArguments.h"

#include "FileChooser.h"
#include "NativePath.h"
#include "SafeRead.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

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

} // namespace tamsor
