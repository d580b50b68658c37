#include "HtmlReport.h"

#include "NumberFormat.h"
#include "ResultsCheck.h"
#include "SafeWrite.h"
#include "TamsorVersion.h"

#include <QDir>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tamsor {

namespace {

// Footer wording: who looks after the program and how to reach them.
constexpr std::string_view kContactRequest =
    "本软件在使用中如发现问题，请告知Tamsor项目及其维护者 ";
constexpr std::string_view kMaintainerName = "Tamsor's maintainers";
constexpr std::string_view kMaintainerEmail = "tamsor-maintainers@example.org";
constexpr std::string_view kDesignerAndYear = "程序设计：Tamsor开发者  2026";

// --- checks ------------------------------------------------------------------

Message refusal(std::string text) {
    return Message{std::move(text), "警告", Message::Icon::Exclamation};
}

std::string dynFactorName(const ProjectModel& m) {
    return m.codeVersion == 0 ? "中间计算参数SQRT(1+R^2)" : "脉动增大系数ξ1";
}

// What the page calls a record field, for the refusals.
std::string labelOf(const ProjectModel& m, std::string_view key) {
    static const std::pair<std::string_view, std::string_view> kLabels[] = {
        {"zCoord", "质点z坐标(m)"},
        {"windArea", "质点受风面积(m^2)"},
        {"mass", "各质点质量(吨)"},
        {"modeShape", "第1阶振型"},
        {"shapeCoef", "体型系数"},
        {"meanLoad", "平均风荷载(KN)"},
        {"meanDisp", "平均位移(mm)"},
        {"windVibForce", "第1阶风振力（KN）"},
        {"dispStd", "第1阶位移标准差（mm）"},
        {"bgFactor", "背景分量因子Bz"},
        {"muR", "两个系数的乘积u1*r1"},
        {"windVibCoef", "风振系数"},
        {"eqStaticLoad", "等效静力风荷载(KN)"},
        {"lrcBackground", "等效风荷载背景分量(KN)"},
        {"lrcLoad", "LRC法等效风荷载(KN)"},
        {"lrcResonant", "等效风荷载共振分量(KN)"},
        {"totalDisp", "各质点总位移(mm)"},
        {"gbjLoad", "修正后的GBJ法等效风荷载(KN)"},
        {"structWidth", "结构宽度(m)"},
        {"w0", "基本风压(KPa)"},
        {"alpha", "地貌类型"},
        {"i10", "地貌类型"},
        {"freq", "固有频率(Hz)"},
        {"dampRatio", "阻尼比"},
        {"exactBaseShear", "脉动底部剪力精确解(KN)"},
        {"corrC", "脉动修正系数C"},
        {"meanBaseShear", "平均基底剪力(KN)"},
        {"meanBaseMoment", "平均基底弯矩(KN*m)"},
        {"fluctBaseShear", "第1阶脉动基底剪力（KN）"},
        {"fluctBaseMoment", "第1阶脉动基底弯矩（KN*m）"},
        {"totalBaseShear", "总基底剪力(KN)"},
        {"totalBaseMoment", "总基底弯矩(KN*m)"},
        {"lrcBaseShear", "LRC法总底部剪力(KN)"},
        {"lrcBaseMoment", "LRC法总底部弯矩(KN*m)"},
    };
    if (key == "dynFactor")
        return dynFactorName(m);
    for (const auto& [k, label] : kLabels)
        if (k == key)
            return std::string(label);
    return std::string(key);
}

Message notFiniteRefusal(const std::string& name) {
    return refusal("“" + name + "”中含有无效的数值（非数或溢出），无法生成报告书！");
}

Message defectRefusal(const ProjectModel& m, const ResultsDefect& defect) {
    using Kind = ResultsDefect::Kind;
    switch (defect.kind) {
    case Kind::NotComputed:
        return refusal(
            "没有可用的计算结果（尚未计算或上次计算出错），请先计算风振响应，再生成报告书！");
    case Kind::PointCount:
        return refusal("自由度数目必须在1到10之间，无法生成报告书！");
    case Kind::InputShort:
        return refusal("“" + labelOf(m, defect.key) +
                       "”的数据个数少于自由度数目，无法生成报告书！");
    case Kind::FrequencyMissing:
        return refusal("没有固有频率的数据，无法生成报告书！");
    case Kind::DampingMissing:
        return refusal("没有阻尼比的数据，无法生成报告书！");
    case Kind::ResultSize:
        return refusal("计算结果“" + labelOf(m, defect.key) +
                       "”的数据个数与自由度数目不一致，请重新计算后再生成报告书！");
    case Kind::Terrain:
        return refusal("地貌类型必须是A、B、C、D之一，无法生成报告书！");
    case Kind::NotFinite:
        break;
    }
    return notFiniteRefusal(labelOf(m, defect.key));
}

bool allFinite(const List& list) {
    return std::all_of(list.begin(), list.end(), [](double v) { return std::isfinite(v); });
}

// --- the page ----------------------------------------------------------------

// Collects the page as UTF-8; every line ends in CR LF.
class Page {
public:
    void line(std::string_view text) {
        text_ += text;
        text_ += "\r\n";
    }
    void put(std::string_view text) { text_ += text; }
    [[nodiscard]] const std::string& text() const { return text_; }

private:
    std::string text_;
};

using Format = std::string (*)(double);

std::string fixed2(double v) {
    return formatFixed(v, 2);
}
std::string fixed3(double v) {
    return formatFixed(v, 3);
}

// Every value in a list cell, a single list value and an own-line value is
// preceded by this break: one space, so that each cell stays on one line.
constexpr std::string_view kValueBreak = " ";
constexpr std::string_view kValueCellOpen = "    <td width=\"78%\">";

void listCell(Page& page, const List& list, std::size_t count, Format format) {
    page.put(kValueCellOpen);
    for (std::size_t i = 0; i < count; ++i) {
        page.put(kValueBreak);
        page.put(format(list[i]));
        page.put(";");
    }
    page.line("</td>");
}

void singleListValue(Page& page, double value) {
    page.put(kValueCellOpen);
    page.put(kValueBreak);
    page.put(fixed2(value));
    page.put(";");
    page.line("</td>");
}

void ownLineValue(Page& page, const std::string& text) {
    page.put(kValueCellOpen);
    page.put(kValueBreak);
    page.line(text);
    page.line("</td>");
}

void oneLineCell(Page& page, std::string_view open, const std::string& value,
                 std::string_view close) {
    page.put(open);
    page.put(value);
    page.line(close);
}

constexpr std::string_view kRowOpen = "  <tr>";
constexpr std::string_view kRowClose = "  </tr>";

// One table row: its label line (or lines), then the value cell that `cell`
// writes.
template <typename Cell> void row(Page& page, std::string_view label, Cell&& cell) {
    page.line(kRowOpen);
    page.line(label);
    cell();
    page.line(kRowClose);
}
constexpr std::string_view kTable = "<table border=\"1\" width=\"100%\">";
constexpr std::string_view kTableEnd = "</table>";
constexpr std::string_view kBlankParagraph = "<p>　</p>";
constexpr std::string_view kFooterParagraph = "<p align=\"center\" style=\"line-height: 100%\">";

std::string label22(std::string_view text) {
    return "    <td width=\"22%\" align=\"right\">" + std::string(text) + "</td>";
}
std::string label22h(std::string_view height, std::string_view text) {
    return "    <td width=\"22%\" height=\"" + std::string(height) + "\" align=\"right\">" +
           std::string(text) + "</td>";
}
std::string label27(std::string_view text) {
    return "    <td width=\"27%\" align=\"right\">" + std::string(text) + "</td>";
}
// The two-line label of the equivalent-static-load table.
std::string label27Lines(std::string_view text) {
    return "    <td width=\"27%\">\r\n      <p align=\"right\">" + std::string(text) + "</td>";
}

void writeHead(Page& page) {
    page.line("<html>");
    page.line("<head>");
    page.line("<meta http-equiv=\"Content-Language\" content=\"zh-cn\">");
    page.line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">");
    page.line("<meta name=\"GENERATOR\" content=\"Microsoft FrontPage 4.0\">");
    page.line("<meta name=\"ProgId\" content=\"FrontPage.Editor.Document\">");
    page.line(std::string("<title>风振计算报告书") + kVersionTag + "</title>");
    page.line("</head>");
    page.line("<body>");
    page.line(std::string("<p align=\"center\"><b><font size=\"7\">风振计算报告书</font><font "
                          "size=\"5\">") +
              kVersionTag + "</font></b></p>");
    page.line("<p><b><font size=\"6\">一、计算参数:</font></b></p>");
}

