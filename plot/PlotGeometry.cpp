#include "PlotGeometry.h"

#include "NumberFormat.h"
#include "NumericHelpers.h"

#include <algorithm>
#include <cmath>

namespace tamsor {

namespace {

constexpr double kMargin = 1.1;         // the axes run over 1.1 times the range
constexpr double kCircleDivisor = 60;   // circle radius = xr / 60
constexpr double kLabelGapDivisor = 50; // labels start xr / 50 right of the point

bool allFinite(const List& values, std::size_t count) {
    return std::all_of(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(count),
                       [](double v) { return std::isfinite(v); });
}

} // namespace

double plotRange(const List& values) {
    if (values.empty())
        return 0.0;
    const double max = arrayMax(values);
    const double min = arrayMin(values);
    return min >= 0.0 ? max : max - min;
}

PlotGeometry computePlotGeometry(const List& x, const List& y) {
    PlotGeometry g;
    const std::size_t n = std::min(x.size(), y.size());
    if (n == 0 || !allFinite(x, n) || !allFinite(y, n)) {
        g.xr = 1.0;
        g.yr = 1.0;
        g.scale = PlotScale{0.0, kMargin, kMargin, -kMargin};
        g.circleRadius = g.xr / kCircleDivisor;
        return g;
    }

    const List xs(x.begin(), x.begin() + static_cast<std::ptrdiff_t>(n));
    const List ys(y.begin(), y.begin() + static_cast<std::ptrdiff_t>(n));

    g.xr = plotRange(xs);
    double left = arrayMin(xs);
    if (!(g.xr > 0.0) || !std::isfinite(g.xr)) {
        // Every value equal and none positive: one unit around the value.
        g.xr = 1.0;
        left = xs.front() - kMargin * g.xr / 2.0;
    }
    g.yr = plotRange(ys);
    double top = kMargin * g.yr;
    if (!(g.yr > 0.0) || !std::isfinite(g.yr)) {
        g.yr = 1.0;
        top = ys.front() + kMargin * g.yr / 2.0;
    }

    g.scale = PlotScale{left, top, kMargin * g.xr, -kMargin * g.yr};
    g.circleRadius = g.xr / kCircleDivisor;

    g.points.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        g.points.push_back(UserPoint{xs[i], ys[i]});

    const std::size_t labelCount = std::min(n, static_cast<std::size_t>(kPlotLabelCount));
    g.labels.reserve(labelCount);
    for (std::size_t i = 0; i < labelCount; ++i)
        g.labels.push_back(
            PlotLabel{formatFixed(xs[i], 2), UserPoint{xs[i] + g.xr / kLabelGapDivisor, ys[i]}});
    return g;
}

PixelRect placeValueLabel(const PlotGeometry& g, std::size_t i, double labelWidth,
                          double labelHeight, double areaWidth, double areaHeight) {
    const PlotLabel& label = g.labels.at(i);
    const double pointX = userToPixelX(g.scale, g.points.at(i).x, areaWidth);
    areaWidth = std::max(areaWidth, 0.0);
    areaHeight = std::max(areaHeight, 0.0);
    PixelRect r;
    r.width = std::clamp(labelWidth, 0.0, areaWidth);
    r.height = std::clamp(labelHeight, 0.0, areaHeight);
    r.left = userToPixelX(g.scale, label.topLeft.x, areaWidth);
    if (r.right() > areaWidth)
        r.left = pointX - (r.left - pointX) - r.width;
    r.left = std::clamp(r.left, 0.0, areaWidth - r.width);
    r.top =
        std::clamp(userToPixelY(g.scale, label.topLeft.y, areaHeight), 0.0, areaHeight - r.height);
    return r;
}

AxisCaptionPlaces placeAxisCaptions(double areaWidth, double areaHeight, double heightWidth,
                                    double heightHeight, double valueWidth, double valueHeight,
                                    double pixel) {
    return AxisCaptionPlaces{PixelRect{4 * pixel, 4 * pixel, heightWidth, heightHeight},
                             PixelRect{(areaWidth - valueWidth) / 2,
                                       areaHeight - valueHeight - 3 * pixel, valueWidth,
                                       valueHeight}};
}

std::string describePlot(const PlotGeometry& g) {
    std::string text;
    for (std::size_t i = 0; i < g.labels.size(); ++i) {
        if (i > 0)
            text += "；";
        text += "高度" + formatFixed(g.points[i].y, 2) + "m：" + g.labels[i].text;
    }
    return text;
}

double userToPixelX(const PlotScale& scale, double x, double pixelWidth) {
    if (scale.width == 0.0)
        return 0.0;
    return (x - scale.left) / scale.width * pixelWidth;
}

double userToPixelY(const PlotScale& scale, double y, double pixelHeight) {
    if (scale.height == 0.0)
        return 0.0;
    return (y - scale.top) / scale.height * pixelHeight;
}

double horizontalLengthToPixels(const PlotScale& scale, double length, double pixelWidth) {
    if (scale.width == 0.0)
        return 0.0;
    return std::abs(length / scale.width * pixelWidth);
}

} // namespace tamsor
