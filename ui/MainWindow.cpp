#include "MainWindow.h"

#include "DesktopFiles.h"
#include "FileDialog.h"
#include "PlotPairs.h"
#include "ResultCommands.h"
#include "ResultOutputs.h"
#include "UnsavedWork.h"
#include "WindowFit.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tamsor {

namespace {

// Client area of the window in pixels (18705 x 11085 twips at 15 twips per
// pixel).
constexpr int kClientWidth = 1247;
constexpr int kClientHeight = 739;

constexpr const char* kMaintainerLine = "Tamsor 由 Tamsor 开发组维护";

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

MainWindow::MainWindow(Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts), sink_(prompts, this), session_(sink_) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(9);
    setFont(font);

    contents_ = new QWidget;
    contents_->setFixedSize(kClientWidth, kClientHeight);
    buildContents(contents_);
    menus_ = new MainMenus(session_, prompts_, fileDialogs_, *inputPanel_, *plotPanel_, this);
    computeShortcut_ = new QAction(this);
    computeShortcut_->setShortcut(QKeySequence(Qt::Key_F5));
    computeShortcut_->setShortcutContext(Qt::WindowShortcut);
    connect(computeShortcut_, &QAction::triggered, this, [this] { compute(); });
    addAction(computeShortcut_);
    // Without a frame and at the contents' size the scroll area shows no
    // scroll bars: the window looks as without it.
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    // Only a frame around the controls: the Tab key never stops on it.
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidget(contents_);
    scroll_->setFixedSize(contents_->size());
    setCentralWidget(scroll_);

    connect(&session_, &ProjectSession::formChanged, this, [this] { syncFromForm(); });
    connect(&session_, &ProjectSession::modifiedChanged, this, [this] { updateTitle(); });
    connect(&session_, &ProjectSession::currentFileChanged, this, [this] { updateTitle(); });
    // Plots of results that no longer belong to the input stay in sight,
    // veiled, and cannot be saved.
    connect(&session_, &ProjectSession::resultsChanged, this,
            [this](bool current) { plotPanel_->setStale(!current); });
    plotPanel_->setStale(!session_.resultsCurrent());
    updateTitle();
    setAcceptDrops(true);
    adjustSize();
    setFixedSize(sizeHint());

    startUp();
}

MainWindow::~MainWindow() {
    // The session goes before the panels do.
    inputPanel_->setClosing(true);
    disconnect(&session_, nullptr, this, nullptr);
    for (QPushButton* button : buttons_)
        button->removeEventFilter(this);
}

void MainWindow::buildContents(QWidget* contents) {
    inputPanel_ = new InputPanel(form(), prompts_, contents);
    inputPanel_->move(16, 8);
    plotPanel_ = new PlotPanel(prompts_, fileDialogs_, session_, contents);
    plotPanel_->move(728, 16);

    auto* commands = new QGroupBox(qs("功能区"), contents);
    commands->setGeometry(728, 544, 505, 137);
    struct Button {
        const char* caption;
        QPoint place;
        void (MainWindow::*run)();
    };
    const Button buttons[kCommandCount] = {
        {"计算风振响应", {16, 48}, &MainWindow::compute},
        {"画平均风结果", {176, 24}, &MainWindow::plotMean},
        {"画脉动风结果", {176, 80}, &MainWindow::plotFluctuating},
        {"画等效静力风荷载", {336, 24}, &MainWindow::plotEquivalent},
        {"生成报告书(Report)", {336, 80}, &MainWindow::writeReport},
    };
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        auto* button = new QPushButton(qs(buttons[i].caption), commands);
        button->setGeometry(buttons[i].place.x(), buttons[i].place.y(), 150, 33);
        button->setAutoDefault(false);
        button->setObjectName(QStringLiteral("command1_%1").arg(i));
        connect(button, &QPushButton::clicked, this, buttons[i].run);
        // Enter presses the focused button, as Space does.
        button->installEventFilter(this);
        buttons_[i] = button;
    }
    maintainer_ = new QLabel(qs(kMaintainerLine), contents);
    maintainer_->setGeometry(728, 692, 505, 22);
    maintainer_->setAlignment(Qt::AlignCenter);

    // The tab order goes through the input, then the command buttons.
    std::vector<QWidget*> order = inputPanel_->tabStops();
    order.insert(order.end(), buttons_.begin(), buttons_.end());
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void MainWindow::syncFromForm() {
    inputPanel_->showForm();
    for (std::size_t i = PlotMean; i < buttons_.size(); ++i)
        buttons_[i]->setEnabled(form().resultButtonsEnabled());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button != nullptr && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            button->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::updateTitle() {
    setWindowTitle(windowCaption(session_.currentFile()));
    setWindowModified(session_.isModified());
}

// --- start-up and closing ------------------------------------------------------------

void MainWindow::startUp() {
    fileDialogs_.lastFileName = QStringLiteral("*.wvd");
    fitToCurrentScreen();
    menus_->newProject();
}

QMargins MainWindow::frameMarginsOrEstimate() const {
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    if (frame == inner)
        return kEstimatedWindowFrame;
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                    frame.right() - inner.right(), frame.bottom() - inner.bottom());
}

