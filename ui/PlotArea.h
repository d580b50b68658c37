#pragma once

#include "PlotGeometry.h"

#include <QFrame>
#include <QString>

#include <array>
#include <vector>

class QLabel;

namespace tamsor {

// A picture box for the result plots: a user coordinate system, a current
// drawing position, lines and circles recorded in user coordinates and painted
// on every repaint, and the twenty point value labels that are its children.
class PlotArea : public QFrame {
    Q_OBJECT
public:
    struct Primitive {
        enum class Kind { Line, Circle };
        Kind kind = Kind::Line;
        UserPoint from;      // line start, or the circle's centre
        UserPoint to;        // line end (unused for circles)
        double radius = 0.0; // circle radius in horizontal user units
    };

    explicit PlotArea(QWidget* parent = nullptr);

    // Erases the drawing (the labels are left alone).
    void cls();
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

    // Point value label i (0..19), a child of this area.
    QLabel* pointLabel(int index) const;
    // Places label i, sized to its text, where placeValueLabel puts the label
    // of point i of g: always inside the drawing rectangle (contentsRect).
    // A text longer than the whole rectangle is cut with an ellipsis.
    void placeLabel(int index, const PlotGeometry& g);

    // User coordinates to pixels of this widget (its frame border included).
    QPointF toPixels(UserPoint p) const;

    // Saves the area as it is shown as a PNG image; ".png" is appended when the
    // name has no suffix. False when the file could not be written (nothing
    // that is not a regular file is ever replaced).
    bool saveImage(const QString& fileName);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PlotScale scale_;
    UserPoint current_;
    std::vector<Primitive> primitives_;
    std::array<QLabel*, kPlotLabelCount> labels_{};
};

} // namespace tamsor
