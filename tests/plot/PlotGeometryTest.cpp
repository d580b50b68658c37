#include "PlotGeometry.h"

#include <QtTest>

#include <cmath>

using tamsor::computePlotGeometry;
using tamsor::List;
using tamsor::PlotGeometry;

namespace {
bool near(double a, double b) {
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b));
}
} // namespace

#define QVERIFY_NEAR(a, b)                                                                         \
    QVERIFY2(near((a), (b)),                                                                       \
             qPrintable(QStringLiteral("%1 != %2").arg((a), 0, 'g', 17).arg((b), 0, 'g', 17)))

class PlotGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void positiveValuesGiveAxesFromSmallestValueAndZeroHeight();
    void mixedSignsUseTheSpanOfTheValues();
    void singlePoint();
    void zeroRangeIsOneUnitAroundTheValue();
    void neverReadsBeyondEitherList();
    void labelsAreLimitedToTheLabelArray();
    void nonFiniteValuesDrawNothing();
    void pixelMappingPutsAxesOnTheEdgesAndKeepsCirclesRound();
    void valueLabelsTurnAtTheRightBorderAndStayInside();
    void plotInWordsListsHeightsAndValues();
};

void PlotGeometryTest::positiveValuesGiveAxesFromSmallestValueAndZeroHeight() {
    const PlotGeometry g = computePlotGeometry({10, 20, 40}, {5, 10, 15});
    QVERIFY_NEAR(g.xr, 40.0);
    QVERIFY_NEAR(g.yr, 15.0);
    QVERIFY_NEAR(g.scale.left, 10.0);
    QVERIFY_NEAR(g.scale.width, 44.0);
    QVERIFY_NEAR(g.scale.right(), 54.0);
    QVERIFY_NEAR(g.scale.top, 16.5);
    QVERIFY_NEAR(g.scale.height, -16.5);
    QVERIFY_NEAR(g.scale.bottom(), 0.0);
    QVERIFY_NEAR(g.circleRadius, 40.0 / 60.0);

    QCOMPARE(g.points.size(), std::size_t{3});
    QCOMPARE(g.points[0], (tamsor::UserPoint{10, 5}));
    QCOMPARE(g.points[2], (tamsor::UserPoint{40, 15}));

    QCOMPARE(g.labels.size(), std::size_t{3});
    const char* texts[] = {"10.00", "20.00", "40.00"};
    const double lefts[] = {10.8, 20.8, 40.8};
    const double tops[] = {5, 10, 15};
    for (std::size_t i = 0; i < 3; ++i) {
        QCOMPARE(g.labels[i].text, std::string(texts[i]));
        QVERIFY_NEAR(g.labels[i].topLeft.x, lefts[i]);
        QVERIFY_NEAR(g.labels[i].topLeft.y, tops[i]);
    }
}

void PlotGeometryTest::mixedSignsUseTheSpanOfTheValues() {
    const PlotGeometry g = computePlotGeometry({-2, 1, 4}, {5, 10, 15});
    QVERIFY_NEAR(g.xr, 6.0);
    QVERIFY_NEAR(g.scale.left, -2.0);
    QVERIFY_NEAR(g.scale.right(), 4.6);
    QVERIFY_NEAR(g.circleRadius, 0.1);
    QCOMPARE(g.labels[0].text, std::string("-2.00"));
    QVERIFY_NEAR(g.labels[0].topLeft.x, -2.0 + 6.0 / 50.0);

    // Heights follow the same rule; the vertical axis still starts at 0.
    const PlotGeometry h = computePlotGeometry({1, 2}, {-5, 15});
    QVERIFY_NEAR(h.yr, 20.0);
    QVERIFY_NEAR(h.scale.top, 22.0);
    QVERIFY_NEAR(h.scale.bottom(), 0.0);
}

void PlotGeometryTest::singlePoint() {
    const PlotGeometry g = computePlotGeometry({3}, {20});
    QVERIFY_NEAR(g.scale.left, 3.0);
    QVERIFY_NEAR(g.scale.right(), 6.3);
    QVERIFY_NEAR(g.scale.top, 22.0);
    QVERIFY_NEAR(g.scale.bottom(), 0.0);
    QCOMPARE(g.points.size(), std::size_t{1});
    QCOMPARE(g.labels.size(), std::size_t{1});
    QCOMPARE(g.labels[0].text, std::string("3.00"));
    QVERIFY_NEAR(g.labels[0].topLeft.x, 3.0 + 3.0 / 50.0);
    QVERIFY_NEAR(g.labels[0].topLeft.y, 20.0);
}

void PlotGeometryTest::zeroRangeIsOneUnitAroundTheValue() {
    // Equal negative values: greatest minus smallest is 0.
    const PlotGeometry g = computePlotGeometry({-2, -2}, {5, 10});
    QVERIFY_NEAR(g.xr, 1.0);
    QVERIFY_NEAR(g.scale.width, 1.1);
    QVERIFY(g.scale.left < -2.0 && g.scale.right() > -2.0);
    QVERIFY_NEAR((g.scale.left + g.scale.right()) / 2, -2.0);
    QVERIFY_NEAR(g.circleRadius, 1.0 / 60.0);
    QCOMPARE(g.labels[1].text, std::string("-2.00"));
    QVERIFY_NEAR(g.labels[1].topLeft.x, -2.0 + 1.0 / 50.0);
    // The heights keep their normal axis.
    QVERIFY_NEAR(g.scale.top, 11.0);

    // Every value 0, a single point at height 0: both axes one unit around it.
    const PlotGeometry z = computePlotGeometry({0}, {0});
    QVERIFY_NEAR(z.xr, 1.0);
    QVERIFY_NEAR(z.yr, 1.0);
    QVERIFY(z.scale.width > 0 && z.scale.height < 0);
    QVERIFY_NEAR((z.scale.left + z.scale.right()) / 2, 0.0);
    QVERIFY_NEAR((z.scale.top + z.scale.bottom()) / 2, 0.0);
    QCOMPARE(z.labels[0].text, std::string("0.00"));

    // A single negative value.
    const PlotGeometry n = computePlotGeometry({-4.5}, {12});
    QVERIFY(n.scale.width > 0);
    QVERIFY(n.scale.left < -4.5 && n.scale.right() > -4.5);
}

