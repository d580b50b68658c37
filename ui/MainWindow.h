#pragma once

#include "FileChooser.h"
#include "InputForm.h"
#include "InputPanel.h"
#include "MainMenus.h"
#include "Message.h"
#include "PlotPanel.h"
#include "ProjectSession.h"
#include "Prompts.h"

#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <QString>

#include <array>

class QAction;
class QLabel;
class QPushButton;
class QScrollArea;

namespace tamsor {

// Shows the messages of the input logic as modal boxes through Prompts.
class PromptSink : public MessageSink {
public:
    PromptSink(Prompts& prompts, QWidget* parent) : prompts_(prompts), parent_(parent) {}
    void show(const Message& message) override { prompts_.inform(parent_, message); }

private:
    Prompts& prompts_;
    QWidget* parent_;
};

// The program's main window: the input panel on the left, the plot panel on
// the right above the frame "功能区" with the five command buttons, and the
// menus. It is a thin view over its ProjectSession, which owns the project
// and makes the decisions: the window ties the panels and the menus to it
// and runs the command buttons. Every message box goes through Prompts. The
// contents sit in a scroll area that scrolls only on a screen too small for
// the whole window. The command buttons keep the object names
// command1_0..command1_4.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and starts it up: the dialogs' start folder, its
    // place on the screen, New.
    explicit MainWindow(Prompts& prompts, QWidget* parent = nullptr);
    ~MainWindow() override;

    ProjectSession& session() { return session_; }
    InputForm& form() { return session_.form(); }
    Prompts& prompts() { return prompts_; }
    // The folder and name the window's file dialogs remember.
    FileDialogMemory& fileDialogs() { return fileDialogs_; }

    // The input boxes and lists with their captions and notes.
    InputPanel& inputPanel() const { return *inputPanel_; }
    // The two result plots with their captions and point labels.
    PlotPanel& plotPanel() const { return *plotPanel_; }
    // The menus with their actions and handlers.
    MainMenus& menus() const { return *menus_; }

    // The command buttons. All but the compute button need current results:
    // they are enabled only while the results belong to the input.
    QPushButton* computeButton() const { return buttons_[Compute]; }
    QPushButton* plotMeanButton() const { return buttons_[PlotMean]; }
    QPushButton* plotFluctuatingButton() const { return buttons_[PlotFluctuating]; }
    QPushButton* plotEquivalentButton() const { return buttons_[PlotEquivalent]; }
    QPushButton* reportButton() const { return buttons_[Report]; }
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

    // --- the command buttons -----------------------------------------------------
    // The command gate, then the computation: the plots are cleared and the
    // results current; a notice follows when the input or the results give
    // cause for one.
    void compute();
    // The gate, then both plots of the mean response, the fluctuating
    // response or the equivalent static load (and the wind vibration
    // coefficient), when the results are current.
    void plotMean();
    void plotFluctuating();
    void plotEquivalent();
    // The gate, then the report file dialog, when the results are current
    // and fit for a report; the written report opens in the desktop's viewer.
    void writeReport();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum Command { Compute, PlotMean, PlotFluctuating, PlotEquivalent, Report, kCommandCount };

    void buildContents(QWidget* contents);
    void startUp();
    // Asks before the window closes: the unsaved-changes question, or
    // whether to exit. True when it may close.
    bool mayClose();
    void updateTitle();
    void syncFromForm();
    // The gate and the results' currency, which every command but compute
    // needs; says why not, or points at the first box to correct.
    bool haveCurrentResults();
    void plot(Command command);
    void fitToCurrentScreen();
    QMargins frameMarginsOrEstimate() const;

    Prompts& prompts_;
    PromptSink sink_;
    ProjectSession session_;
    FileDialogMemory fileDialogs_;

    InputPanel* inputPanel_ = nullptr;
    PlotPanel* plotPanel_ = nullptr;
    MainMenus* menus_ = nullptr;
    std::array<QPushButton*, kCommandCount> buttons_{};
    QAction* computeShortcut_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QWidget* contents_ = nullptr;
    QLabel* maintainer_ = nullptr;
};

} // namespace tamsor
