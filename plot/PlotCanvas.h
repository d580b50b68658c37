#pragma once

#include "PlotGeometry.h"

#include <vector>

namespace tamsor {

// What a plot area has drawn: its user coordinate system, its current
// drawing position and the lines and circles drawn since it was last cleared,
// in user coordinates. The window's plot areas, the calculation book and the
// plot files all paint from it.
class PlotCanvas {
public:
    struct Primitive {
        enum class Kind { Line, Circle };
        Kind kind = Kind::Line;
        UserPoint from;      // line start, or the circle's centre
        UserPoint to;        // line end (unused for circles)
        double radius = 0.0; // circle radius in horizontal user units
    };

    // Erases the drawing.
    void cls();
    // A coordinate system without extent cannot be drawn on: the old one is
    // kept.
    void setScale(const PlotScale& scale);
    const PlotScale& scale() const { return scale_; }
    void setCurrentPosition(UserPoint p) { current_ = p; }
    UserPoint currentPosition() const { return current_; }
    // A straight line from the current position to p, which becomes current.
    void lineTo(UserPoint p);
    // A circle of `radius` horizontal units around p, round on screen. The
    // current position stays at the centre.
    void circle(UserPoint p, double radius);

    const std::vector<Primitive>& primitives() const { return primitives_; }

private:
    PlotScale scale_;
    UserPoint current_;
    std::vector<Primitive> primitives_;
};

// Draws the curve of g: the coordinate system of g, then from the first point
// on a line to each point in turn and a circle around it. Nothing but the
// coordinate system when g has no points.
void drawCurve(PlotCanvas& canvas, const PlotGeometry& g);

} // namespace tamsor
