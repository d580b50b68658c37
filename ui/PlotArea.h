#pragma once

#include "PlotCanvas.h"
#include "PlotGeometry.h"
#include "SafeWrite.h"

#include <QFrame>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class QLabel;

namespace tamsor {

// A picture box for the result plots: a canvas (user coordinate system,
// current drawing position, lines and circles in user coordinates) painted on
// every repaint by the plots' shared drawing code, and the twenty point value
// labels that are its children.
class PlotArea : public QFrame {
    Q_OBJECT
public:
    using Primitive = PlotCanvas::Primitive;

    explicit PlotArea(QWidget* parent = nullptr);

    const PlotCanvas& canvas() const { return canvas_; }
    // Erases the drawing (the labels are left alone).
    void cls();
    // A coordinate system without extent cannot be drawn on; the old one stays.
    void setScale(const PlotScale& scale);
    const PlotScale& scale() const { return canvas_.scale(); }
    // Draws the curve of g (drawCurve): its coordinate system, lines and
    // circles.
    void drawCurve(const PlotGeometry& g);

    const std::vector<Primitive>& primitives() const { return canvas_.primitives(); }

    // Whether the drawing shows results that no longer belong to the input.
    // While something stale is drawn, a pale veil covers it, its curve and
    // labels, with a caption that says so.
    void setStale(bool stale);
    bool isStale() const { return stale_; }

    // Point value label i (0..19), a child of this area.
    QLabel* pointLabel(int index) const;
    // Places label i, sized to its text, where placeValueLabel puts the label
    // of point i of g: always inside the drawing rectangle (contentsRect).
    // A text longer than the whole rectangle is cut with an ellipsis.
    void placeLabel(int index, const PlotGeometry& g);

    // User coordinates to pixels of this widget (its frame border included).
    QPointF toPixels(UserPoint p) const;

    // Saves the area as it is shown as a PNG image through the safe write
    // (nothing that is not a regular file is ever replaced). Nothing when the
    // file was written, else why not.
    std::optional<WriteFailure> saveImage(const QString& fileName);
    // The area as it is shown, as an SVG drawing: every line, circle and label
    // as a vector. Empty when it cannot be drawn.
    QByteArray svg();
    // Saves svg() through the safe write. Nothing when the file was written,
    // else why not.
    std::optional<WriteFailure> saveSvg(const QString& fileName);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void updateStaleVeil();

    PlotCanvas canvas_;
    std::array<QLabel*, kPlotLabelCount> labels_{};
    QLabel* staleVeil_ = nullptr;
    bool stale_ = false;
};

} // namespace tamsor