void writeInputs(Page& page, const ProjectModel& m, std::size_t n) {
    page.line("<p><b><font size=\"4\">1 几何模型</font></b></p>  ");
    page.line(kTable);
    row(page, label22("自由度数目"),
        [&] { oneLineCell(page, kValueCellOpen, formatInteger(m.nFreedom), "</td>"); });
    row(page, label22("结构宽度(m)"), [&] {
        oneLineCell(page, kValueCellOpen,
                    fixed2(m.structWidth) +
                        "         (仅用于计算水平向相关性，等于0时表示不考虑水平相关性)",
                    "</td>");
    });
    row(page, label22("质点z坐标(m)"), [&] { listCell(page, m.zCoord, n, fixed2); });
    row(page, label22("质点受风面积(m^2)"), [&] { listCell(page, m.windArea, n, fixed2); });
    page.line(kTableEnd);

    page.line("<p><font size=\"4\"><b>2 动力特性</b></font></p>  ");
    page.line(kTable);
    row(page, label22("拟取振型数 "),
        [&] { oneLineCell(page, kValueCellOpen, formatInteger(m.nModes), "</td>"); });
    row(page, label22("固有频率(Hz)"),
        [&] { oneLineCell(page, kValueCellOpen, fixed3(m.freq[0]), "</td>"); });
    row(page, label22("阻尼比"),
        [&] { oneLineCell(page, kValueCellOpen, fixed3(m.dampRatio[0]), "</td>"); });
    row(page, label22("各质点质量(吨)"), [&] { listCell(page, m.mass, n, fixed2); });
    row(page, label22("第1阶振型"), [&] { listCell(page, m.modeShape, n, formatScientific); });
    page.line(kTableEnd);

    page.line("<p><b><font size=\"4\">3 风振计算参数</font></b></p>  ");
    page.line(kTable);
    row(page, label22("基本风压(KPa)"),
        [&] { oneLineCell(page, kValueCellOpen, fixed2(m.w0 / 1000.0), "</td>"); });
    const std::string terrain = std::string(1, "ABCD"[m.terrainType - 1]) +
                                "(α=" + fixed2(m.alpha) + "  ;" + "I10=" + fixed3(m.i10) + ")";
    row(page, label22("地貌类型"), [&] { ownLineValue(page, terrain); });
    row(page, label22("体型系数"), [&] { listCell(page, m.shapeCoef, n, fixed2); });
    page.line(kTableEnd);
    page.line(kBlankParagraph);
}

