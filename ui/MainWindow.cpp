#include "MainWindow.h"

#include "FileChooser.h"
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
    : QMainWindow(parent), prompts_(prompts), sink_(prompts, this), session_(sink_),
      recent_(RecentFiles::defaultSettingsFile()),
      programDir_(QCoreApplication::applicationDirPath()) {
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(9);
    setFont(font);

    buildMenus();
    content_ = new QWidget;
    content_->setFixedSize(kClientWidth, kClientHeight);
    buildControls(content_);
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

void Wind::buildMenus() {
    QMenu* file = menuBar()->addMenu(qs("文件"));
    mnuNew_ = file->addAction(qs("新建(New)"), this, [this] { mnuNew_Click(); });
    file->addSeparator();
    mnuOpen_ = file->addAction(qs("导入数据(Open)"), this, [this] { mnuOpen_Click(); });
    mnuSave_ = file->addAction(qs("导出数据(Save)"), this, [this] { mnuSave_Click(); });
    file->addSeparator();
    mnuProjectData_ = file->addAction(qs(std::string(kProjectDataTitle) + "(&D)..."), this,
                                      [this] { mnuProjectData_Click(); });
    file->addSeparator();
    mnuRecent_ = file->addMenu(qs("最近打开的文件"));
    connect(mnuRecent_, &QMenu::aboutToShow, this, [this] {
        recent_.reload();
        rebuildRecentMenu();
    });
    rebuildRecentMenu();
    file->addSeparator();
    mnuExit_ = file->addAction(qs("退出(Exit)"), this, [this] { mnuExit_Click(); });
    // Window-wide, so they work from an input box too; none of them is a key
    // the boxes' key filters handle.
    const std::pair<QAction*, QKeySequence> shortcuts[] = {
        {mnuNew_, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {mnuOpen_, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {mnuSave_, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {mnuExit_, QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {mnuProjectData_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D)},
    };
    for (const auto& [action, keys] : shortcuts) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    computeShortcut_ = new QAction(this);
    computeShortcut_->setShortcut(QKeySequence(Qt::Key_F5));
    computeShortcut_->setShortcutContext(Qt::WindowShortcut);
    connect(computeShortcut_, &QAction::triggered, this, [this] { command1_Click(0); });
    addAction(computeShortcut_);

    QMenu* option = menuBar()->addMenu(qs("选项"));
    mnuSet_ = option->addAction(qs("参数设置"), this, [this] { mnuSet_Click(); });

    results_ = new ResultCommands(session_, fileDialogs_, prompts_, this,
                                  menuBar()->addMenu(qs("结果(Results)")));
    connect(results_, &ResultCommands::settingsNotStored, this,
            [this] { warnSettingsNotStored(); });

    QMenu* help = menuBar()->addMenu(qs("帮助"));
    mnuContent_ = help->addAction(qs("帮助文件"), this, [this] { mnuContent_Click(); });
    mnuContent_->setShortcut(QKeySequence(Qt::Key_F1));
    mnuContent_->setShortcutContext(Qt::WindowShortcut);
    help->addSeparator();
    mnuAbout_ = help->addAction(qs("关于......"), this, [this] { mnuAbout_Click(); });
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
    mnuNew_Click();
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
        cancel = !settleUnsavedChanges();
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

void Wind::mnuExit_Click() {
    close();
}

// --- commands --------------------------------------------------------------------------

void Wind::mnuNew_Click() {
    if (settleUnsavedChanges())
        newProject();
}

void Wind::newProject() {
    session_.newProject();
    plotPanel_->reset();
}

bool Wind::settleUnsavedChanges() {
    return tamsor::settleUnsavedChanges(
        session_, [this](const Message& question) { return prompts_.askToSave(this, question); },
        [this] { return saveWithDialog(); });
}

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

void Wind::mnuContent_Click() {
    // The compiled help needs a viewer of its own, which few desktops have;
    // the same pages as HTML open in any browser.
    const QStringList targets = helpTargets(programDir_, chmViewerRegistered(applicationDirs()));
    if (targets.isEmpty()) {
        prompts_.inform(this, Message{std::string("找不到帮助文件 ") + kHelpFileName + "。", "警告",
                                      Message::Icon::Exclamation});
        return;
    }
    for (const QString& target : targets) {
        if (prompts_.openUrl(QUrl::fromLocalFile(target)))
            return;
    }
    prompts_.inform(this, helpNotShown(targets));
}

// --- files from the desktop --------------------------------------------------------------

bool Wind::openProjectFile(const QString& path) {
    if (!settleUnsavedChanges())
        return false;
    const bool read = loadProject(path);
    rememberOpenedFile(fileDialogs_, path, read);
    return read;
}

bool Wind::loadProject(const QString& path) {
    plotPanel_->reset();
    // The reader shows its own messages; what it loaded before a bad line
    // stays in the boxes.
    const bool read = session_.open(path);
    if (read) {
        if (!recent_.add(path))
            warnSettingsNotStored();
        rebuildRecentMenu();
    }
    return read;
}

void Wind::warnSettingsNotStored() {
    if (settingsWarned_)
        return;
    settingsWarned_ = true;
    prompts_.inform(this, settingsNotStored(recent_.settingsFile()));
}

void Wind::openRecentFile(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        if (!recent_.remove(path))
            warnSettingsNotStored();
        rebuildRecentMenu();
        prompts_.inform(this, Message{"文件“" + QDir::toNativeSeparators(path).toStdString() +
                                          "”已不存在，已从最近打开的文件中删除。",
                                      "警告", Message::Icon::Exclamation});
        return;
    }
    openProjectFile(path);
}

void Wind::rebuildRecentMenu() {
    // Called from an entry's own handler too: the old entries go only once
    // that has returned.
    for (QAction* action : mnuRecent_->actions()) {
        mnuRecent_->removeAction(action);
        action->deleteLater();
    }
    const QStringList& files = recent_.files();
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* action = mnuRecent_->addAction(RecentFiles::menuText(static_cast<int>(i), path),
                                                this, [this, path] { openRecentFile(path); });
        action->setData(path);
    }
    mnuRecent_->setEnabled(!files.isEmpty());
}

void Wind::useSettingsFile(const QString& settingsFile) {
    recent_ = RecentFiles(settingsFile);
    rebuildRecentMenu();
    results_->setSettingsFile(settingsFile);
}

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
