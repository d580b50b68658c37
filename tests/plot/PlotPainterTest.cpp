// The plots' drawing code, painted into an image: lines, circles and value
// labels where the plot's coordinates put them.
//
// Values 10, 20, 40 at heights 5, 10, 15: the horizontal axis runs from 10 to
// 10 + 1.1 * 40 = 54, the vertical one from 0 to 1.1 * 15 = 16.5, circles have
// a radius of 40 / 60 units. In a drawing rectangle of 440 x 330 pixels at
// (20, 10) that is 10 pixels per unit across and 20 per metre up, so the
// point (20, 10) lies at (20 + 100, 10 + 130) and the middle of the first
// line, (15, 7.5), at (20 + 50, 10 + 180).
#include "PlotPainter.h"
#include "PlotCanvas.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace tamsor;

namespace {

bool dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

bool redNear(const QImage& image, const QRect& box) {
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 100 && c.blue() < 100)
                return true;
        }
    return false;
}

} // namespace

class PlotPainterTest : public QObject {
    Q_OBJECT
private slots:
    void paintsTheCurveAndItsLabelsWhereTheCoordinatesPutThem();
};

void PlotPainterTest::paintsTheCurveAndItsLabelsWhereTheCoordinatesPutThem() {
    const PlotGeometry g = computePlotGeometry({10, 20, 40}, {5, 10, 15});
    QImage image(480, 350, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
        QPainter painter(&image);
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        paintPlot(painter, QRectF(20, 10, 440, 330), g, QStringLiteral("高度/m"),
                  QStringLiteral("平均风荷载 /KN"), 2.0);
    }
    QVERIFY(dark(image, 70, 190));                       // middle of the first line
    QVERIFY(dark(image, 127, 140));                      // the circle around (120, 140), radius 6.7
    QVERIFY(!dark(image, 120, 136));                     // ... which is not filled
    QVERIFY(!dark(image, 300, 250));                     // white ground away from the curve
    QCOMPARE(image.pixelColor(10, 5), QColor(Qt::gray)); // nothing outside
    // The value label "20.00" stands right of its point, 40 / 50 units on.
    QVERIFY(redNear(image, QRect(128, 140, 40, 14)));

    // The window paints the same canvas: the same first line.
    PlotCanvas canvas;
    drawCurve(canvas, g);
    QCOMPARE(canvas.primitives().size(), std::size_t{6});
    QImage window(480, 350, QImage::Format_RGB32);
    window.fill(Qt::white);
    {
        QPainter painter(&window);
        painter.setPen(QPen(Qt::black, 2));
        paintCanvas(painter, QRectF(20, 10, 440, 330), canvas);
    }
    QVERIFY(dark(window, 70, 190));
}

QTEST_MAIN(PlotPainterTest)
#include "PlotPainterTest.moc"
