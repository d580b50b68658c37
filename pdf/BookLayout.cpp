#include "BookLayout.h"

#include "PlotGeometry.h"
#include "PlotPainter.h"
#include "PlotPairs.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <numeric>
#include <string_view>
#include <utility>

namespace tamsor {

QFont bookFont(double pointSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

namespace {

constexpr double kBodyPointSize = 9.5;
constexpr double kTitlePointSize = 20;
constexpr double kVersionPointSize = 12;
constexpr double kPartPointSize = 13;
constexpr double kTableHeadingPointSize = 10.5;
constexpr double kFooterPointSize = 8;
constexpr double kPlotPointSize = 7.5;

// Lengths in mm.
constexpr double kCellPadding = 0.8;
constexpr double kRuleWidth = 0.3;
constexpr double kPlotWidth = 78; // each plot of a pair
constexpr double kPlotHeight = 96;
constexpr double kPlotSpacing = 6; // between the two plots
// The labels' column of every table, in percent: wider than the page's
// narrowest (22%), so that most labels stand on one line, and the same in
// every table, so the columns line up.
constexpr int kLabelColumn = 25;
// The title block's columns, in percent: caption, value, caption, value.
constexpr int kTitleColumns[4] = {12, 38, 12, 38};

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// A run of the page's text that cannot be split by a page break, with its
// items placed from its own top.
struct Unit {
    double height = 0;
    double spaceBefore = 0;    // dropped at the top of a page
    bool keepWithNext = false; // stands on the same page as the unit after it
    bool gap = false;          // only space: dropped at the top of a page
    std::vector<BookItem> items;
};

class Builder {
public:
    Builder(const QPaintDevice& device, QSizeF body)
        : device_(device), width_(body.width()), mm_(device.logicalDpiY() / 25.4) {}

    void title(const ReportDescription& d, const TitleBlock& block);
    void section(const ReportSection& section);
    void footer(const ReportFooter& footer);
    std::vector<Unit> take() { return std::move(units_); }

private:
    // Lays `text` out in lines of `width`; its height is the sum of the lines'.
    std::pair<std::shared_ptr<QTextLayout>, double>
    text(const QString& text, const QFont& font, double width, Qt::Alignment alignment,
         const QList<QTextLayout::FormatRange>& formats = {}) const;
    // A paragraph as wide as the body.
    BookItem paragraph(BookItem::Kind kind, const QString& text, const QFont& font,
                       Qt::Alignment alignment, double top,
                       const QList<QTextLayout::FormatRange>& formats = {}) const;
    // A row of cells of the given widths (device units); each pair of kinds
    // and texts makes one cell.
    Unit row(const std::vector<double>& widths, const std::vector<BookItem::Kind>& kinds,
             const std::vector<QString>& texts, const std::vector<bool>& bold,
             const QString& table) const;
    void heading(const ReportHeading& heading);
    void table(const ReportTable& table);
    void note(const ReportNote& note);
    void gap();
    void plots(std::size_t pair);

    const QPaintDevice& device_;
    double width_;
    double mm_;
    std::vector<Unit> units_;
};

std::pair<std::shared_ptr<QTextLayout>, double>
Builder::text(const QString& text, const QFont& font, double width, Qt::Alignment alignment,
              const QList<QTextLayout::FormatRange>& formats) const {
    auto layout = std::make_shared<QTextLayout>(text, font, &device_);
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setFormats(formats);
    layout->setCacheEnabled(true);
    double y = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(std::max(width, 1.0));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout->endLayout();
    return {std::move(layout), y};
}

BookItem Builder::paragraph(BookItem::Kind kind, const QString& content, const QFont& font,
                            Qt::Alignment alignment, double top,
                            const QList<QTextLayout::FormatRange>& formats) const {
    auto [layout, height] = text(content, font, width_, alignment, formats);
    return BookItem{kind, QRectF(0, top, width_, height), content, std::move(layout), -1, {}};
}

Unit Builder::row(const std::vector<double>& widths, const std::vector<BookItem::Kind>& kinds,
                  const std::vector<QString>& texts, const std::vector<bool>& bold,
                  const QString& table) const {
    const double pad = kCellPadding * mm_;
    Unit unit;
    std::vector<BookItem> cells;
    double height = 0;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        const bool label = kinds[c] == BookItem::Kind::Label;
        auto [layout, h] = text(texts[c], bookFont(kBodyPointSize, bold[c]), widths[c] - 2 * pad,
                                label ? Qt::AlignRight : Qt::AlignLeft);
        height = std::max(height, h);
        cells.push_back(BookItem{kinds[c], QRectF(0, pad, widths[c] - 2 * pad, h), texts[c],
                                 std::move(layout), -1, table});
    }
    height += 2 * pad;
    double x = 0;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        unit.items.push_back(BookItem{
            BookItem::Kind::CellFrame, QRectF(x, 0, widths[c], height), {}, nullptr, -1, {}});
        cells[c].rect.moveLeft(x + pad);
        x += widths[c];
    }
    for (BookItem& cell : cells)
        unit.items.push_back(std::move(cell));
    unit.height = height;
    return unit;
}

void Builder::title(const ReportDescription& d, const TitleBlock& block) {
    const QString name = qs(d.title);
    const QString version = qs(d.version);
    QTextLayout::FormatRange versionFormat;
    versionFormat.start = static_cast<int>(name.size());
    versionFormat.length = static_cast<int>(version.size());
    versionFormat.format.setFont(bookFont(kVersionPointSize, true));
    Unit title;
    title.items.push_back(paragraph(BookItem::Kind::Title, name + version,
                                    bookFont(kTitlePointSize, true), Qt::AlignHCenter, 0,
                                    {versionFormat}));
    title.height = title.items.back().rect.height() + 3 * mm_;
    title.keepWithNext = true;
    units_.push_back(std::move(title));

    std::vector<double> widths;
    for (int percent : kTitleColumns)
        widths.push_back(width_ * percent / 100.0);
    const std::vector<BookItem::Kind> kinds{
        BookItem::Kind::TitleCaption, BookItem::Kind::TitleValue, BookItem::Kind::TitleCaption,
        BookItem::Kind::TitleValue};
    const std::vector<bool> bold{true, false, true, false};
    Unit first =
        row(widths, kinds,
            {QStringLiteral("工程名称"), block.projectName, QStringLiteral("日期"), block.date},
            bold, {});
    const Unit second =
        row(widths, kinds,
            {QStringLiteral("计算"), block.calculatedBy, QStringLiteral("校对"), block.checkedBy},
            bold, {});
    for (BookItem item : second.items) {
        item.rect.translate(0, first.height);
        first.items.push_back(std::move(item));
    }
    first.height += second.height;
    units_.push_back(std::move(first));
}

void Builder::heading(const ReportHeading& h) {
    const bool part = h.level == ReportHeading::Level::Part;
    const double size = part ? kPartPointSize : kTableHeadingPointSize;
    const QString text = qs(h.text);
    const QString remark = qs(h.remark);
    QList<QTextLayout::FormatRange> formats;
    if (!remark.isEmpty()) {
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(text.size());
        range.length = static_cast<int>(remark.size());
        range.format.setFont(bookFont(size));
        range.format.setForeground(QColor(255, 0, 0));
        formats.push_back(range);
    }
    Unit unit;
    unit.items.push_back(paragraph(BookItem::Kind::Heading, text + remark, bookFont(size, true),
                                   Qt::AlignLeft, 0, formats));
    unit.height = unit.items.back().rect.height() + 1 * mm_;
    unit.spaceBefore = (part ? 4 : 2.5) * mm_;
    unit.keepWithNext = true;
    units_.push_back(std::move(unit));
}

void Builder::table(const ReportTable& table) {
    const QString key = qs(table.key);
    bool first = true;
    for (const ReportRow& r : table.rows) {
        const double label = width_ * kLabelColumn / 100.0;
        // The page's texts as a browser shows them: runs of spaces as one.
        Unit unit =
            row({label, width_ - label}, {BookItem::Kind::Label, BookItem::Kind::Value},
                {qs(r.label).simplified(), qs(r.valueText()).simplified()}, {false, false}, key);
        unit.spaceBefore = first ? 0.8 * mm_ : 0;
        first = false;
        units_.push_back(std::move(unit));
    }
    for (std::size_t pair = 0; pair < kPlotPairs.size(); ++pair)
        if (kPlotPairs[pair].table == table.key)
            plots(pair);
}

void Builder::plots(std::size_t pair) {
    const QSizeF size((2 * kPlotWidth + kPlotSpacing) * mm_, kPlotHeight * mm_);
    Unit unit;
    unit.items.push_back(BookItem{BookItem::Kind::Plots,
                                  QRectF(QPointF((width_ - size.width()) / 2, 0), size),
                                  {},
                                  nullptr,
                                  static_cast<int>(pair),
                                  {}});
    unit.height = size.height() + 2 * mm_;
    unit.spaceBefore = 2 * mm_;
    units_.push_back(std::move(unit));
}

void Builder::note(const ReportNote& note) {
    Unit unit;
    unit.items.push_back(paragraph(BookItem::Kind::Note, qs(note.text).simplified(),
                                   bookFont(kBodyPointSize), Qt::AlignLeft, 0));
    unit.height = unit.items.back().rect.height();
    unit.spaceBefore = 1.2 * mm_;
    units_.push_back(std::move(unit));
}

void Builder::gap() {
    Unit unit;
    unit.gap = true;
    unit.height = 2.5 * mm_;
    units_.push_back(std::move(unit));
}

void Builder::section(const ReportSection& section) {
    for (const ReportBlock& block : section.blocks) {
        if (const auto* h = std::get_if<ReportHeading>(&block))
            heading(*h);
        else if (const auto* t = std::get_if<ReportTable>(&block))
            table(*t);
        else if (const auto* n = std::get_if<ReportNote>(&block))
            note(*n);
        else
            gap();
    }
}

void Builder::footer(const ReportFooter& f) {
    Unit unit;
    unit.spaceBefore = 4 * mm_;
    const auto rule = [&](double y) {
        unit.items.push_back(
            BookItem{BookItem::Kind::Rule, QRectF(0, y, width_, 0), {}, nullptr, -1, {}});
    };
    double y = 0;
    rule(y);
    y += 1.5 * mm_;
    const QString lines[] = {qs(f.caution), qs(f.contactRequest + " " + f.contactName),
                             qs("Email : " + f.email), qs(f.designerAndYear)};
    for (const QString& line : lines) {
        unit.items.push_back(paragraph(BookItem::Kind::Footer, line.simplified(),
                                       bookFont(kFooterPointSize), Qt::AlignHCenter, y));
        y += unit.items.back().rect.height();
    }
    y += 1.5 * mm_;
    rule(y);
    unit.height = y;
    units_.push_back(std::move(unit));
}

// Puts the units on pages. A unit goes to the next page when it does not fit
// on this one, together with the units before it that must stay with it; a
// group taller than a whole page is placed unit by unit.
BookLayout paginate(std::vector<Unit> units, QSizeF body) {
    const double bodyHeight = body.height();
    BookLayout book;
    book.body = body;
    book.pages.emplace_back();
    double y = 0;
    const auto place = [&](const Unit& unit) {
        if (y > 0)
            y += unit.spaceBefore;
        for (BookItem item : unit.items) {
            item.rect.translate(0, y);
            book.pages.back().items.push_back(std::move(item));
        }
        y += unit.height;
    };
    const auto newPage = [&] {
        book.pages.emplace_back();
        y = 0;
    };
    std::size_t i = 0;
    while (i < units.size()) {
        if (units[i].gap) {
            if (y > 0)
                y += units[i].height;
            ++i;
            continue;
        }
        std::size_t last = i;
        while (last + 1 < units.size() && units[last].keepWithNext && !units[last + 1].gap)
            ++last;
        double height = 0;
        for (std::size_t k = i; k <= last; ++k)
            height += units[k].height + (k > i ? units[k].spaceBefore : 0);
        const double before = y > 0 ? units[i].spaceBefore : 0;
        if (y > 0 && y + before + height > bodyHeight)
            newPage();
        if (height <= bodyHeight) {
            for (std::size_t k = i; k <= last; ++k)
                place(units[k]);
        } else {
            for (std::size_t k = i; k <= last; ++k) {
                if (y > 0 && y + units[k].spaceBefore + units[k].height > bodyHeight)
                    newPage();
                place(units[k]);
            }
        }
        i = last + 1;
    }
    return book;
}

} // namespace

