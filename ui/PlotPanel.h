#pragma once

#include "PlotArea.h"
#include "PlotPairs.h"
#include "ResultOutputs.h"

#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class QPoint;

namespace tamsor {

class ProjectSession;
class Prompts;
struct FileDialogMemory;

// The main window's two result plots side by side: a load on the left, a
// displacement or the wind vibration coefficient on the right, each against
// the heights of the mass points, with the caption "高度/m" at its left edge,
// the value's caption along its bottom and the value of each point beside
// it. The plot areas keep the object names Picture1 and Picture2. A plot's
// context menu saves it as a PNG image or an SVG drawing.
class PlotPanel : public QWidget {
    Q_OBJECT
public:
    // The save dialogs (the program's own, through Prompts) start in the
    // folder the window's file dialogs remember and offer the project file's
    // name.
    PlotPanel(Prompts& prompts, FileDialogMemory& fileDialogs, const ProjectSession& session,
              QWidget* parent = nullptr);

    PlotArea* loadPlot() const { return loadPlot_; }
    PlotArea* responsePlot() const { return responsePlot_; }
    QLabel* loadHeightCaption() const { return loadHeightCaption_; }
    QLabel* responseHeightCaption() const { return responseHeightCaption_; }
    QLabel* loadValueCaption() const { return loadValueCaption_; }
    QLabel* responseValueCaption() const { return responseValueCaption_; }

    // New: both plots cleared, their point labels red and hidden, the
    // captions hidden.
    void reset();
    // Both plots cleared and the captions hidden, as after a computation.
    void clear();
    // Draws a pair of result lists of the results against their heights and
    // shows the captions, the pair's below the plots.
    void plot(const Results& results, const PlotPair& pair);
    // Whether the plots show results that no longer belong to the input:
    // they stay in sight, veiled, and cannot be saved.
    void setStale(bool stale);

    // Erases a plot area and hides all its point labels.
    static void clearPlot(PlotArea& area);
    // Draws values x against heights y in the area and shows one label per
    // point.
    static void plotCurve(const List& x, const List& y, PlotArea& area);

    // Saves a plot area as a PNG file (".png" appended when the name has no
    // suffix); a message that says why when that fails or when the plot is of
    // results that no longer belong to the input.
    bool savePlotImage(PlotArea& area, const QString& fileName);
    // Saves a plot area as an SVG drawing (".svg" appended when the name has
    // no suffix); a message that says why when that fails or the plot is stale.
    bool savePlotSvg(PlotArea& area, const QString& fileName);

private:
    void showPlotMenu(PlotArea& area, const QPoint& pos);
    // The plot to a file (the output's ending appended when the name has
    // none); what to show when it is stale or cannot be written.
    std::optional<Message> savePlot(PlotArea& area, const QString& fileName, ResultOutput output);

    Prompts& prompts_;
    FileDialogMemory& fileDialogs_;
    const ProjectSession& session_;
    PlotArea* loadPlot_ = nullptr;
    PlotArea* responsePlot_ = nullptr;
    QLabel* loadHeightCaption_ = nullptr;
    QLabel* responseHeightCaption_ = nullptr;
    QLabel* loadValueCaption_ = nullptr;
    QLabel* responseValueCaption_ = nullptr;
};

} // namespace tamsor
