#include "PlotArea.h"

#include "SafeWrite.h"

#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

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
}

void PlotArea::cls() {
    primitives_.clear();
    current_ = UserPoint{};
    update();
}

void PlotArea::setScale(const PlotScale& scale) {
    // A coordinate system without extent cannot be drawn on; keep the old one.
    if (scale.width == 0.0 || scale.height == 0.0)
        return;
    scale_ = scale;
    update();
}

void PlotArea::lineTo(UserPoint p) {
    primitives_.push_back(Primitive{Primitive::Kind::Line, current_, p, 0.0});
    current_ = p;
    update();
}

void PlotArea::circle(UserPoint p, double radius) {
    primitives_.push_back(Primitive{Primitive::Kind::Circle, p, p, radius});
    current_ = p;
    update();
}

QLabel* PlotArea::pointLabel(int index) const {
    if (index < 0 || index >= kPlotLabelCount)
        return nullptr;
    return labels_[static_cast<std::size_t>(index)];
}

QPointF PlotArea::toPixels(UserPoint p) const {
    const QRect inner = contentsRect();
    return QPointF(inner.left() + userToPixelX(scale_, p.x, inner.width()),
                   inner.top() + userToPixelY(scale_, p.y, inner.height()));
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

bool PlotArea::saveImage(const QString& fileName) {
    if (fileName.isEmpty())
        return false;
    QString name = fileName;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".png");
    // Through the safe write like the project files: a pipe chosen in the
    // file dialog is refused instead of blocking the window until someone
    // reads it.
    const QPixmap image = grab();
    return !writeFileSafely(name,
                            [&image](QIODevice& device) { return image.save(&device, "PNG"); });
}

void PlotArea::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(Qt::NoBrush);
    painter.setClipRect(contentsRect());
    const double pixelWidth = contentsRect().width();
    for (const Primitive& p : primitives_) {
        if (p.kind == Primitive::Kind::Line) {
            painter.drawLine(toPixels(p.from), toPixels(p.to));
        } else {
            const double r = horizontalLengthToPixels(scale_, p.radius, pixelWidth);
            painter.drawEllipse(toPixels(p.from), r, r);
        }
    }
}

} // namespace tamsor