void PlotGeometryTest::neverReadsBeyondEitherList() {
    const PlotGeometry moreValues = computePlotGeometry({1, 2, 3, 100}, {5, 10, 15});
    QCOMPARE(moreValues.points.size(), std::size_t{3});
    QVERIFY_NEAR(moreValues.xr, 3.0); // the fourth value takes no part
    const PlotGeometry moreHeights = computePlotGeometry({1, 2}, {5, 10, 150});
    QCOMPARE(moreHeights.points.size(), std::size_t{2});
    QVERIFY_NEAR(moreHeights.yr, 10.0);
    const PlotGeometry empty = computePlotGeometry({}, {5});
    QVERIFY(empty.points.empty());
    QVERIFY(empty.labels.empty());
    QVERIFY(empty.scale.width > 0 && empty.scale.height < 0);
}

void PlotGeometryTest::labelsAreLimitedToTheLabelArray() {
    List x, y;
    for (int i = 0; i < 25; ++i) {
        x.push_back(i + 1);
        y.push_back(2.0 * (i + 1));
    }
    const PlotGeometry g = computePlotGeometry(x, y);
    QCOMPARE(g.points.size(), std::size_t{25});
    QCOMPARE(g.labels.size(), std::size_t{tamsor::kPlotLabelCount});
}

void PlotGeometryTest::nonFiniteValuesDrawNothing() {
    const PlotGeometry g = computePlotGeometry({1, NAN, 3}, {5, 10, 15});
    QVERIFY(g.points.empty());
    QVERIFY(g.labels.empty());
    QVERIFY(std::isfinite(g.scale.width) && g.scale.width > 0);
    QVERIFY(computePlotGeometry({1, 2}, {5, INFINITY}).points.empty());
}

void PlotGeometryTest::pixelMappingPutsAxesOnTheEdgesAndKeepsCirclesRound() {
    const PlotGeometry g = computePlotGeometry({10, 20, 40}, {5, 10, 15});
    QVERIFY_NEAR(tamsor::userToPixelX(g.scale, 10, 245), 0.0);
    QVERIFY_NEAR(tamsor::userToPixelX(g.scale, 54, 245), 245.0);
    QVERIFY_NEAR(tamsor::userToPixelY(g.scale, 16.5, 511), 0.0);
    QVERIFY_NEAR(tamsor::userToPixelY(g.scale, 0, 511), 511.0);
    // Higher points are drawn higher up.
    QVERIFY(tamsor::userToPixelY(g.scale, 15, 511) < tamsor::userToPixelY(g.scale, 5, 511));
    // A radius of xr / 60 is 1/66 of the width, in both directions.
    QVERIFY_NEAR(tamsor::horizontalLengthToPixels(g.scale, g.circleRadius, 660), 10.0);
    // A scale without extent maps to 0 instead of dividing by zero.
    const tamsor::PlotScale flat{0, 0, 0, 0};
    QCOMPARE(tamsor::userToPixelX(flat, 5, 100), 0.0);
    QCOMPARE(tamsor::userToPixelY(flat, 5, 100), 0.0);
}

void PlotGeometryTest::valueLabelsTurnAtTheRightBorderAndStayInside() {
    // Axes 10..54 over 440 px and 0..16.5 m over 165 px: 10 px per unit both
    // ways, so the label gap xr / 50 = 0.8 is 8 px (worked out by hand).
    const PlotGeometry g = computePlotGeometry({10, 20, 40}, {5, 10, 15});
    const auto place = [&](std::size_t i, double w, double h) {
        return tamsor::placeValueLabel(g, i, w, h, 440, 165);
    };
    // Room on the right: 8 px right of the point, top at its height.
    tamsor::PixelRect r = place(1, 60, 20);
    QVERIFY_NEAR(r.left, 108.0);
    QVERIFY_NEAR(r.top, 65.0);
    // 308 + 140 would cross 440: right edge 8 px left of the point at 300.
    r = place(2, 140, 20);
    QVERIFY_NEAR(r.right(), 292.0);
    QVERIFY_NEAR(r.top, 15.0);
    // Too tall to hang down from 115 px: lifted onto the bottom border.
    r = place(0, 60, 60);
    QVERIFY_NEAR(r.bottom(), 165.0);
    QVERIFY_NEAR(r.left, 8.0);
    // Too wide for either side, or for the whole plot: kept inside, cut.
    r = place(2, 400, 20);
    QVERIFY_NEAR(r.left, 0.0);
    QVERIFY_NEAR(r.width, 400.0);
    r = place(2, 500, 200);
    QVERIFY_NEAR(r.left, 0.0);
    QVERIFY_NEAR(r.width, 440.0);
    QVERIFY_NEAR(r.top, 0.0);
    QVERIFY_NEAR(r.height, 165.0);
}

void PlotGeometryTest::plotInWordsListsHeightsAndValues() {
    QCOMPARE(tamsor::describePlot(computePlotGeometry({10, 20.5}, {5, 12.25})),
             std::string("高度5.00m：10.00；高度12.25m：20.50"));
    QCOMPARE(tamsor::describePlot(computePlotGeometry({}, {})), std::string());
}

QTEST_APPLESS_MAIN(PlotGeometryTest)
#include "PlotGeometryTest.moc"
