#pragma once

#include "DesktopFiles.h"
#include "UserSettings.h"

#include <QObject>
#include <QString>

class QAction;
class QMainWindow;
class QMenu;

namespace tamsor {

class InputPanel;
class PlotPanel;
class ProjectSession;
class Prompts;
class ResultCommands;
struct FileDialogMemory;

// The main window's menus and what they do: 文件 (New, Open, Save, Save As,
// the data dialog, the recently opened files, Exit), 选项 (the options dialog), 结果(Results) (see
// ResultCommands) and 帮助 (the help, the About box). Before a project is set
// aside (New, Open, a recent file, a file from the desktop, the window
// closing) a project with unsaved changes is settled: saved, discarded, or
// the command is called off. Every dialog is created for one use and shown
// modally; every message goes through Prompts.
class MainMenus : public QObject {
    Q_OBJECT
public:
    // Builds the menus into the window's menu bar. The panels are the
    // window's: New and Open reset the plots, a refused gate points at the
    // first box to correct.
    MainMenus(ProjectSession& session, Prompts& prompts, FileDialogMemory& fileDialogs,
              InputPanel& inputs, PlotPanel& plots, QMainWindow* window);

    QAction* newAction() const { return new_; }
    QAction* openAction() const { return open_; }
    QAction* saveAction() const { return save_; }
    QAction* saveAsAction() const { return saveAs_; }
    QAction* projectDataAction() const { return projectData_; }
    QMenu* recentMenu() const { return recent_; }
    QAction* exitAction() const { return exit_; }
    QAction* optionsAction() const { return options_; }
    QAction* helpAction() const { return help_; }
    QAction* aboutAction() const { return about_; }
    // The results menu: table, copy, export, calculation book.
    ResultCommands& results() const { return *results_; }

    // New, once unsaved changes are settled: every box "0", the first entry
    // of each list, the 201X edition, empty plots.
    void newProject();
    // The open dialog, once unsaved changes are settled; the project stays as
    // it is until a file is chosen.
    void openProject();
    // Save: the command gate, then the project's own file written again
    // without a dialog; a project without a file asks for one as Save As
    // does. True when the project was saved.
    bool saveProject();
    // Save As: the command gate, then the save dialog. True when the project
    // was saved.
    bool saveProjectAs();
    // The data dialog: the project's diameter, structure type and 10-year
    // basic wind pressure.
    void showProjectData();
    // Closes the window, which asks first.
    void exit();
    void showOptions();
    // The help pages in the desktop's viewer, or a message that says where
    // they are or that they are missing.
    void showHelp();
    void showAbout();

    // Opens a project file handed over by the desktop (the command line, a
    // drop, the recent-files list) as Open does once that file is chosen,
    // after the unsaved-changes question. True when the whole file was read.
    bool openProjectFile(const QString& path);
    // The unsaved-changes question before the project is set aside; true
    // when the command may go on.
    bool settleUnsavedChanges();

    // Keeps the recent-files list and the calculation book's title block in
    // another settings file from now on.
    void useSettingsFile(const QString& settingsFile);
    const UserSettings& settings() const { return settings_; }
    // Looks for the help beside another program folder from now on.
    void useProgramDir(const QString& programDir) { programDir_ = programDir; }

private:
    void build();
    // New of the project and of the plots.
    void resetProject();
    // A chosen project file: New, then the reader (partial loads stay).
    bool loadProject(const QString& path);
    // Writes the project to path; says why not. A written file goes first in
    // the recent files.
    bool writeProject(QWidget* messageParent, const QString& path);
    void openRecentFile(const QString& path);
    void rebuildRecentMenu();
    // Once a run: the settings file could not be written.
    void warnSettingsNotStored();

    ProjectSession& session_;
    Prompts& prompts_;
    FileDialogMemory& fileDialogs_;
    InputPanel& inputs_;
    PlotPanel& plots_;
    QMainWindow* window_;

    QAction* new_ = nullptr;
    QAction* open_ = nullptr;
    QAction* save_ = nullptr;
    QAction* saveAs_ = nullptr;
    QAction* projectData_ = nullptr;
    QMenu* recent_ = nullptr;
    QAction* exit_ = nullptr;
    QAction* options_ = nullptr;
    QAction* help_ = nullptr;
    QAction* about_ = nullptr;
    ResultCommands* results_ = nullptr;
    UserSettings settings_;
    RecentFiles recentFiles_;
    bool settingsWarned_ = false;
    QString programDir_; // where the help is looked for
};

} // namespace tamsor
