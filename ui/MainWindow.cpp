#include "MainWindow.h"

#include "FileChooser.h"
#include "FileDialog.h"
#include "PlotPairs.h"
#include "ResultCommands.h"
#include "SpreadsheetPasteMenu.h"
#include "UnsavedWork.h"
#include "WindowFit.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <tuple>
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

QGroupBox* makeFrame(QWidget* parent, const char* caption, int x, int y, int w, int h) {
    auto* frame = new QGroupBox(qs(caption), parent);
    frame->setGeometry(x, y, w, h);
    return frame;
}

} // namespace

QString startDirectory(const QString& programDir) {
    const QFileInfo info(programDir);
    if (!programDir.isEmpty() && info.isDir() && info.isWritable())
        return info.absoluteFilePath();
    return QDir::homePath();
}

Wind::Wind(Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), prompts_(prompts), sink_(prompts, this), session_(sink_) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(9);
    setFont(font);

    content_ = new QWidget;
    content_->setFixedSize(kClientWidth, kClientHeight);
    buildControls(content_);
    menus_ = new MainMenus(session_, prompts_, fileDialogs_, *inputPanel_, *plotPanel_, this);
    computeShortcut_ = new QAction(this);
    computeShortcut_->setShortcut(QKeySequence(Qt::Key_F5));
    computeShortcut_->setShortcutContext(Qt::WindowShortcut);
    connect(computeShortcut_, &QAction::triggered, this, [this] { command1_Click(0); });
    addAction(computeShortcut_);
    // Without a frame and at the contents' size the scroll area shows no
    // scroll bars: the window looks as without it.
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    // Only a frame around the controls: the Tab key never stops on it.
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidget(content_);
    scroll_->setFixedSize(content_->size());
    setCentralWidget(scroll_);
    connectCommands();
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

    Form_Load();
}

Wind::~Wind() {
    inputPanel_->setClosing(true);
    disconnect(&session_, nullptr, this, nullptr);
    for (QPushButton* button : command1_)
        button->removeEventFilter(this);
}

void Wind::buildControls(QWidget* central) {
    inputPanel_ = new InputPanel(form(), prompts_, central);
    inputPanel_->move(16, 8);
    plotPanel_ = new PlotPanel(prompts_, fileDialogs_, central);
    plotPanel_->move(728, 16);

    // Commands.
    QGroupBox* frame5 = makeFrame(central, "功能区", 728, 544, 505, 137);
    const char* captions[kCommandCount] = {"计算风振响应", "画平均风结果", "画脉动风结果",
                                           "画等效静力风荷载", "生成报告书(Report)"};
    const QPoint positions[kCommandCount] = {{16, 48}, {176, 24}, {176, 80}, {336, 24}, {336, 80}};
    for (int i = 0; i < kCommandCount; ++i) {
        auto* button = new QPushButton(qs(captions[i]), frame5);
        button->setGeometry(positions[i].x(), positions[i].y(), 150, 33);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { command1_Click(i); });
        command1_[static_cast<std::size_t>(i)] = button;
    }
    maintainer_ = new QLabel(qs(kMaintainerLine), central);
    maintainer_->setGeometry(728, 692, 505, 22);
    maintainer_->setAlignment(Qt::AlignCenter);

    // The tab order goes through the input, then the command buttons.
    std::vector<QWidget*> order = inputPanel_->tabStops();
    order.insert(order.end(), command1_.begin(), command1_.end());
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void Wind::connectCommands() {
    for (int i = 0; i < kCommandCount; ++i)
        command1_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("command1_%1").arg(i));
    for (QPushButton* button : command1_)
        button->installEventFilter(this);
}

// --- accessors ----------------------------------------------------------------

QPushButton* Wind::command1(int index) const {
    return index >= 0 && index < kCommandCount ? command1_[static_cast<std::size_t>(index)]
                                               : nullptr;
}

// --- mirroring the input form ----------------------------------------------------

void Wind::syncFromForm() {
    inputPanel_->showForm();
    for (int i = 1; i < kCommandCount; ++i)
        command1_[static_cast<std::size_t>(i)]->setEnabled(form().resultButtonsEnabled());
}

