#include "PlotPainter.h"

#include <QFontMetricsF>
#include <QPainter>

namespace tamsor {

namespace {

QPointF toDevice(const QRectF& rect, const PlotScale& scale, UserPoint p) {
    return QPointF(rect.left() + userToPixelX(scale, p.x, rect.width()),
                   rect.top() + userToPixelY(scale, p.y, rect.height()));
}

QRectF toDevice(const QRectF& rect, const PixelRect& r) {
    return QRectF(rect.left() + r.left, rect.top() + r.top, r.width, r.height);
}

} // namespace

void paintCanvas(QPainter& painter, const QRectF& rect, const PlotCanvas& canvas) {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    painter.setClipRect(rect, Qt::IntersectClip);
    const PlotScale& scale = canvas.scale();
    for (const PlotCanvas::Primitive& p : canvas.primitives()) {
        if (p.kind == PlotCanvas::Primitive::Kind::Line) {
            painter.drawLine(toDevice(rect, scale, p.from), toDevice(rect, scale, p.to));
        } else {
            const double r = horizontalLengthToPixels(scale, p.radius, rect.width());
            painter.drawEllipse(toDevice(rect, scale, p.from), r, r);
        }
    }
    painter.restore();
}

void paintPlot(QPainter& painter, const QRectF& rect, const PlotGeometry& g,
               const QString& heightCaption, const QString& valueCaption, double pixel) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, Qt::white);
    painter.setPen(QPen(Qt::black, pixel));
    // The frame's line stays inside the rectangle.
    painter.drawRect(rect.adjusted(pixel / 2, pixel / 2, -pixel / 2, -pixel / 2));

    PlotCanvas canvas;
    drawCurve(canvas, g);
    paintCanvas(painter, rect, canvas);

    const QFontMetricsF metrics(painter.font(), painter.device());
    const auto textSize = [&](const QString& text) {
        return QSizeF(metrics.horizontalAdvance(text) + 2 * pixel, metrics.height());
    };
    painter.setPen(QColor(255, 0, 0));
    for (std::size_t i = 0; i < g.labels.size(); ++i) {
        const QString text = QString::fromStdString(g.labels[i].text);
        const QSizeF size = textSize(text);
        const QRectF place = toDevice(
            rect, placeValueLabel(g, i, size.width(), size.height(), rect.width(), rect.height()));
        painter.drawText(place, Qt::AlignCenter,
                         metrics.elidedText(text, Qt::ElideRight, place.width()));
    }

    painter.setPen(Qt::black);
    const QSizeF height = textSize(heightCaption);
    const QSizeF value = textSize(valueCaption);
    const AxisCaptionPlaces places =
        placeAxisCaptions(rect.width(), rect.height(), height.width(), height.height(),
                          value.width(), value.height(), pixel);
    painter.drawText(toDevice(rect, places.height), Qt::AlignCenter, heightCaption);
    painter.drawText(toDevice(rect, places.value), Qt::AlignCenter, valueCaption);
    painter.restore();
}

} // namespace tamsor
