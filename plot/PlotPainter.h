#pragma once

#include "PlotCanvas.h"
#include "PlotGeometry.h"

#include <QRectF>
#include <QString>

class QPainter;

namespace tamsor {

// The drawing of the result plots, the same on the screen, in the calculation
// book, on paper and in SVG files. Everything is drawn as lines, ellipses and
// text, so a vector device keeps it as vectors.

// The canvas's lines and circles in the drawing rectangle `rect` (in the
// painter's units), with the painter's pen; clipped to the rectangle.
void paintCanvas(QPainter& painter, const QRectF& rect, const PlotCanvas& canvas);

// A whole plot as the window shows it: a white ground with a frame, the curve
// of g, the value of each point in red where the window puts its value
// labels, and the two axis captions. `pixel` is the size of a screen pixel in
// the painter's units (line widths and caption margins). Text in the
// painter's font.
void paintPlot(QPainter& painter, const QRectF& rect, const PlotGeometry& g,
               const QString& heightCaption, const QString& valueCaption, double pixel = 1.0);

} // namespace tamsor