void writeResults(Page& page, const ProjectModel& m, std::size_t n) {
    const bool newCode = m.codeVersion == 0;
    if (newCode) {
        page.line("<p><font size=\"6\"><b>二 计算结果</b></font><font color= "
                  "#FF0000>(新规范GB50009-201X)</font></p>");
    } else {
        page.line("<p><font size=\"6\"><b>二 计算结果</b></font><font color= "
                  "#FF0000>(旧规范GB50009-2001)</font></p>");
    }

    constexpr std::string_view kCell16 = "    <td width=\"78%\" height=\"16\">";
    page.line("<p><font size=\"4\"><b>1 平均风计算结果</b></font></p>  ");
    page.line("<table border=\"1\" width=\"100%\" height=\"87\">");
    row(page, label22h("16", "平均风荷载(KN)"), [&] { listCell(page, m.meanLoad, n, fixed2); });
    row(page, label22h("15", "平均位移(mm)"), [&] { listCell(page, m.meanDisp, n, fixed2); });
    row(page, label22h("16", "平均基底剪力(KN)"),
        [&] { oneLineCell(page, kCell16, fixed2(m.meanBaseShear), "</td>"); });
    row(page, label22h("16", "平均基底弯矩(KN*m)"),
        [&] { oneLineCell(page, kCell16, fixed2(m.meanBaseMoment), "</td>"); });
    page.line(kTableEnd);

    constexpr std::string_view kCell73 = "    <td width=\"73%\">";
    page.line("<p><font size=\"4\"><b>2 脉动风计算结果</b></font></p>  ");
    page.line(kTable);
    row(page, label27("第1阶风振力（KN）"), [&] { listCell(page, m.windVibForce, n, fixed2); });
    row(page, label27("第1阶位移标准差（mm）"), [&] { listCell(page, m.dispStd, n, fixed2); });
    row(page, label27("第1阶脉动基底剪力（KN）"),
        [&] { oneLineCell(page, kCell73, fixed2(m.fluctBaseShear), "　</td>"); });
    row(page, label27("第1阶脉动基底弯矩（KN*m）"),
        [&] { oneLineCell(page, kCell73, fixed2(m.fluctBaseMoment), "　</td>"); });
    page.line(kTableEnd);

    // The first two rows name the intermediate factors of the chosen edition.
    page.line("<p><font size=\"4\"><b>3 等效静力风荷载模型</b></font></p> ");
    page.line(kTable);
    row(page, label27Lines(newCode ? "中间计算参数：SQRT(1+R^2)" : "中间计算参数：脉动增大系数ξ1"),
        [&] { ownLineValue(page, fixed2(m.dynFactor)); });
    row(page,
        label27Lines(newCode ? "中间计算参数：背景分量因子Bz"
                             : "中间计算参数：两个系数的乘积u1*r1"),
        [&] { listCell(page, newCode ? m.bgFactor : m.muR, n, fixed2); });
    row(page, label27Lines("风振系数"), [&] { listCell(page, m.windVibCoef, n, fixed2); });
    row(page, label27Lines("等效静力风荷载(KN)"),
        [&] { listCell(page, m.eqStaticLoad, n, fixed2); });
    page.line(kTableEnd);

    page.line("<p><font size=\"4\"><b>4 总响应(平均响应+脉动响应)</b></font></p> ");
    page.line(kTable);
    row(page, label27("各质点总位移(mm)"), [&] { listCell(page, m.totalDisp, n, fixed2); });
    row(page, label27("总基底剪力(KN)"),
        [&] { oneLineCell(page, kCell73, fixed2(m.totalBaseShear), "</td>"); });
    row(page, label27("总基底弯矩(KN*m)"),
        [&] { oneLineCell(page, kCell73, fixed2(m.totalBaseMoment), "　</td>"); });
    page.line(kTableEnd);
    page.line(kBlankParagraph);

    page.line("<p><font size=\"6\"><b>三 LRC法计算结果</b></font><font color= "
              "#FF0000>(计算参数同上)</font></p>");
    page.line(kTable);
    row(page, label22h("16", "等效风荷载背景分量(KN)"),
        [&] { listCell(page, m.lrcBackground, n, fixed2); });
    row(page, label22h("15", "等效风荷载共振分量(KN)"),
        [&] { listCell(page, m.lrcResonant, n, fixed2); });
    row(page, label22h("15", "LRC法等效风荷载(KN)"), [&] { listCell(page, m.lrcLoad, n, fixed2); });
    row(page, label22h("16", "LRC法总底部剪力(KN)"),
        [&] { oneLineCell(page, kCell16, fixed2(m.lrcBaseShear), "</td>"); });
    row(page, label22h("16", "LRC法总底部弯矩(KN*m)"),
        [&] { oneLineCell(page, kCell16, fixed2(m.lrcBaseMoment), "</td>"); });
    page.line(kTableEnd);
    page.line(kBlankParagraph);

    page.line("<p><font size=\"6\"><b>四 GBJ法等效风荷载修正</b></font><font color= "
              "#FF0000>(基于脉动底部剪力)</font></p>");
    page.line(kTable);
    row(page, label22h("16", "脉动底部剪力精确解(KN)"),
        [&] { singleListValue(page, m.exactBaseShear); });
    row(page, label22h("15", "脉动修正系数C "), [&] { singleListValue(page, m.corrC); });
    row(page, label22h("15", "修正后的GBJ法等效风荷载(KN)"),
        [&] { listCell(page, m.gbjLoad, n, fixed2); });
    page.line(kTableEnd);
    page.line(kBlankParagraph);
}