void MainWindow::fitToScreen(const QRect& available) {
    const WindowFit fit =
        fitWindow(contents_->size(), menuBar()->sizeHint().height(), frameMarginsOrEstimate(),
                  style()->pixelMetric(QStyle::PM_ScrollBarExtent), available);
    scroll_->setFixedSize(fit.viewport);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    adjustSize();
    setFixedSize(sizeHint());
    move(fit.frameTopLeft);
}

void MainWindow::fitToCurrentScreen() {
    QScreen* screen = this->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen != nullptr)
        fitToScreen(screen->availableGeometry());
}

bool MainWindow::mayClose() {
    if (session_.isModified())
        return menus_->settleUnsavedChanges();
    return prompts_.confirm(this, exitQuestion());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!mayClose()) {
        event->ignore();
        return;
    }
    // No parsing once the window goes away.
    inputPanel_->setClosing(true);
    event->accept();
}

void MainWindow::showEvent(QShowEvent* event) {
    inputPanel_->setClosing(false);
    QMainWindow::showEvent(event);
}

// --- the command buttons ---------------------------------------------------------------

void MainWindow::compute() {
    const ComputeOutcome outcome = session_.compute();
    if (outcome.status == ComputeOutcome::Status::Refused) {
        inputPanel_->focusFirstMarkedBox();
        return;
    }
    plotPanel_->clear();
    if (outcome.notice)
        prompts_.inform(this, *outcome.notice);
}

bool MainWindow::haveCurrentResults() {
    if (!session_.commandGate()) {
        inputPanel_->focusFirstMarkedBox();
        return false;
    }
    if (!session_.resultsCurrent()) {
        prompts_.inform(this, ProjectSession::noCurrentResults());
        return false;
    }
    return true;
}

void MainWindow::plotMean() {
    plot(PlotMean);
}

void MainWindow::plotFluctuating() {
    plot(PlotFluctuating);
}

void MainWindow::plotEquivalent() {
    plot(PlotEquivalent);
}

void MainWindow::plot(Command command) {
    if (haveCurrentResults())
        plotPanel_->plot(*session_.results(), kPlotPairs.at(command - PlotMean));
}

void MainWindow::writeReport() {
    if (!haveCurrentResults())
        return;
    // Results of a faulted or outdated computation are not reported.
    if (const auto refusal = session_.reportRefusal()) {
        prompts_.inform(this, *refusal);
        return;
    }
    FileDialog dialog(
        FileDialogKind::Report, fileDialogs_, prompts_,
        [this](QWidget* parent, const QString& path) {
            if (const auto failure = session_.writeReport(path, menus_->results().contact())) {
                prompts_.inform(parent, *failure);
                return false;
            }
            // Handed to the desktop's viewer as a file URL, never through a
            // shell, so no character of the name can be taken as a command.
            if (!prompts_.openUrl(QUrl::fromLocalFile(path))) {
                prompts_.inform(parent, documentNotShown(WrittenDocument::Report, path));
            }
            return true;
        },
        this);
    dialog.exec();
}

// --- files from the desktop --------------------------------------------------------------

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !droppedProjectFile(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedProjectFile(event->mimeData()->urls());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop has finished: its questions and messages are
    // modal, and the program the file came from waits until the drop ends.
    QTimer::singleShot(0, this, [this, path] { openProjectFile(path); });
}

} // namespace tamsor
