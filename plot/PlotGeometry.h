#pragma once

#include "ParsedInput.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tamsor {

// Number of point value labels of each plot area (LabelX / LabelX2).
inline constexpr int kPlotLabelCount = 20;

// A point in the user coordinates of a plot area: the plotted value
// horizontally, the height in metres vertically.
struct UserPoint {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const UserPoint&, const UserPoint&) = default;
};

// The user coordinate system of a plot area: the user coordinates of its left
// and top edges and its extent in user units. The height is negative, so the
// vertical axis points upwards.
struct PlotScale {
    double left = 0.0;
    double top = 0.0;
    double width = 1.0;
    double height = -1.0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

// The value label of one mass point: its text and the user coordinates of its
// top-left corner.
struct PlotLabel {
    std::string text;
    UserPoint topLeft;
};

// Everything one curve needs, worked out without any drawing surface.
struct PlotGeometry {
    double xr = 0.0; // horizontal range, never 0
    double yr = 0.0; // vertical range, never 0
    PlotScale scale;
    double circleRadius = 0.0;     // in horizontal user units (xr / 60)
    std::vector<UserPoint> points; // one per plotted mass point, in order
    std::vector<PlotLabel> labels; // one per point, at most kPlotLabelCount
};

// The range of a list for the axes: the greatest element when no element is
// negative, otherwise greatest minus smallest. An empty list gives 0.
[[nodiscard]] double plotRange(const List& values);

// The geometry of values x drawn against heights y. Only the first
// min(x.size(), y.size()) elements are used, so nothing beyond either list is
// read. The axes are: horizontally from arrayMin(x) over 1.1 * xr; vertically
// from 0 up to 1.1 * yr. A range of 0 (every value the same, with none
// positive) would give an axis of no length: then the range is one unit
// placed around the value, so the curve is still drawn. Points and labels stay
// empty when there is nothing to draw (no point, or a value that is not a
// finite number).
[[nodiscard]] PlotGeometry computePlotGeometry(const List& x, const List& y);

// A rectangle in pixels of a plot's drawing rectangle, whose top-left corner
// is (0, 0).
struct PixelRect {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

// Where the value label of point i stands in a drawing rectangle of
// areaWidth x areaHeight pixels, for a label of labelWidth x labelHeight
// pixels as the widget measures it. Its place is labels[i].topLeft: right of
// the point, hanging down from its height. A label that would cross the right
// border stands on the other side of its point, as far from it; whatever
// still crosses a border is shifted inside. The result never leaves the
// drawing rectangle: a label larger than the rectangle is cut to its size.
[[nodiscard]] PixelRect placeValueLabel(const PlotGeometry& g, std::size_t i, double labelWidth,
                                        double labelHeight, double areaWidth, double areaHeight);

// Where the two axis captions of a plot stand in its drawing rectangle of
// areaWidth x areaHeight: the height caption in the top left corner, the value
// caption centred along the bottom edge, each `pixel` x 4 (3 at the bottom)
// from the border, where `pixel` is the size of a screen pixel in the units
// of the area.
struct AxisCaptionPlaces {
    PixelRect height;
    PixelRect value;
};
[[nodiscard]] AxisCaptionPlaces placeAxisCaptions(double areaWidth, double areaHeight,
                                                  double heightWidth, double heightHeight,
                                                  double valueWidth, double valueHeight,
                                                  double pixel = 1.0);

// The plotted values in words, for a screen reader: the height and the value
// of every labelled point in the order drawn, for example
// "高度10.00m：20.00；高度20.00m：40.00". Empty when nothing is drawn.
[[nodiscard]] std::string describePlot(const PlotGeometry& g);

// Maps user coordinates to pixels of an area of pixelWidth x pixelHeight.
// A scale of zero extent maps everything to 0.
[[nodiscard]] double userToPixelX(const PlotScale& scale, double x, double pixelWidth);
[[nodiscard]] double userToPixelY(const PlotScale& scale, double y, double pixelHeight);
// A length in horizontal user units as pixels (circle radii: a circle is round
// on screen whatever the two scales are).
[[nodiscard]] double horizontalLengthToPixels(const PlotScale& scale, double length,
                                              double pixelWidth);

} // namespace tamsor
