#include "MainMenus.h"

#include "AboutDialog.h"
#include "FileChooser.h"
#include "FileDialog.h"
#include "HelpFiles.h"
#include "InputFields.h"
#include "InputPanel.h"
#include "OptionsDialog.h"
#include "PlotPanel.h"
#include "ProjectDataDialog.h"
#include "ProjectSession.h"
#include "Prompts.h"
#include "ResultCommands.h"
#include "UnsavedWork.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

#include <string>
#include <string_view>
#include <utility>

namespace tamsor {

namespace {

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

MainMenus::MainMenus(ProjectSession& session, Prompts& prompts, FileDialogMemory& fileDialogs,
                     InputPanel& inputs, PlotPanel& plots, QMainWindow* window)
    : QObject(window), session_(session), prompts_(prompts), fileDialogs_(fileDialogs),
      inputs_(inputs), plots_(plots), window_(window), recentFiles_(settings_),
      programDir_(QCoreApplication::applicationDirPath()) {
    build();
}

void MainMenus::build() {
    QMenuBar* bar = window_->menuBar();
    QMenu* file = bar->addMenu(qs("文件"));
    new_ = file->addAction(qs("新建(New)"), this, [this] { newProject(); });
    file->addSeparator();
    open_ = file->addAction(qs("导入数据(Open)"), this, [this] { openProject(); });
    save_ = file->addAction(qs("导出数据(Save)"), this, [this] { saveProject(); });
    saveAs_ = file->addAction(qs("另存为..."), this, [this] { saveProjectAs(); });
    file->addSeparator();
    projectData_ = file->addAction(qs(std::string(kProjectDataTitle) + "(&D)..."), this,
                                   [this] { showProjectData(); });
    file->addSeparator();
    recent_ = file->addMenu(qs("最近打开的文件"));
    connect(recent_, &QMenu::aboutToShow, this, [this] {
        recentFiles_.reload();
        rebuildRecentMenu();
    });
    rebuildRecentMenu();
    file->addSeparator();
    exit_ = file->addAction(qs("退出(Exit)"), this, [this] { exit(); });
    // Window-wide, so they work from an input box too; none of them is a key
    // the boxes' key filters handle.
    const std::pair<QAction*, QKeySequence> shortcuts[] = {
        {new_, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {open_, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {save_, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {saveAs_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {exit_, QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {projectData_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
    };
    for (const auto& [action, keys] : shortcuts) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
    }

    QMenu* option = bar->addMenu(qs("选项"));
    options_ = option->addAction(qs("参数设置"), this, [this] { showOptions(); });

    results_ = new ResultCommands(session_, fileDialogs_, prompts_, window_,
                                  bar->addMenu(qs("结果(Results)")));
    results_->useSettings(settings_);
    connect(results_, &ResultCommands::settingsNotStored, this,
            [this] { warnSettingsNotStored(); });

    QMenu* help = bar->addMenu(qs("帮助"));
    help_ = help->addAction(qs("帮助文件"), this, [this] { showHelp(); });
    help_->setShortcut(QKeySequence(Qt::Key_F1));
    help_->setShortcutContext(Qt::WindowShortcut);
    help->addSeparator();
    about_ = help->addAction(qs("关于......"), this, [this] { showAbout(); });
}

// --- the File menu ---------------------------------------------------------------

void MainMenus::newProject() {
    if (settleUnsavedChanges())
        resetProject();
}

void MainMenus::resetProject() {
    session_.newProject();
    plots_.reset();
}

void MainMenus::openProject() {
    // The project stays as it is until a file is chosen: Cancel loses nothing.
    if (!settleUnsavedChanges())
        return;
    FileDialog dialog(
        FileDialogKind::OpenData, fileDialogs_, prompts_,
        // The reader shows its own messages; a failed read closes the dialog
        // too and leaves lastDir as it was.
        [this](QWidget*, const QString& path) { return loadProject(path); }, window_);
    dialog.exec();
}

bool MainMenus::saveProject() {
    if (session_.currentFile().isEmpty())
        return saveProjectAs();
    if (!session_.commandGate()) {
        inputs_.focusFirstMarkedBox();
        return false;
    }
    return writeProject(window_, session_.currentFile());
}

bool MainMenus::saveProjectAs() {
    if (!session_.commandGate()) {
        inputs_.focusFirstMarkedBox();
        return false;
    }
    FileDialog dialog(
        FileDialogKind::SaveData, fileDialogs_, prompts_,
        [this](QWidget* parent, const QString& path) { return writeProject(parent, path); },
        window_);
    dialog.exec();
    return dialog.actionSucceeded();
}

bool MainMenus::writeProject(QWidget* messageParent, const QString& path) {
    // The writer replaces the file only once it is complete, so a failure
    // leaves an existing file as it was.
    if (const auto failure = session_.save(path)) {
        prompts_.inform(messageParent, *failure);
        return false;
    }
    if (!recentFiles_.add(path))
        warnSettingsNotStored();
    rebuildRecentMenu();
    return true;
}

void MainMenus::showProjectData() {
    ProjectDataDialog dialog(session_.form(), prompts_, window_);
    dialog.exec();
}

void MainMenus::exit() {
    window_->close();
}

bool MainMenus::settleUnsavedChanges() {
    return tamsor::settleUnsavedChanges(
        session_, [this](const Message& question) { return prompts_.askToSave(window_, question); },
        [this] { return saveProject(); });
}

bool MainMenus::openProjectFile(const QString& path) {
    if (!settleUnsavedChanges())
        return false;
    const bool read = loadProject(path);
    rememberOpenedFile(fileDialogs_, path, read);
    return read;
}

bool MainMenus::loadProject(const QString& path) {
    plots_.reset();
    // The reader shows its own messages; what it loaded before a bad line
    // stays in the boxes.
    const bool read = session_.open(path);
    if (read) {
        if (!recentFiles_.add(path))
            warnSettingsNotStored();
        rebuildRecentMenu();
    }
    return read;
}

// --- recently opened files -----------------------------------------------------------

void MainMenus::openRecentFile(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        if (!recentFiles_.remove(path))
            warnSettingsNotStored();
        rebuildRecentMenu();
        prompts_.inform(window_, Message{"文件“" + QDir::toNativeSeparators(path).toStdString() +
                                             "”已不存在，已从最近打开的文件中删除。",
                                         "警告", Message::Icon::Exclamation});
        return;
    }
    openProjectFile(path);
}

void MainMenus::rebuildRecentMenu() {
    // Called from an entry's own handler too: the old entries go only once
    // that has returned.
    for (QAction* action : recent_->actions()) {
        recent_->removeAction(action);
        action->deleteLater();
    }
    const QStringList& files = recentFiles_.files();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* action = recent_->addAction(RecentFiles::menuText(static_cast<int>(i), path), this,
                                             [this, path] { openRecentFile(path); });
        action->setData(path);
    }
    recent_->setEnabled(!files.isEmpty());
}

void MainMenus::warnSettingsNotStored() {
    if (settingsWarned_)
        return;
    settingsWarned_ = true;
    prompts_.inform(window_, settings_.notStored());
}

void MainMenus::useSettingsFile(const QString& settingsFile) {
    settings_ = UserSettings(settingsFile);
    recentFiles_ = RecentFiles(settings_);
    rebuildRecentMenu();
    results_->useSettings(settings_);
}

// --- options and help ------------------------------------------------------------------

void MainMenus::showOptions() {
    OptionsDialog dialog(session_, window_);
    dialog.exec();
}

void MainMenus::showHelp() {
    // The compiled help needs a viewer of its own, which few desktops have;
    // the same pages as HTML open in any browser.
    const QStringList targets = helpTargets(programDir_, chmViewerRegistered(applicationDirs()));
    if (targets.isEmpty()) {
        prompts_.inform(window_, Message{std::string("找不到帮助文件 ") + kHelpFileName + "。",
                                         "警告", Message::Icon::Exclamation});
        return;
    }
    for (const QString& target : targets) {
        if (prompts_.openUrl(QUrl::fromLocalFile(target)))
            return;
    }
    prompts_.inform(window_, helpNotShown(targets));
}

void MainMenus::showAbout() {
    AboutDialog dialog(window_);
    dialog.exec();
}

} // namespace tamsor
