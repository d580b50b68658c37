#include "CalculationBook.h"

#include "CodeChecks.h"
#include "HtmlReport.h"
#include "NumberFormat.h"
#include "PdfTextMapping.h"
#include "PlotGeometry.h"
#include "PlotPainter.h"
#include "PlotPairs.h"
#include "ResultFields.h"
#include "ResultTable.h"
#include "SafeWrite.h"
#include "TamsorVersion.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <memory>
#include <vector>

namespace tamsor {

namespace {

// The book's fonts: Latin letters and digits from DejaVu Sans, everything
// else (the Chinese text) from Noto Sans CJK SC.
const QString kLatinFamily = QStringLiteral("DejaVu Sans");
const QString kCjkFamily = QStringLiteral("Noto Sans CJK SC");

QFont bookFont(double pointSize, bool bold = false) {
    QFont font;
    font.setFamilies({kLatinFamily, kCjkFamily});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

constexpr double kBodyPointSize = 9.5;
constexpr double kPlotPointSize = 7.5;
constexpr double kHeaderPointSize = 8.0;
constexpr double kHeaderMm = 9;     // band of the page header, above the text
constexpr double kFooterMm = 9;     // band of the page numbers, below the text
constexpr double kPlotWidthMm = 78; // each plot of a pair
constexpr double kPlotHeightMm = 96;
// The tables of the inputs come first (geometry, dynamics, wind parameters);
// the three after them are the results that the three plot pairs show.
constexpr int kFirstResultTable = 3;

const int kPlotObject = QTextFormat::UserObject + 1;
const int kPairProperty = QTextFormat::UserProperty + 1;
const int kSideProperty = QTextFormat::UserProperty + 2;

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Draws the plots that stand in the text as objects of type kPlotObject.
class PlotObject : public QObject, public QTextObjectInterface {
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    PlotObject(const Results& results, QSizeF size, double pixel)
        : results_(results), size_(size), pixel_(pixel) {}

    QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat&) override { return size_; }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                    const QTextFormat& format) override {
        const auto pair =
            kPlotPairs.at(static_cast<std::size_t>(format.intProperty(kPairProperty)));
        const bool left = format.intProperty(kSideProperty) == 0;
        const auto n = static_cast<std::ptrdiff_t>(results_.pointCount());
        const List& values = results_.raw().*(left ? pair.left : pair.right);
        const List& heights = results_.numbers().zCoord;
        const PlotGeometry g = computePlotGeometry(List(values.begin(), values.begin() + n),
                                                   List(heights.begin(), heights.begin() + n));
        painter->save();
        painter->setFont(bookFont(kPlotPointSize));
        paintPlot(*painter, rect, g, qs(kHeightCaption),
                  qs(left ? pair.leftCaption : pair.rightCaption), pixel_);
        painter->restore();
    }

private:
    const Results& results_;
    QSizeF size_;
    double pixel_;
};

QString reportPage(const Results& results) {
    QStringDecoder decoder("GB2312");
    return decoder.decode(htmlReportBytes(results));
}

QTextTable* tableAt(QTextDocument& doc, int position) {
    QTextCursor cursor(&doc);
    cursor.setPosition(position);
    return cursor.currentTable();
}

std::vector<QTextTable*> tablesOf(QTextDocument& doc) {
    std::vector<QTextTable*> tables;
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame))
            tables.push_back(table);
    return tables;
}

// Lengths inside the text are given at 96 dots per inch; the layout scales
// them to the device.
constexpr double kTextMm = 96 / 25.4;

// Thin black rules around and between the cells, as a printed table has.
void styleTable(QTextTable* table) {
    constexpr double mm = kTextMm;
    QTextTableFormat format = table->format();
    format.setBorder(0.3 * mm);
    format.setBorderBrush(Qt::black);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(0.8 * mm);
    format.clearProperty(QTextFormat::FrameHeight);
    table->setFormat(format);
}

