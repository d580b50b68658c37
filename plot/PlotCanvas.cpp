#include "PlotCanvas.h"

namespace tamsor {

void PlotCanvas::cls() {
    primitives_.clear();
    current_ = UserPoint{};
}

void PlotCanvas::setScale(const PlotScale& scale) {
    if (scale.width == 0.0 || scale.height == 0.0)
        return;
    scale_ = scale;
}

void PlotCanvas::lineTo(UserPoint p) {
    primitives_.push_back(Primitive{Primitive::Kind::Line, current_, p, 0.0});
    current_ = p;
}

void PlotCanvas::circle(UserPoint p, double radius) {
    primitives_.push_back(Primitive{Primitive::Kind::Circle, p, p, radius});
    current_ = p;
}

void drawCurve(PlotCanvas& canvas, const PlotGeometry& g) {
    canvas.setScale(g.scale);
    if (g.points.empty())
        return;
    canvas.setCurrentPosition(g.points.front());
    for (const UserPoint& p : g.points) {
        canvas.lineTo(p);
        canvas.circle(p, g.circleRadius);
    }
}

} // namespace tamsor
