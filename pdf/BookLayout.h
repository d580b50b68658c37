#pragma once

// The calculation book laid out on pages: the report's description
// (ReportDescription.h) set as paragraphs and tables with QTextLayout, with
// the title block under the title and each pair of plots after the table it
// belongs to. Nothing is split by a page break: a row of a table, a
// paragraph, the plots and the footer each stand whole on one page, and a
// heading goes over to the next page with the first row of its table.

#include "ReportDescription.h"
#include "Results.h"
#include "TitleBlock.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <memory>
#include <vector>

class QFont;
class QPainter;
class QPaintDevice;
class QTextLayout;

namespace tamsor {

// One piece of a page, placed in the coordinates of the page's body (the
// device's units, from the top left corner of the text area).
struct BookItem {
    enum class Kind {
        Title,        // the report's title and version
        Heading,      // a part's or a table's heading, with its remark
        Label,        // a table row's label
        Value,        // a table row's value cell
        TitleCaption, // 工程名称, 日期, 计算, 校对
        TitleValue,   // what the title block says for them
        Note,         // a paragraph
        Footer,       // a paragraph of the footer
        Rule,         // a horizontal line of the footer
        CellFrame,    // the frame of a table's cell
        Plots,        // the two plots of a pair side by side
    };
    Kind kind = Kind::Note;
    QRectF rect;
    QString text;                        // what a text item shows; empty otherwise
    std::shared_ptr<QTextLayout> layout; // a text item's lines, placed at rect's top left
    int plotPair = -1;                   // for Plots: the index in kPlotPairs
    QString table;                       // for Label and Value: the table's key
};

struct BookPage {
    std::vector<BookItem> items; // in the order they are read
};

struct BookLayout {
    QSizeF body; // the text area of a page, which every item lies within
    std::vector<BookPage> pages;
};

// The book's font: Latin letters and digits from DejaVu Sans, everything
// else (the Chinese text) from Noto Sans CJK SC.
[[nodiscard]] QFont bookFont(double pointSize, bool bold = false);

// The book of the description laid out for `device` on pages whose text area
// is `body` (device units).
[[nodiscard]] BookLayout layOutBook(const ReportDescription& description, const TitleBlock& block,
                                    const QPaintDevice& device, QSizeF body);

// Paints one page's items (the plots from `results`) with the painter's
// origin at the body's top left; `pixel` is a screen pixel in device units.
void paintBookPage(QPainter& painter, const BookPage& page, const Results& results, double pixel);

} // namespace tamsor