// A centred paragraph with the two plots of pair `pair`, before the block at
// `position`.
void insertPlots(QTextDocument& doc, int position, int pair) {
    constexpr double mm = kTextMm;
    QTextCursor cursor(&doc);
    cursor.setPosition(position);
    cursor.insertBlock();
    cursor.movePosition(QTextCursor::PreviousBlock);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setTopMargin(2 * mm);
    centred.setBottomMargin(2 * mm);
    cursor.setBlockFormat(centred);
    for (int side = 0; side < 2; ++side) {
        QTextCharFormat plot;
        plot.setObjectType(kPlotObject);
        plot.setProperty(kPairProperty, pair);
        plot.setProperty(kSideProperty, side);
        if (side == 1)
            cursor.insertText(QStringLiteral("   "), QTextCharFormat());
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), plot);
    }
}

// The title block as a table under the title.
void insertTitleBlock(QTextDocument& doc, const TitleBlock& block) {
    QTextCursor cursor(doc.firstBlock());
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    QTextTableFormat format;
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 12),
                                      QTextLength(QTextLength::PercentageLength, 38),
                                      QTextLength(QTextLength::PercentageLength, 12),
                                      QTextLength(QTextLength::PercentageLength, 38)});
    QTextTable* table = cursor.insertTable(2, 4, format);
    styleTable(table);
    const QString cells[2][4] = {
        {QStringLiteral("工程名称"), block.projectName, QStringLiteral("日期"), block.date},
        {QStringLiteral("计算"), block.calculatedBy, QStringLiteral("校对"), block.checkedBy}};
    QTextCharFormat caption;
    caption.setFont(bookFont(kBodyPointSize, true));
    QTextCharFormat value;
    value.setFont(bookFont(kBodyPointSize));
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 4; ++c)
            table->cellAt(r, c).firstCursorPosition().insertText(cells[r][c],
                                                                 c % 2 == 0 ? caption : value);
}

// An empty paragraph (the report's "<p>　</p>" lines); a paragraph of plots is
// not empty.
bool blank(const QTextBlock& block) {
    return block.text().trimmed().isEmpty();
}

int pageOf(QTextDocument& doc, const QTextBlock& block, double pageHeight) {
    return static_cast<int>(doc.documentLayout()->blockBoundingRect(block).top() / pageHeight);
}

// A heading left alone at the foot of a page goes over to the next page with
// its table: the headings right above a table start on the page where the
// table's first row stands.
void keepHeadingsWithTheirTables(QTextDocument& doc, double pageHeight) {
    // Each move can move what follows, so look again until nothing moves.
    for (int round = 0; round < 20; ++round) {
        bool moved = false;
        for (QTextTable* table : tablesOf(doc)) {
            const QTextBlock row = table->cellAt(0, 0).firstCursorPosition().block();
            QTextBlock first = row.previous();
            if (!first.isValid() || blank(first))
                continue;
            while (first.previous().isValid() && !blank(first.previous()) &&
                   tableAt(doc, first.previous().position()) == nullptr)
                first = first.previous();
            if (pageOf(doc, first, pageHeight) < pageOf(doc, row, pageHeight) &&
                first.blockFormat().pageBreakPolicy() != QTextFormat::PageBreak_AlwaysBefore) {
                QTextBlockFormat format = first.blockFormat();
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                QTextCursor(first).setBlockFormat(format);
                moved = true;
                break;
            }
        }
        if (!moved)
            return;
    }
}

QString escaped(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped();
}

QString partHeading(const QString& number, const QString& title) {
    return QStringLiteral("<p><font size=\"6\"><b>%1 %2</b></font></p>").arg(number, title);
}