BookLayout layOutBook(const ReportDescription& description, const TitleBlock& block,
                      const QPaintDevice& device, QSizeF body) {
    Builder builder(device, body);
    builder.title(description, block);
    for (const ReportSection& section : description.sections)
        builder.section(section);
    builder.footer(description.footer);
    return paginate(builder.take(), body);
}

void paintBookPage(QPainter& painter, const BookPage& page, const Results& results, double pixel) {
    const double mm = painter.device()->logicalDpiY() / 25.4;
    painter.save();
    painter.setPen(QPen(Qt::black, kRuleWidth * mm));
    painter.setBrush(Qt::NoBrush);
    for (const BookItem& item : page.items) {
        switch (item.kind) {
        case BookItem::Kind::CellFrame:
            painter.drawRect(item.rect);
            break;
        case BookItem::Kind::Rule:
            painter.drawLine(item.rect.topLeft(), item.rect.topRight());
            break;
        case BookItem::Kind::Plots: {
            const PlotPair& pair = kPlotPairs.at(static_cast<std::size_t>(item.plotPair));
            const auto n = static_cast<std::ptrdiff_t>(results.pointCount());
            const List& heights = results.numbers().zCoord;
            const double width = (item.rect.width() - kPlotSpacing * mm) / 2;
            for (int side = 0; side < 2; ++side) {
                const List& values = results.raw().*(side == 0 ? pair.left : pair.right);
                const PlotGeometry g =
                    computePlotGeometry(List(values.begin(), values.begin() + n),
                                        List(heights.begin(), heights.begin() + n));
                const QRectF rect(item.rect.left() + side * (width + kPlotSpacing * mm),
                                  item.rect.top(), width, item.rect.height());
                painter.save();
                painter.setFont(bookFont(kPlotPointSize));
                paintPlot(painter, rect, g, qs(kHeightCaption),
                          qs(side == 0 ? pair.leftCaption : pair.rightCaption), pixel);
                painter.restore();
            }
            break;
        }
        default:
            if (item.layout)
                item.layout->draw(&painter, item.rect.topLeft());
            break;
        }
    }
    painter.restore();
}

} // namespace tamsor
