#include "HtmlReport.h"

#include "InputFields.h"
#include "NumberFormat.h"
#include "ResultFields.h"
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

// The resonant factor as its refusal names it under each edition.
std::string dynFactorName(Edition edition) {
    return edition == Edition::GB201X ? "中间计算参数SQRT(1+R^2)" : "脉动增大系数ξ1";
}

Message notFiniteRefusal(std::string_view name) {
    return refusal("“" + std::string(name) + "”中含有无效的数值（非数或溢出），无法生成报告书！");
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

// The page's labels, from the field tables.
std::string_view resultLabel(std::string_view key, Edition edition = Edition::GB201X) {
    return resultField(key).reportCaptionFor(edition);
}
std::string_view listBoxLabel(int box) {
    return listBoxField(box).reportCaption;
}
std::string_view valueBoxLabel(int box) {
    return valueBoxField(box).reportCaption;
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

void writeInputs(Page& page, const Results& r, std::size_t n) {
    const ParsedInput& in = r.numbers();
    page.line("<p><b><font size=\"4\">1 几何模型</font></b></p>  ");
    page.line(kTable);
    row(page, label22("自由度数目"),
        [&] { oneLineCell(page, kValueCellOpen, formatInteger(in.nFreedom), "</td>"); });
    row(page, label22(valueBoxLabel(ValueBox::Width)), [&] {
        oneLineCell(page, kValueCellOpen,
                    fixed2(in.structWidth / valueBoxField(ValueBox::Width).reportDivisor) +
                        "         (仅用于计算水平向相关性，等于0时表示不考虑水平相关性)",
                    "</td>");
    });
    row(page, label22(listBoxLabel(Box::Heights)), [&] { listCell(page, in.zCoord, n, fixed2); });
    row(page, label22(listBoxLabel(Box::Areas)), [&] { listCell(page, in.windArea, n, fixed2); });
    page.line(kTableEnd);

    page.line("<p><font size=\"4\"><b>2 动力特性</b></font></p>  ");
    page.line(kTable);
    row(page, label22("拟取振型数 "),
        [&] { oneLineCell(page, kValueCellOpen, formatInteger(in.nModes), "</td>"); });
    row(page, label22(listBoxLabel(Box::Frequency)),
        [&] { oneLineCell(page, kValueCellOpen, fixed3(in.freq[0]), "</td>"); });
    row(page, label22(listBoxLabel(Box::DampingRatio)),
        [&] { oneLineCell(page, kValueCellOpen, fixed3(in.dampRatio[0]), "</td>"); });
    row(page, label22(listBoxLabel(Box::Masses)), [&] { listCell(page, in.mass, n, fixed2); });
    row(page, label22(listBoxLabel(Box::ModeShape1)),
        [&] { listCell(page, in.modeShapes[0], n, formatScientific); });
    page.line(kTableEnd);

    page.line("<p><b><font size=\"4\">3 风振计算参数</font></b></p>  ");
    page.line(kTable);
    row(page, label22(valueBoxLabel(ValueBox::WindPressure)), [&] {
        oneLineCell(page, kValueCellOpen,
                    fixed2(in.w0 / valueBoxField(ValueBox::WindPressure).reportDivisor), "</td>");
    });
    const std::string terrain = std::string(1, "ABCD"[in.terrainType - 1]) +
                                "(α=" + fixed2(r.raw().alpha) + "  ;" +
                                "I10=" + fixed3(r.raw().i10) + ")";
    row(page, label22(resultLabel("alpha")), [&] { ownLineValue(page, terrain); });
    row(page, label22(listBoxLabel(Box::ShapeCoef)),
        [&] { listCell(page, in.shapeCoef, n, fixed2); });
    page.line(kTableEnd);
    page.line(kBlankParagraph);
}

void writeResults(Page& page, const Results& r, std::size_t n) {
    const RawResults& raw = r.raw();
    const DerivedResults& d = r.derived();
    const Edition edition = r.edition();
    const bool newCode = edition == Edition::GB201X;
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
    row(page, label22h("16", resultLabel("meanLoad")),
        [&] { listCell(page, raw.meanLoad, n, fixed2); });
    row(page, label22h("15", resultLabel("meanDisp")),
        [&] { listCell(page, raw.meanDisp, n, fixed2); });
    row(page, label22h("16", resultLabel("meanBaseShear")),
        [&] { oneLineCell(page, kCell16, fixed2(d.meanBaseShear), "</td>"); });
    row(page, label22h("16", resultLabel("meanBaseMoment")),
        [&] { oneLineCell(page, kCell16, fixed2(d.meanBaseMoment), "</td>"); });
    page.line(kTableEnd);

    constexpr std::string_view kCell73 = "    <td width=\"73%\">";
    page.line("<p><font size=\"4\"><b>2 脉动风计算结果</b></font></p>  ");
    page.line(kTable);
    row(page, label27(resultLabel("windVibForce")),
        [&] { listCell(page, raw.windVibForce, n, fixed2); });
    row(page, label27(resultLabel("dispStd")), [&] { listCell(page, raw.dispStd, n, fixed2); });
    row(page, label27(resultLabel("fluctBaseShear")),
        [&] { oneLineCell(page, kCell73, fixed2(d.fluctBaseShear), "　</td>"); });
    row(page, label27(resultLabel("fluctBaseMoment")),
        [&] { oneLineCell(page, kCell73, fixed2(d.fluctBaseMoment), "　</td>"); });
    page.line(kTableEnd);

    // The first two rows name the intermediate factors of the chosen edition.
    page.line("<p><font size=\"4\"><b>3 等效静力风荷载模型</b></font></p> ");
    page.line(kTable);
    row(page, label27Lines(resultLabel("dynFactor", edition)),
        [&] { ownLineValue(page, fixed2(raw.dynFactor)); });
    row(page, label27Lines(resultLabel(newCode ? "bgFactor" : "muR")),
        [&] { listCell(page, newCode ? raw.bgFactor : raw.muR, n, fixed2); });
    row(page, label27Lines(resultLabel("windVibCoef")),
        [&] { listCell(page, raw.windVibCoef, n, fixed2); });
    row(page, label27Lines(resultLabel("eqStaticLoad")),
        [&] { listCell(page, raw.eqStaticLoad, n, fixed2); });
    page.line(kTableEnd);

    page.line("<p><font size=\"4\"><b>4 总响应(平均响应+脉动响应)</b></font></p> ");
    page.line(kTable);
    row(page, label27(resultLabel("totalDisp")), [&] { listCell(page, d.totalDisp, n, fixed2); });
    row(page, label27(resultLabel("totalBaseShear")),
        [&] { oneLineCell(page, kCell73, fixed2(d.totalBaseShear), "</td>"); });
    row(page, label27(resultLabel("totalBaseMoment")),
        [&] { oneLineCell(page, kCell73, fixed2(d.totalBaseMoment), "　</td>"); });
    page.line(kTableEnd);
    page.line(kBlankParagraph);

    page.line("<p><font size=\"6\"><b>三 LRC法计算结果</b></font><font color= "
              "#FF0000>(计算参数同上)</font></p>");
    page.line(kTable);
    row(page, label22h("16", resultLabel("lrcBackground")),
        [&] { listCell(page, raw.lrcBackground, n, fixed2); });
    row(page, label22h("15", resultLabel("lrcResonant")),
        [&] { listCell(page, d.lrcResonant, n, fixed2); });
    row(page, label22h("15", resultLabel("lrcLoad")),
        [&] { listCell(page, raw.lrcLoad, n, fixed2); });
    row(page, label22h("16", resultLabel("lrcBaseShear")),
        [&] { oneLineCell(page, kCell16, fixed2(d.lrcBaseShear), "</td>"); });
    row(page, label22h("16", resultLabel("lrcBaseMoment")),
        [&] { oneLineCell(page, kCell16, fixed2(d.lrcBaseMoment), "</td>"); });
    page.line(kTableEnd);
    page.line(kBlankParagraph);

    page.line("<p><font size=\"6\"><b>四 GBJ法等效风荷载修正</b></font><font color= "
              "#FF0000>(基于脉动底部剪力)</font></p>");
    page.line(kTable);
    row(page, label22h("16", resultLabel("exactBaseShear")),
        [&] { singleListValue(page, raw.exactBaseShear); });
    row(page, label22h("15", resultLabel("corrC")), [&] { singleListValue(page, raw.corrC); });
    row(page, label22h("15", resultLabel("gbjLoad")),
        [&] { listCell(page, d.gbjLoad, n, fixed2); });
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

Message noResultsRefusal() {
    return refusal(
        "没有可用的计算结果（尚未计算或上次计算出错），请先计算风振响应，再生成报告书！");
}

std::optional<Message> reportRefusal(const Results& r) {
    if (const auto input = firstNotFiniteInput(r))
        return notFiniteRefusal(input->caption);
    if (const auto computed = firstNotFiniteResult(r, false))
        return notFiniteRefusal(computed->caption);
    if (r.raw().dynFactor < 1.0) {
        return refusal("“" + dynFactorName(r.edition()) +
                       "”小于1，无法计算共振分量，无法生成报告书！");
    }
    if (r.raw().corrC == 0.0) {
        return refusal("脉动修正系数C为0，无法计算修正后的GBJ法等效风荷载，无法生成报告书！");
    }
    // The values read off the results may still overflow.
    if (const auto derived = firstNotFiniteResult(r, true))
        return notFiniteRefusal(derived->caption);
    return std::nullopt;
}

namespace {

// The page of results that passed reportRefusal; empty when the text cannot
// be encoded.
QByteArray pageBytes(const Results& r) {
    const std::size_t n = r.pointCount();
    Page page;
    writeHead(page);
    writeInputs(page, r, n);
    writeResults(page, r, n);
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

QByteArray htmlReportBytes(const Results& results) {
    if (reportRefusal(results)) {
        return {};
    }
    return pageBytes(results);
}

std::optional<Message> writeHtmlReport(const Results& results, const QString& path) {
    if (auto refused = reportRefusal(results)) {
        return refused;
    }
    const QByteArray bytes = pageBytes(results);
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