// What the book says beyond the report's page, in the page's style: the
// results of the field table that the page does not show, with their notes,
// and how the results compare with the codes in force.
QString additions(const Results& r) {
    static const QString kNumbers[] = {QStringLiteral("五"), QStringLiteral("六"),
                                       QStringLiteral("七")};
    int part = 0;
    QString html;
    QString rows;
    QString notes;
    const Edition edition = r.edition();
    const auto addRow = [&](const ResultField& field, const QString& values) {
        rows += QStringLiteral("<tr><td width=\"22%\" align=\"right\">%1</td>"
                               "<td width=\"78%\">%2</td></tr>")
                    .arg(escaped(field.heading(edition)), values);
        if (!field.note.empty())
            notes += QStringLiteral("<p>%1：%2</p>")
                         .arg(escaped(std::string(field.captionFor(edition))),
                              escaped(std::string(field.note)));
    };
    const auto added = [](const ResultField& field, FieldShape shape) {
        return field.group.empty() && field.shape == shape && !field.onReportPage();
    };
    for (const ResultField& field : kResultFields) {
        if (!added(field, FieldShape::PerPoint))
            continue;
        QString values;
        for (std::size_t i = 0; i < r.pointCount(); ++i)
            values += QString::fromStdString(
                          shownText(field.value(r, FieldIndex{0, i}), field.decimals)) +
                      QStringLiteral("; ");
        addRow(field, values.trimmed());
    }
    for (const ResultField& field : kResultFields)
        if (added(field, FieldShape::Structure))
            addRow(field,
                   QString::fromStdString(shownText(field.value(r, FieldIndex{}), field.decimals)));
    if (!rows.isEmpty()) {
        html += partHeading(kNumbers[part++], QStringLiteral("其他计算结果")) +
                QStringLiteral("<table border=\"1\" width=\"100%\">") + rows +
                QStringLiteral("</table>") + notes;
    }

    html += partHeading(kNumbers[part++], QStringLiteral("与现行规范对照"));
    const std::vector<CodeFinding> findings = checkAgainstCodes(r);
    for (const CodeFinding& finding : findings)
        html += QStringLiteral("<p>· %1</p>").arg(escaped(finding.text()));
    if (findings.empty())
        html += QStringLiteral(
                    "<p>各质点的风振系数均不小于%1，且均不低于风压高度变化系数表的截断高度。</p>")
                    .arg(QString::fromStdString(messageNumber(kMinWindVibCoef)));
    return html + QStringLiteral("<p>　</p>");
}

// Puts the additions after the report's results, before its footer (the
// first line of hyphens).
void insertAdditions(QTextDocument& doc, const Results& r) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.text().startsWith(QStringLiteral("-----"))) {
            QTextCursor cursor(block);
            cursor.insertBlock();
            cursor.movePosition(QTextCursor::PreviousBlock);
            cursor.setBlockFormat(QTextBlockFormat());
            cursor.setCharFormat(QTextCharFormat());
            cursor.insertHtml(additions(r));
            return;
        }
    }
}

// The report's page laid out for the device, with the title block and the
// plots put in.
std::unique_ptr<QTextDocument> bookDocument(QPagedPaintDevice& device, const Results& results,
                                            const TitleBlock& block, PlotObject& plots,
                                            QSizeF body) {
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&device);
    doc->setDefaultFont(bookFont(kBodyPointSize));
    doc->setDocumentMargin(0);
    doc->setHtml(reportPage(results));
    doc->documentLayout()->registerHandler(kPlotObject, &plots);
    insertAdditions(*doc, results);

    const std::vector<QTextTable*> tables = tablesOf(*doc);
    for (QTextTable* table : tables)
        styleTable(table);
    // From the last to the first, so the positions found stay valid.
    for (int pair = static_cast<int>(kPlotPairs.size()) - 1; pair >= 0; --pair) {
        const auto index = static_cast<std::size_t>(kFirstResultTable + pair);
        if (index < tables.size())
            insertPlots(*doc, tables[index]->lastPosition() + 1, pair);
    }
    insertTitleBlock(*doc, block);
    doc->setPageSize(body);
    keepHeadingsWithTheirTables(*doc, body.height());
    return doc;
}

