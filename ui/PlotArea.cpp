#include "PlotArea.h"

#include "PlotPainter.h"
#include "SafeWrite.h"

#include <QBuffer>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QSvgGenerator>

#include <cstddef>

namespace tamsor {

PlotArea::PlotArea(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    for (std::size_t i = 0; i < labels_.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("pointLabel%1").arg(i));
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->hide();
        labels_[i] = label;
    }

    staleVeil_ = new QLabel(QStringLiteral("此图为修改输入之前的计算结果，\n请重新计算。"), this);
    staleVeil_->setObjectName(QStringLiteral("staleCaption"));
    staleVeil_->setAlignment(Qt::AlignCenter);
    staleVeil_->setWordWrap(true);
    staleVeil_->setAttribute(Qt::WA_TransparentForMouseEvents);
    staleVeil_->setAutoFillBackground(true);
    QPalette veil = staleVeil_->palette();
    veil.setColor(QPalette::Window, QColor(255, 255, 255, 200));
    veil.setColor(QPalette::WindowText, QColor(160, 0, 0));
    staleVeil_->setPalette(veil);
    QFont bold = staleVeil_->font();
    bold.setBold(true);
    staleVeil_->setFont(bold);
    staleVeil_->hide();
}

void PlotArea::cls() {
    canvas_.cls();
    updateStaleVeil();
    update();
}

void PlotArea::setStale(bool stale) {
    stale_ = stale;
    updateStaleVeil();
}

void PlotArea::updateStaleVeil() {
    const bool veiled = stale_ && !canvas_.primitives().empty();
    if (veiled) {
        staleVeil_->setGeometry(contentsRect());
        staleVeil_->raise(); // over the value labels and axis captions too
    }
    staleVeil_->setVisible(veiled);
}

void PlotArea::setScale(const PlotScale& scale) {
    canvas_.setScale(scale);
    update();
}

void PlotArea::drawCurve(const PlotGeometry& g) {
    tamsor::drawCurve(canvas_, g);
    updateStaleVeil();
    update();
}

QLabel* PlotArea::pointLabel(int index) const {
    if (index < 0 || index >= kPlotLabelCount)
        return nullptr;
    return labels_[static_cast<std::size_t>(index)];
}

QPointF PlotArea::toPixels(UserPoint p) const {
    const QRect inner = contentsRect();
    return QPointF(inner.left() + userToPixelX(scale(), p.x, inner.width()),
                   inner.top() + userToPixelY(scale(), p.y, inner.height()));
}

void PlotArea::placeLabel(int index, const PlotGeometry& g) {
    QLabel* label = pointLabel(index);
    if (label == nullptr || static_cast<std::size_t>(index) >= g.labels.size())
        return;
    label->adjustSize();
    const QRect inner = contentsRect();
    const PixelRect r = placeValueLabel(g, static_cast<std::size_t>(index), label->width(),
                                        label->height(), inner.width(), inner.height());
    // The sizes are whole pixels, so rounding keeps the label inside.
    const QRect place(inner.left() + qRound(r.left), inner.top() + qRound(r.top), qRound(r.width),
                      qRound(r.height));
    if (place.width() < label->width())
        label->setText(
            label->fontMetrics().elidedText(label->text(), Qt::ElideRight, place.width()));
    label->setGeometry(place);
}

std::optional<WriteFailure> PlotArea::saveImage(const QString& fileName) {
    // Through the safe write like the project files: a pipe chosen in the
    // file dialog is refused instead of blocking the window until someone
    // reads it.
    const QPixmap image = grab();
    return writeFileSafely(fileName,
                           [&image](QIODevice& device) { return image.save(&device, "PNG"); });
}

std::optional<WriteFailure> PlotArea::saveSvg(const QString& fileName) {
    const QByteArray drawing = svg();
    if (drawing.isEmpty())
        return WriteFailure{WriteFailure::Kind::CannotWrite, QString()};
    return writeFileSafely(fileName, drawing);
}

QByteArray PlotArea::svg() {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size());
    generator.setViewBox(rect());
    generator.setTitle(accessibleName());
    generator.setDescription(accessibleDescription());
    QPainter painter;
    if (!painter.begin(&generator))
        return {};
    render(&painter);
    painter.end();
    return buffer.data();
}

void PlotArea::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    paintCanvas(painter, contentsRect(), canvas_);
}

} // namespace tamsor