void writeFooter(Page& page) {
    const std::string separator = "<p align=\"center\">" + std::string(82, '-') + "</p>";
    page.line(separator);
    page.line("<font SIZE=\"2\">");
    page.line(std::string(kFooterParagraph) + "以上结果为软件计算，请谨慎校核</p>");
    page.line(std::string(kFooterParagraph) + std::string(kContactRequest));
    page.line(std::string(kMaintainerName) + " </p>");
    page.line(std::string(kFooterParagraph) + "Email : " + std::string(kMaintainerEmail) + "</p>");
    page.line(std::string(kFooterParagraph) + std::string(kDesignerAndYear) + "</p>");
    page.line("</font>");
    page.line(separator);
    page.line(kBlankParagraph);
    page.line("");
    page.line("</body>");
    page.line("");
    page.line("</html>");
}

Message writeFailure(const QString& path) {
    return refusal("无法写入报告书文件“" + QDir::toNativeSeparators(path).toStdString() +
                   "”，请检查文件夹是否存在、是否有写入权限以及磁盘空间是否足够！");
}

} // namespace

std::optional<Message> reportRefusal(const ProjectModel& m) {
    if (const std::optional<ResultsDefect> defect = findResultsDefect(m))
        return defectRefusal(m, *defect);

    if (m.dynFactor < 1.0) {
        return refusal("“" + dynFactorName(m) + "”小于1，无法计算共振分量，无法生成报告书！");
    }
    if (m.corrC == 0.0) {
        return refusal("脉动修正系数C为0，无法计算修正后的GBJ法等效风荷载，无法生成报告书！");
    }
    // The values read off the results may still overflow.
    const std::pair<std::string_view, double> sums[] = {
        {"meanBaseShear", m.meanBaseShear},   {"meanBaseMoment", m.meanBaseMoment},
        {"fluctBaseShear", m.fluctBaseShear}, {"fluctBaseMoment", m.fluctBaseMoment},
        {"totalBaseShear", m.totalBaseShear}, {"totalBaseMoment", m.totalBaseMoment},
        {"lrcBaseShear", m.lrcBaseShear},     {"lrcBaseMoment", m.lrcBaseMoment},
    };
    for (const auto& [key, value] : sums)
        if (!std::isfinite(value))
            return notFiniteRefusal(labelOf(m, key));
    const std::pair<std::string_view, const List*> lists[] = {
        {"totalDisp", &m.totalDisp}, {"lrcResonant", &m.lrcResonant}, {"gbjLoad", &m.gbjLoad}};
    for (const auto& [key, list] : lists)
        if (!allFinite(*list))
            return notFiniteRefusal(labelOf(m, key));
    return std::nullopt;
}

