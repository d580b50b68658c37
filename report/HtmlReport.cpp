#include "HtmlReport.h"

#include "NumberFormat.h"
#include "ReportDescription.h"
#include "ResultsCheck.h"
#include "SafeWrite.h"

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

// Text as the page's markup takes it.
std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string percent(int value) {
    return formatInteger(value) + "%";
}

// A row's cells: the label, then the value cell in its layout. A list or
// own-line value always takes 78% of the row; a text value the width the
// label leaves.
void writeRow(Page& page, const ReportRow& row) {
    const RowLook& look = row.look;
    const std::string height =
        look.height > 0 ? " height=\"" + formatInteger(look.height) + "\"" : std::string();
    page.line("  <tr>");
    page.put("    <td width=\"" + percent(look.labelWidth) + "\"" + height);
    if (look.labelParagraph) {
        page.line(">");
        page.put("      <p align=\"right\">");
    } else {
        page.put(" align=\"right\">");
    }
    page.line(escaped(row.label) + "</td>");
    switch (row.layout) {
    case ValueLayout::Text:
        page.put("    <td width=\"" + percent(100 - look.labelWidth) + "\"" + height + ">");
        page.put(escaped(row.valueText()));
        page.line(look.ideographicSpaceAfter ? "　</td>" : "</td>");
        break;
    case ValueLayout::List:
        page.put("    <td width=\"78%\">");
        // Piece by piece: GCC 12 takes " " + text for an overlapping copy
        // at -O3 (-Wrestrict).
        for (const std::string& value : row.values) {
            page.put(" ");
            page.put(escaped(value));
            page.put(";");
        }
        page.line("</td>");
        break;
    case ValueLayout::OwnLine:
        page.put("    <td width=\"78%\">");
        page.put(" ");
        page.line(escaped(row.valueText()));
        page.line("</td>");
        break;
    }
    page.line("  </tr>");
}

void writeTable(Page& page, const ReportTable& table) {
    page.line(table.height > 0 ? "<table border=\"1\" width=\"100%\" height=\"" +
                                     formatInteger(table.height) + "\">"
                               : std::string("<table border=\"1\" width=\"100%\">"));
    for (const ReportRow& row : table.rows)
        writeRow(page, row);
    page.line("</table>");
}

void writeHeading(Page& page, const ReportHeading& heading) {
    const std::string size = heading.level == ReportHeading::Level::Part ? "6" : "4";
    const std::string text = escaped(heading.text);
    std::string line = heading.look.boldOutside
                           ? "<p><b><font size=\"" + size + "\">" + text + "</font></b>"
                           : "<p><font size=\"" + size + "\"><b>" + text + "</b></font>";
    if (!heading.remark.empty())
        line += "<font color= #FF0000>" + escaped(heading.remark) + "</font>";
    line += "</p>";
    line.append(static_cast<std::size_t>(std::max(heading.look.trailingSpaces, 0)), ' ');
    page.line(line);
}

constexpr std::string_view kBlankParagraph = "<p>　</p>";
constexpr std::string_view kFooterParagraph = "<p align=\"center\" style=\"line-height: 100%\">";

void writeHead(Page& page, const ReportDescription& d) {
    page.line("<html>");
    page.line("<head>");
    page.line("<meta http-equiv=\"Content-Language\" content=\"zh-cn\">");
    page.line("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">");
    page.line("<meta name=\"GENERATOR\" content=\"Microsoft FrontPage 4.0\">");
    page.line("<meta name=\"ProgId\" content=\"FrontPage.Editor.Document\">");
    page.line("<title>" + escaped(d.title) + escaped(d.version) + "</title>");
    page.line("</head>");
    page.line("<body>");
    page.line("<p align=\"center\"><b><font size=\"7\">" + escaped(d.title) +
              "</font><font size=\"5\">" + escaped(d.version) + "</font></b></p>");
}

void writeSection(Page& page, const ReportSection& section) {
    for (const ReportBlock& block : section.blocks) {
        if (const auto* heading = std::get_if<ReportHeading>(&block))
            writeHeading(page, *heading);
        else if (const auto* table = std::get_if<ReportTable>(&block))
            writeTable(page, *table);
        else if (const auto* note = std::get_if<ReportNote>(&block))
            page.line("<p>" + escaped(note->text) + "</p>");
        else
            page.line(kBlankParagraph);
    }
}

void writeFooter(Page& page, const ReportFooter& footer) {
    const std::string separator = "<p align=\"center\">" + std::string(82, '-') + "</p>";
    page.line(separator);
    page.line("<font SIZE=\"2\">");
    page.line(std::string(kFooterParagraph) + escaped(footer.caution) + "</p>");
    page.line(std::string(kFooterParagraph) + escaped(footer.contactRequest) + " ");
    page.line(escaped(footer.contactName) + " </p>");
    page.line(std::string(kFooterParagraph) + "Email : " + escaped(footer.email) + "</p>");
    page.line(std::string(kFooterParagraph) + escaped(footer.designerAndYear) + "</p>");
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

// The page of results that passed reportRefusal: the sections of the
// description the page shows; empty when the text cannot be encoded.
QByteArray pageBytes(const Results& r, const ReportContact& contact) {
    const ReportDescription description = describeReport(r, contact);
    Page page;
    writeHead(page, description);
    for (const ReportSection& section : description.sections)
        if (section.onPage)
            writeSection(page, section);
    writeFooter(page, description.footer);

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

QByteArray htmlReportBytes(const Results& results, const ReportContact& contact) {
    if (reportRefusal(results)) {
        return {};
    }
    return pageBytes(results, contact);
}

std::optional<Message> writeHtmlReport(const Results& results, const QString& path,
                                       const ReportContact& contact) {
    if (auto refused = reportRefusal(results)) {
        return refused;
    }
    const QByteArray bytes = pageBytes(results, contact);
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
