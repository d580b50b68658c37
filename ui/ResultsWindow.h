#pragma once

#include "ResultTable.h"

#include <QWidget>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace tamsor {

class ProjectSession;

// The results table (结果表): one row per mass point with every per-point
// result, below it the results of the whole structure; each group of results
// the computation holds (the cross-wind check, the closed form, comfort) on a
// tab of its own beside the points. It follows the session: a computation
// fills it, and as soon as the results no longer belong to the input it
// empties and says so. A window of its own beside the main window, not
// modal, so the input can be changed while it is open.
class ResultsWindow : public QWidget {
    Q_OBJECT
public:
    explicit ResultsWindow(ProjectSession& session, QWidget* parent = nullptr);

    QTableWidget* pointTable() const { return points_; }
    QTableWidget* structureTable() const { return structure_; }
    // The points on the first tab, then a tab per section of the table.
    QTabWidget* tabs() const { return tabs_; }
    // The table of a section's block ("structure", "modes" or "points"),
    // named group key and block ("crossWindModes"); nothing when the results
    // have no such block.
    QTableWidget* sectionTable(std::string_view group, std::string_view block) const;
    QLabel* note() const { return note_; }
    // The failed checks against the codes and the results' notes.
    QLabel* remarks() const { return remarks_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* exportButton() const { return export_; }

    // What "复制" (and Ctrl+C) puts on the clipboard: the selected cells of the
    // table that holds a selection, or the whole table when nothing is
    // selected; empty while the table is empty.
    [[nodiscard]] std::string copyText() const;
    void copy();

signals:
    // "导出CSV..." was pressed.
    void exportRequested();

private:
    void refresh(bool current);
    void fill(QTableWidget* view, const ResultBlock& block, bool wrapUnits);
    void fitStructureTable();
    // The tabs of the sections, made afresh for the table's sections.
    void showSections();
    // A selection lives in one table at a time.
    void watchSelection(QTableWidget* view);

    ProjectSession& session_;
    ResultTable table_;
    bool filled_ = false;
    QLabel* note_ = nullptr;
    QLabel* remarks_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableWidget* points_ = nullptr;
    QTableWidget* structure_ = nullptr;
    // Every table shown with the block it shows, the sections' last.
    std::vector<std::pair<QTableWidget*, const ResultBlock*>> views_;
    QPushButton* copy_ = nullptr;
    QPushButton* export_ = nullptr;
};

} // namespace tamsor