void paintPageFrame(QPainter& painter, const QRectF& page, const TitleBlock& block, int number,
                    int count, double mm) {
    painter.save();
    painter.setPen(QPen(Qt::black, 0.2 * mm));
    painter.setFont(bookFont(kHeaderPointSize));
    const QRectF header(page.left(), page.top(), page.width(), kHeaderMm * mm - 2 * mm);
    painter.drawText(header, Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("工程名称：") + block.projectName);
    painter.drawText(header, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("风振计算书"));
    painter.drawLine(QPointF(page.left(), header.bottom() + 0.8 * mm),
                     QPointF(page.right(), header.bottom() + 0.8 * mm));
    const QRectF footer(page.left(), page.bottom() - kFooterMm * mm + 2 * mm, page.width(),
                        kFooterMm * mm - 2 * mm);
    painter.drawText(footer, Qt::AlignHCenter | Qt::AlignTop,
                     QStringLiteral("第 %1 页 共 %2 页").arg(number).arg(count));
    painter.restore();
}

} // namespace

std::optional<Message> calculationBookRefusal(const Results& results) {
    return reportRefusal(results);
}

QPageLayout calculationBookPageLayout() {
    // A wider inner margin for binding.
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 12, 18, 12),
                       QPageLayout::Millimeter);
}

bool canPaintCalculationBook() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

int paintCalculationBook(QPagedPaintDevice& device, const Results& results,
                         const TitleBlock& block) {
    if (!canPaintCalculationBook() || calculationBookRefusal(results))
        return 0;
    const double mm = device.logicalDpiY() / 25.4;
    const QRectF page(0, 0, device.width(), device.height());
    const QSizeF body(page.width(), page.height() - (kHeaderMm + kFooterMm) * mm);
    if (body.width() <= 0 || body.height() <= 0)
        return 0;
    PlotObject plots(results, QSizeF(kPlotWidthMm * mm, kPlotHeightMm * mm),
                     device.logicalDpiY() / 96.0);
    const std::unique_ptr<QTextDocument> doc = bookDocument(device, results, block, plots, body);
    const int count = doc->pageCount();

    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !device.newPage())
            return 0;
        painter.save();
        painter.translate(0, kHeaderMm * mm - i * body.height());
        // The next page's text begins right at the bottom of this one: a
        // device pixel less keeps its first hairline off this page.
        doc->drawContents(&painter,
                          QRectF(QPointF(0, i * body.height()), body).adjusted(0, 0, 0, -1));
        painter.restore();
        paintPageFrame(painter, page, block, i + 1, count, mm);
    }
    painter.end();
    return count;
}

QByteArray calculationBookPdf(const Results& results, const TitleBlock& block) {
    if (!canPaintCalculationBook() || calculationBookRefusal(results))
        return {};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(calculationBookPageLayout());
        writer.setResolution(600);
        writer.setTitle(QStringLiteral("风振计算书 ") + block.projectName);
        writer.setCreator(qs(kAppTitle));
        if (paintCalculationBook(writer, results, block) == 0)
            return {};
    }
    QByteArray pdf = buffer.data();
    replaceInTextMaps(pdf, ideographsForRadicals(QRawFont::fromFont(QFont(kCjkFamily))));
    return pdf;
}

std::optional<Message> writeCalculationBookPdf(const Results& results, const TitleBlock& block,
                                               const QString& path) {
    if (auto refused = calculationBookRefusal(results))
        return refused;
    const QByteArray pdf = calculationBookPdf(results, block);
    if (pdf.isEmpty())
        return Message{"无法生成计算书！", "警告", Message::Icon::Exclamation};
    const std::optional<WriteFailure> failure = writeFileSafely(path, pdf);
    if (!failure)
        return std::nullopt;
    const std::string name = QDir::toNativeSeparators(path).toStdString();
    if (failure->kind == WriteFailure::Kind::NotRegularFile)
        return Message{"无法写入计算书文件“" + name + "”：它是文件夹、设备或管道，不是普通文件！",
                       "警告", Message::Icon::Exclamation};
    return Message{"无法写入计算书文件“" + name +
                       "”，请检查文件夹是否存在、是否有写入权限以及磁盘空间是否足够！",
                   "警告", Message::Icon::Exclamation};
}

} // namespace tamsor

#include "CalculationBook.moc"