bool Wind::eventFilter(QObject* watched, QEvent* event) {
    // Enter presses the focused command button, as Space does.
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

// --- start-up and closing ------------------------------------------------------------

void Wind::Form_Load() {
    fileDialogs_.lastFileName = QStringLiteral("*.wvd");
    const QString dir = startDirectory(QCoreApplication::applicationDirPath());
    QDir::setCurrent(dir);
    fileDialogs_.lastDir = dir;
    fitToCurrentScreen();
    menus_->newProject();
}

QMargins Wind::frameMarginsOrEstimate() const {
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    if (frame == inner)
        return kEstimatedWindowFrame;
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                    frame.right() - inner.right(), frame.bottom() - inner.bottom());
}

void Wind::fitToScreen(const QRect& available) {
    const WindowFit fit =
        fitWindow(content_->size(), menuBar()->sizeHint().height(), frameMarginsOrEstimate(),
                  style()->pixelMetric(QStyle::PM_ScrollBarExtent), available);
    scroll_->setFixedSize(fit.viewport);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    adjustSize();
    setFixedSize(sizeHint());
    move(fit.frameTopLeft);
}

void Wind::fitToCurrentScreen() {
    QScreen* screen = this->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen != nullptr)
        fitToScreen(screen->availableGeometry());
}

void Wind::Form_Unload(bool& cancel) {
    if (session_.isModified())
        cancel = !menus_->settleUnsavedChanges();
    else
        cancel = !prompts_.confirm(this, exitQuestion());
}

void Wind::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    // No parsing once the window goes away.
    inputPanel_->setClosing(true);
    event->accept();
}

void Wind::showEvent(QShowEvent* event) {
    inputPanel_->setClosing(false);
    QMainWindow::showEvent(event);
}

// --- commands --------------------------------------------------------------------------

void Wind::updateTitle() {
    setWindowTitle(windowCaption(session_.currentFile()));
    setWindowModified(session_.isModified());
}

void Wind::command1_Click(int index) {
    if (index < 0 || index >= kCommandCount)
        return;
    if (index == 0) {
        const ComputeOutcome outcome = session_.compute();
        if (outcome.status == ComputeOutcome::Status::Refused) {
            inputPanel_->focusFirstMarkedBox();
            return;
        }
        plotPanel_->clear();
        if (outcome.notice)
            prompts_.inform(this, *outcome.notice);
        return;
    }

    if (!session_.commandGate()) {
        inputPanel_->focusFirstMarkedBox();
        return;
    }
    if (!session_.resultsCurrent()) {
        prompts_.inform(this, ProjectSession::noCurrentResults());
        return;
    }
    if (index == 4)
        showReportDialog();
    else
        plotResults(index);
}

void Wind::plotResults(int index) {
    plotPanel_->plot(*session_.results(), kPlotPairs[static_cast<std::size_t>(index - 1)]);
}

void Wind::showReportDialog() {
    // Results of a faulted or outdated computation are not reported.
    if (const auto refusal = session_.reportRefusal()) {
        prompts_.inform(this, *refusal);
        return;
    }
    FileDialog dialog(
        FileDialogKind::Report, fileDialogs_, prompts_,
        [this](QWidget* parent, const QString& path) {
            if (const auto failure = session_.writeReport(path)) {
                prompts_.inform(parent, *failure);
                return false;
            }
            // Handed to the desktop's viewer as a file URL, never through a
            // shell, so no character of the name can be taken as a command.
            if (!prompts_.openUrl(QUrl::fromLocalFile(path))) {
                prompts_.inform(parent, Message{"报告书已写入“" +
                                                    QDir::toNativeSeparators(path).toStdString() +
                                                    "”，但找不到能显示它的程序，请用浏览器打开它。",
                                                "警告", Message::Icon::Exclamation});
            }
            return true;
        },
        this);
    dialog.exec();
}

// --- files from the desktop --------------------------------------------------------------

void Wind::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !droppedProjectFile(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void Wind::dropEvent(QDropEvent* event) {
    const QString path = droppedProjectFile(event->mimeData()->urls());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop has finished: its questions and messages are
    // modal, and the program the file came from waits until the drop ends.
    QTimer::singleShot(0, this, [this, path] { openProjectFile(path); });
}

} // namespace tamsor
