#include "CalculationBook.h"

#include "BookLayout.h"
#include "HtmlReport.h"
#include "PdfTextMapping.h"
#include "SafeWrite.h"
#include "TamsorVersion.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>

namespace tamsor {

namespace {

const QString kCjkFamily = QStringLiteral("Noto Sans CJK SC");

constexpr double kHeaderPointSize = 8.0;
constexpr double kHeaderMm = 9; // band of the page header, above the text
constexpr double kFooterMm = 9; // band of the page numbers, below the text

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
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

BookLayout calculationBookLayout(const QPaintDevice& device, const Results& results,
                                 const TitleBlock& block, const ReportContact& contact) {
    const double mm = device.logicalDpiY() / 25.4;
    const QSizeF body(device.width(), device.height() - (kHeaderMm + kFooterMm) * mm);
    if (body.width() <= 0 || body.height() <= 0)
        return {};
    return layOutBook(describeReport(results, contact), block, device, body);
}

int paintCalculationBook(QPagedPaintDevice& device, const Results& results, const TitleBlock& block,
                         const ReportContact& contact) {
    if (!canPaintCalculationBook() || calculationBookRefusal(results))
        return 0;
    const double mm = device.logicalDpiY() / 25.4;
    const QRectF page(0, 0, device.width(), device.height());
    const BookLayout book = calculationBookLayout(device, results, block, contact);
    const int count = static_cast<int>(book.pages.size());
    if (count == 0)
        return 0;

    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !device.newPage())
            return 0;
        painter.save();
        painter.translate(0, kHeaderMm * mm);
        paintBookPage(painter, book.pages[static_cast<std::size_t>(i)], results,
                      device.logicalDpiY() / 96.0);
        painter.restore();
        paintPageFrame(painter, page, block, i + 1, count, mm);
    }
    painter.end();
    return count;
}

QByteArray calculationBookPdf(const Results& results, const TitleBlock& block,
                              const ReportContact& contact) {
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
        if (paintCalculationBook(writer, results, block, contact) == 0)
            return {};
    }
    QByteArray pdf = buffer.data();
    replaceInTextMaps(pdf, ideographsForRadicals(QRawFont::fromFont(QFont(kCjkFamily))));
    return pdf;
}

std::optional<Message> writeCalculationBookPdf(const Results& results, const TitleBlock& block,
                                               const QString& path, const ReportContact& contact) {
    if (auto refused = calculationBookRefusal(results))
        return refused;
    const QByteArray pdf = calculationBookPdf(results, block, contact);
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
