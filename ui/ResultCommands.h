#pragma once

#include "ResultOutputs.h"
#include "ResultsWindow.h"
#include "TitleBlock.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace tamsor {

class Prompts;
class ProjectSession;
struct FileDialogMemory;

// The results menu "结果(Results)" of the main window: the results table, its
// copy and CSV export, the calculation book as PDF, printed and previewed.
// Its commands need complete, current results: they are
// enabled only while the session has them and refuse with a message when run
// without them all the same (a shortcut pressed at the wrong moment).
class ResultCommands : public QObject {
    Q_OBJECT
public:
    // The save dialogs (the program's own, through Prompts) start in the
    // folder the window's file dialogs remember.
    ResultCommands(ProjectSession& session, FileDialogMemory& fileDialogs, Prompts& prompts,
                   QWidget* window, QMenu* menu);

    QAction* tableAction() const { return table_; }
    QAction* copyAction() const { return copy_; }
    QAction* exportAction() const { return export_; }
    QAction* pdfAction() const { return pdf_; }
    QAction* printAction() const { return print_; }
    QAction* previewAction() const { return preview_; }
    // The results table once it has been opened.
    ResultsWindow* resultsWindow() const { return resultsWindow_; }

    // Opens (or raises) the results table.
    void showTable();
    // The whole table to the clipboard.
    void copyTable();
    // Writes the table as CSV to path; false, with a message, when it cannot.
    bool exportCsv(const QString& path);
    // Writes the calculation book with this title block as PDF; false, with a
    // message, when it cannot.
    bool writeBook(const QString& path, const TitleBlock& block);

    // The settings that remember the title block's names (the user's
    // settings unless changed, as tests do).
    void useSettings(const UserSettings& settings) { titleBlocks_ = TitleBlockMemory(settings); }
    // The title block dialog with the remembered names, the project file's
    // name and today's date. OK remembers the names and returns the block;
    // Cancel returns nothing. Names that could not be stored are remembered
    // for this run (settingsNotStored).
    std::optional<TitleBlock> askTitleBlock();
    // The contact the report's footer names, as last entered in the title
    // block dialog.
    [[nodiscard]] ReportContact contact() const { return titleBlocks_.contact(); }

signals:
    // The title block could not be written to the settings file.
    void settingsNotStored();

private:
    // True when the results allow the output; otherwise says why.
    bool allowed(ResultOutput output);
    void exportWithDialog();
    void bookWithDialogs();
    void printWithDialog(bool preview);
    void updateEnabled(bool current);
    // Beside the main window and on its screen, smaller when the screen is.
    void placeResultsWindow();
    std::vector<QAction*> commands() const;

    ProjectSession& session_;
    FileDialogMemory& fileDialogs_;
    Prompts& prompts_;
    QWidget* window_;
    QPointer<ResultsWindow> resultsWindow_;
    QAction* table_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* export_ = nullptr;
    QAction* pdf_ = nullptr;
    QAction* print_ = nullptr;
    QAction* preview_ = nullptr;
    TitleBlockMemory titleBlocks_{UserSettings()};
};

} // namespace tamsor
