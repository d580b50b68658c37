#pragma once

// The content of the calculation report as a description: sections of
// headings, tables of labelled rows, notes and gaps, then the footer. It is
// built once from the results and the field tables; the HTML page writes the
// sections it shows (HtmlReport.h), the calculation book lays out all of
// them on paper (pdf/). Every text here is final: numbers already formatted,
// captions with their units.
//
// The "look" members keep the page's own markup as it has always been
// written (widths, heights, where the bold tag stands); the book sets its
// own.

#include "Results.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tamsor {

// How a row's values stand in its value cell.
enum class ValueLayout {
    Text,    // one text as it is ("6", "15.00         (仅用于...)")
    List,    // every value followed by ";", a space before each: " v1; v2; v3;"
    OwnLine, // one value after a space; the page closes the cell on the next line
};

// The page's markup of a row.
struct RowLook {
    int labelWidth = 22; // percent of the row's width the label takes
    int height = 0;      // the cells' height attribute on the page; 0 = none
    // The page writes the label as a right-aligned paragraph on a line of
    // its own inside the cell.
    bool labelParagraph = false;
    // The page writes an ideographic space after a Text value.
    bool ideographicSpaceAfter = false;
};

struct ReportRow {
    std::string label;
    std::vector<std::string> values; // one for Text and OwnLine
    ValueLayout layout = ValueLayout::Text;
    RowLook look;

    // The value cell's text as a reader sees it: the values of a list each
    // followed by ";" and separated by a space ("1.00; 2.00;"), the others
    // as they are.
    [[nodiscard]] std::string valueText() const;
};

struct ReportTable {
    // What the table holds, unique in a report: the plots of the book name
    // the table they follow by it.
    std::string key;
    std::vector<ReportRow> rows;
    int height = 0; // the table's height attribute on the page; 0 = none
};

// The page's markup of a heading.
struct HeadingLook {
    bool boldOutside = false; // <b><font ...> rather than <font ...><b>
    int trailingSpaces = 0;   // spaces after the closing tag of the paragraph
};

struct ReportHeading {
    enum class Level { Part, Table };
    Level level = Level::Part;
    std::string text;   // "二 计算结果", "1 几何模型"
    std::string remark; // after the heading in red, e.g. "(新规范GB50009-201X)"; may be empty
    HeadingLook look;
};

// A paragraph of text: a note, a finding, a reason.
struct ReportNote {
    std::string text;
};

// An empty paragraph that separates the parts ("<p>　</p>" on the page).
struct ReportGap {};

using ReportBlock = std::variant<ReportHeading, ReportTable, ReportNote, ReportGap>;

// A numbered part of the report ("一" to "八"); its blocks begin with its
// heading.
struct ReportSection {
    int number = 0;     // 1..8
    bool onPage = true; // the HTML page shows it; the book shows every section
    std::vector<ReportBlock> blocks;
};

// Who the footer names for reports of problems; an empty field is written as
// the program's own text.
struct ReportContact {
    std::string organisation;
    std::string email;
};

struct ReportFooter {
    std::string caution;        // "以上结果为软件计算，请谨慎校核"
    std::string contactRequest; // the contact paragraph's first line
    std::string contactName;    // its second line: who to tell
    std::string email;
    std::string designerAndYear;
};

struct ReportDescription {
    std::string title;   // "风振计算报告书"
    std::string version; // "v1.10"
    // Every section in the book's order (一 to 八); the page keeps the
    // numbers of those it shows.
    std::vector<ReportSection> sections;
    ReportFooter footer;
};

// The keys of the tables the plots follow (PlotPairs.h names them).
inline constexpr std::string_view kMeanResultsTable = "meanResults";
inline constexpr std::string_view kFluctuatingResultsTable = "fluctuatingResults";
inline constexpr std::string_view kEquivalentStaticLoadTable = "equivalentStaticLoad";

// The sections with fixed numbers.
inline constexpr int kCrossWindSection = 7;
inline constexpr int kCodeFormulaSection = 8;

// The description of results that the report does not refuse
// (reportRefusal() in HtmlReport.h). Sections 七 and 八 are there when the
// results carry what they show; 八 is on the page only when the input holds
// a diameter, a structure type or a 10-year pressure.
[[nodiscard]] ReportDescription describeReport(const Results& results,
                                               const ReportContact& contact = {});

// The footer with the contact given; an empty field is today's text.
[[nodiscard]] ReportFooter reportFooter(const ReportContact& contact);

} // namespace tamsor