namespace {

// The page of a record that passed reportRefusal; empty when the text cannot
// be encoded.
QByteArray pageBytes(const ProjectModel& m) {
    const auto n = static_cast<std::size_t>(m.nFreedom);
    Page page;
    writeHead(page);
    writeInputs(page, m, n);
    writeResults(page, m, n);
    writeFooter(page);

    QStringEncoder encoder("GB2312");
    if (!encoder.isValid()) {
        return {};
    }
    QByteArray bytes = encoder.encode(QString::fromStdString(page.text()));
    if (encoder.hasError()) {
        return {};
    }
    return bytes;
}

} // namespace

QByteArray htmlReportBytes(const ProjectModel& m) {
    if (reportRefusal(m)) {
        return {};
    }
    return pageBytes(m);
}

std::optional<Message> writeHtmlReport(const ProjectModel& model, const QString& path) {
    if (auto refused = reportRefusal(model)) {
        return refused;
    }
    const QByteArray bytes = pageBytes(model);
    if (bytes.isEmpty()) {
        return refusal("无法以GB2312编码生成报告书！");
    }
    // The old report is replaced only by a completely written page.
    if (const std::optional<WriteFailure> failure = writeFileSafely(path, bytes)) {
        if (failure->kind == WriteFailure::Kind::NotRegularFile) {
            return refusal("无法写入报告书文件“" + QDir::toNativeSeparators(path).toStdString() +
                           "”：它是文件夹、设备或管道，不是普通文件！");
        }
        return writeFailure(path);
    }
    return std::nullopt;
}

} // namespace tamsor
