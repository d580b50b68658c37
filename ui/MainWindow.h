#pragma once

#include "DesktopFiles.h"
#include "FileChooser.h"
#include "HelpFiles.h"
#include "InputForm.h"
#include "InputPanel.h"
#include "MainMenus.h"
#include "Message.h"
#include "PlotPanel.h"
#include "ProjectSession.h"
#include "Prompts.h"

#include <QClipboard>
#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <QString>

#include <array>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;

namespace tamsor {

// The folder the file dialogs start in: the program's folder when it can be
// written to, otherwise the user's home folder (an installed program).
[[nodiscard]] QString startDirectory(const QString& programDir);

// Shows the messages of the input logic as modal boxes through Prompts.
class PromptSink : public MessageSink {
public:
    PromptSink(Prompts& prompts, QWidget* parent) : prompts_(prompts), parent_(parent) {}
    void show(const Message& message) override { prompts_.inform(parent_, message); }

private:
    Prompts& prompts_;
    QWidget* parent_;
};

// The main window "Wind": input boxes and lists, the five command buttons, the
// two result plots and the menus. It is a view over its ProjectSession, which
// owns the project and makes the decisions; every message box goes through
// Prompts. The contents sit in a scroll area that scrolls only on a screen
// too small for the whole window.
class Wind : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kCommandCount = 5; // command1(0..4)

    // Builds the window and runs Form_Load (start folder, centring, New).
    explicit Wind(Prompts& prompts, QWidget* parent = nullptr);
    ~Wind() override;

    // --- what the dialogs and the tests reach -------------------------------
    ProjectSession& session() { return session_; }
    InputForm& form() { return session_.form(); }
    Prompts& prompts() { return prompts_; }
    // The folder and name the window's file dialogs remember.
    FileDialogMemory& fileDialogs() { return fileDialogs_; }
    QPushButton* command1(int index) const;
    // The input boxes and lists with their captions and notes.
    InputPanel& inputPanel() const { return *inputPanel_; }
    // The two result plots with their captions and point labels.
    PlotPanel& plotPanel() const { return *plotPanel_; }
    // The menus with their actions and handlers.
    MainMenus& menus() const { return *menus_; }
    // F5: the compute button from the keyboard.
    QAction* computeShortcut() const { return computeShortcut_; }
    QScrollArea* scrollArea() const { return scroll_; }
    QLabel* maintainerLabel() const { return maintainer_; }
    // Opens a project file handed over by the desktop (the command line, a
    // drop) as Open does once that file is chosen, after the unsaved-changes
    // question. True when the whole file was read.
    bool openProjectFile(const QString& path) { return menus_->openProjectFile(path); }
    // Sizes the window and places its frame within `available`: the full
    // window where it fits, otherwise a smaller one whose contents scroll.
    void fitToScreen(const QRect& available);

    // --- handlers -------------------------------------------------------------
    void Form_Load();
    // Asks before the window closes; sets cancel when the answer is No.
    void Form_Unload(bool& cancel);
    void command1_Click(int index);
    // The report step of command1(4), after its gate: the report file dialog.
    void showReportDialog();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void updateTitle();
    void buildControls(QWidget* central);
    void connectCommands();
    void syncFromForm();
    void fitToCurrentScreen();
    QMargins frameMarginsOrEstimate() const;
    void plotResults(int index);

    Prompts& prompts_;
    PromptSink sink_;
    ProjectSession session_;
    FileDialogMemory fileDialogs_;

    InputPanel* inputPanel_ = nullptr;
    std::array<QPushButton*, kCommandCount> command1_{};
    PlotPanel* plotPanel_ = nullptr;

    MainMenus* menus_ = nullptr;
    QAction* computeShortcut_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* content_ = nullptr;
    QLabel* maintainer_ = nullptr;
};

} // namespace tamsor
