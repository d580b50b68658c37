#include "MainWindow.h"

#include "TamsorVersion.h"

#include "WindResponse.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QUrl>

#include <cstddef>
#include <optional>
#include <string>

namespace tamsor {

namespace {

// Client area of the window in pixels (18705 x 11085 twips at 15 twips per
// pixel).
constexpr int kClientWidth = 1247;
constexpr int kClientHeight = 739;

constexpr const char* kMaintainerLine = "Tamsor 由 Tamsor 开发组维护";

QString qs(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QLabel* makeLabel(QWidget* parent, const char* text, int x, int y, int w, int h = 22) {
    auto* label = new QLabel(qs(text), parent);
    label->setGeometry(x, y, w, h);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, int x, int y, int w) {
    auto* edit = new QLineEdit(parent);
    edit->setGeometry(x, y, w, 22);
    return edit;
}

QComboBox* makeCombo(QWidget* parent, const QStringList& entries, int x, int y, int w) {
    auto* combo = new QComboBox(parent);
    combo->addItems(entries);
    combo->setGeometry(x, y, w, 22);
    return combo;
}

QGroupBox* makeFrame(QWidget* parent, const char* caption, int x, int y, int w, int h) {
    auto* frame = new QGroupBox(qs(caption), parent);
    frame->setGeometry(x, y, w, h);
    return frame;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette pal = widget->palette();
    if (pal.color(QPalette::Active, QPalette::Text) == colour &&
        pal.color(QPalette::Inactive, QPalette::Text) == colour)
        return;
    pal.setColor(QPalette::Active, QPalette::Text, colour);
    pal.setColor(QPalette::Inactive, QPalette::Text, colour);
    widget->setPalette(pal);
}

QColor colourValue(int value) {
    // Colour values as the input logic gives them: 0x00BBGGRR.
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

List firstElements(const List& list, std::size_t count) {
    return List(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(count));
}

// Places an area's axis captions: the height caption in the top left corner,
// the value caption centred along the bottom edge.
void placeAxisCaptions(PlotArea& area, QLabel* heightCaption, QLabel* valueCaption) {
    const QRect inner = area.contentsRect();
    heightCaption->adjustSize();
    heightCaption->move(inner.left() + 4, inner.top() + 4);
    valueCaption->adjustSize();
    valueCaption->move(inner.left() + (inner.width() - valueCaption->width()) / 2,
                       inner.bottom() - valueCaption->height() - 3);
}

} // namespace

QString findHelpFile(const QString& programDir) {
    const QDir dir(programDir);
    const QString beside = dir.filePath(qs(kHelpFileName));
    if (QFileInfo(beside).isFile())
        return beside;
    const QString installed =
        QDir::cleanPath(dir.filePath(QStringLiteral("../share/tamsor/") + qs(kHelpFileName)));
    if (QFileInfo(installed).isFile())
        return installed;
    return {};
}

QString startDirectory(const QString& programDir) {
    const QFileInfo info(programDir);
    if (!programDir.isEmpty() && info.isDir() && info.isWritable())
        return info.absoluteFilePath();
    return QDir::homePath();
}

Wind::Wind(ProjectModel& model, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), model_(model), prompts_(prompts), sink_(prompts, this),
      form_(model, sink_) {
    setWindowTitle(qs(kAppTitle));
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSize(9);
    setFont(font);

    buildMenus();
    auto* central = new QWidget(this);
    central->setFixedSize(kClientWidth, kClientHeight);
    buildControls(central);
    setCentralWidget(central);
    connectInputs();
    form_.changed = [this] { syncFromForm(); };
    adjustSize();
    setFixedSize(sizeHint());

    Form_Load();
}

Wind::~Wind() {
    closing_ = true;
    form_.changed = nullptr;
    for (QLineEdit* edit : text1_)
        edit->removeEventFilter(this);
    for (QLineEdit* edit : text2_)
        edit->removeEventFilter(this);
}

void Wind::buildMenus() {
    QMenu* file = menuBar()->addMenu(qs("文件"));
    mnuNew_ = file->addAction(qs("新建(New)"), this, [this] { mnuNew_Click(); });
    file->addSeparator();
    mnuOpen_ = file->addAction(qs("导入数据(Open)"), this, [this] { mnuOpen_Click(); });
    mnuSave_ = file->addAction(qs("导出数据(Save)"), this, [this] { mnuSave_Click(); });
    file->addSeparator();
    mnuExit_ = file->addAction(qs("退出(Exit)"), this, [this] { mnuExit_Click(); });

    QMenu* option = menuBar()->addMenu(qs("选项"));
    mnuSet_ = option->addAction(qs("参数设置"), this, [this] { mnuSet_Click(); });

    QMenu* help = menuBar()->addMenu(qs("帮助"));
    mnuContent_ = help->addAction(qs("帮助文件"), this, [this] { mnuContent_Click(); });
    mnuContent_->setShortcut(QKeySequence(Qt::Key_F1));
    mnuContent_->setShortcutContext(Qt::WindowShortcut);
    help->addSeparator();
    mnuAbout_ = help->addAction(qs("关于......"), this, [this] { mnuAbout_Click(); });
}

void Wind::buildControls(QWidget* central) {
    const QStringList freedomEntries{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};

    // Geometry.
    QGroupBox* frame2 = makeFrame(central, "几何模型", 16, 8, 681, 169);
    makeLabel(frame2, "自由度数", 16, 28, 70);
    cmbFreedom_ = makeCombo(frame2, freedomEntries, 90, 28, 60);
    makeLabel(frame2, "结构宽度(m)", 190, 28, 85);
    text2_[0] = makeEdit(frame2, 280, 28, 90);
    makeLabel(frame2, "注：仅用于计算水平向相关性，不考虑时取0", 385, 28, 290);
    makeLabel(frame2, "各质点z坐标(m)", 16, 64, 140);
    text1_[0] = makeEdit(frame2, 160, 64, 505);
    makeLabel(frame2, "各质点受风面积(m^2)", 16, 98, 140);
    text1_[1] = makeEdit(frame2, 160, 98, 505);
    makeLabel(frame2, "注：坐标和面积个数应分别与自由度数相同，数据之间用分号隔开。", 16, 134, 650);

    // Dynamic properties.
    QGroupBox* frame3 = makeFrame(central, "动力特性", 16, 184, 681, 353);
    makeLabel(frame3, "拟取振型数", 16, 28, 80);
    cmbModes_ = makeCombo(frame3, QStringList{"1"}, 100, 28, 60);
    makeLabel(frame3, "固有频率(Hz)", 16, 64, 140);
    text1_[7] = makeEdit(frame3, 160, 64, 200);
    makeLabel(frame3, "阻尼比", 390, 64, 50);
    text1_[8] = makeEdit(frame3, 445, 64, 220);
    makeLabel(frame3, "注：频率和阻尼比个数应与拟取的振型数相同；数据之间用分号隔开。", 16, 96,
              650);
    makeLabel(frame3, "各质点质量(吨)", 16, 136, 140);
    text1_[2] = makeEdit(frame3, 160, 136, 505);
    makeLabel(frame3, "注：个数应与自由度数相同；以下振型与此相同。数据之间用分号隔开。", 16, 168,
              650);
    const char* modeCaptions[3] = {"第1阶振型", "未定义", "未定义"};
    for (int k = 0; k < 3; ++k) {
        const int y = 208 + 42 * k;
        label8_[static_cast<std::size_t>(k)] = makeLabel(frame3, modeCaptions[k], 16, y, 140);
        text1_[static_cast<std::size_t>(k + 3)] = makeEdit(frame3, 160, y, 505);
    }

    // Wind parameters.
    QGroupBox* frame4 = makeFrame(central, "风振计算参数", 16, 544, 681, 177);
    makeLabel(frame4, "地貌类型", 16, 28, 70);
    cmbDimao_ = makeCombo(frame4, QStringList{"A", "B", "C", "D"}, 90, 28, 60);
    makeLabel(frame4, "基本风压(KPa)", 190, 28, 90);
    text2_[1] = makeEdit(frame4, 280, 28, 90);
    makeLabel(frame4, "体型系数", 16, 66, 140);
    text1_[6] = makeEdit(frame4, 160, 66, 505);
    QLabel* note = makeLabel(frame4,
                             "注：如果各质点体型系数相同，只输入一个数值；否则，输入的个数应与自由"
                             "度数相同，数据之间用分号隔开。",
                             16, 100, 650, 44);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // Plots.
    picture1_ = new PlotArea(central);
    picture1_->setGeometry(728, 16, 249, 515);
    picture2_ = new PlotArea(central);
    picture2_->setGeometry(984, 16, 249, 515);
    lblMean_[0] = new QLabel(qs("高度/m"), picture1_);
    lblMean_[1] = new QLabel(qs("高度/m"), picture2_);
    lblMean_[2] = new QLabel(qs("平均风荷载 / KN"), picture1_);
    lblMean_[3] = new QLabel(qs("平均位移 / mm"), picture2_);
    placeAxisCaptions(*picture1_, lblMean_[0], lblMean_[2]);
    placeAxisCaptions(*picture2_, lblMean_[1], lblMean_[3]);
    for (PlotArea* area : {picture1_, picture2_}) {
        area->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(area, &QWidget::customContextMenuRequested, this,
                [this, area](const QPoint& pos) { showPlotMenu(*area, pos); });
    }

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
    QLabel* maintainer = makeLabel(central, kMaintainerLine, 728, 692, 505);
    maintainer->setAlignment(Qt::AlignCenter);

    // The tab order follows the frames from top to bottom.
    QWidget* order[] = {cmbFreedom_,  text2_[0],    text1_[0],    text1_[1],   cmbModes_,
                        text1_[7],    text1_[8],    text1_[2],    text1_[3],   text1_[4],
                        text1_[5],    cmbDimao_,    text2_[1],    text1_[6],   command1_[0],
                        command1_[1], command1_[2], command1_[3], command1_[4]};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void Wind::connectInputs() {
    for (int i = 0; i < kListBoxCount; ++i)
        text1_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Text1_%1").arg(i));
    for (int i = 0; i < kValueBoxCount; ++i)
        text2_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Text2_%1").arg(i));
    for (int i = 0; i < kCommandCount; ++i)
        command1_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("command1_%1").arg(i));
    cmbFreedom_->setObjectName(QStringLiteral("cmbFreedom"));
    cmbModes_->setObjectName(QStringLiteral("CmbModes"));
    cmbDimao_->setObjectName(QStringLiteral("cmbDimao"));
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture2_->setObjectName(QStringLiteral("Picture2"));
    for (int i = 0; i < kListBoxCount; ++i) {
        QLineEdit* edit = text1_[static_cast<std::size_t>(i)];
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
    }
    for (int i = 0; i < kValueBoxCount; ++i) {
        QLineEdit* edit = text2_[static_cast<std::size_t>(i)];
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this, i] { Text2_Change(i); });
    }
    connect(cmbFreedom_, &QComboBox::activated, this, [this] { cmbFreedom_Click(); });
    connect(cmbModes_, &QComboBox::activated, this, [this] { CmbModes_Click(); });
    connect(cmbDimao_, &QComboBox::activated, this, [this] { cmbDimao_Click(); });
}

// --- accessors ----------------------------------------------------------------

QPushButton* Wind::command1(int index) const {
    return index >= 0 && index < kCommandCount ? command1_[static_cast<std::size_t>(index)]
                                               : nullptr;
}

QLineEdit* Wind::text1(int index) const {
    return index >= 0 && index < kListBoxCount ? text1_[static_cast<std::size_t>(index)] : nullptr;
}

QLineEdit* Wind::text2(int index) const {
    return index >= 0 && index < kValueBoxCount ? text2_[static_cast<std::size_t>(index)] : nullptr;
}

QLabel* Wind::label8(int index) const {
    return index >= 0 && index < 3 ? label8_[static_cast<std::size_t>(index)] : nullptr;
}

QLabel* Wind::lblMean(int index) const {
    return index >= 0 && index < kAxisCaptionCount ? lblMean_[static_cast<std::size_t>(index)]
                                                   : nullptr;
}

// --- mirroring the input form ----------------------------------------------------

void Wind::syncFromForm() {
    for (int i = 0; i < kListBoxCount; ++i) {
        QLineEdit* edit = text1_[static_cast<std::size_t>(i)];
        const QString text = QString::fromStdString(form_.text1(i));
        if (edit->text() != text) {
            const QSignalBlocker blocker(edit);
            edit->setText(text);
        }
        setTextColour(edit, colourValue(form_.text1Colour(i)));
        edit->setEnabled(form_.text1Enabled(i));
    }
    for (int i = 0; i < kValueBoxCount; ++i) {
        QLineEdit* edit = text2_[static_cast<std::size_t>(i)];
        const QString text = QString::fromStdString(form_.text2(i));
        if (edit->text() != text) {
            const QSignalBlocker blocker(edit);
            edit->setText(text);
        }
        setTextColour(edit, colourValue(form_.text2Colour(i)));
    }
    for (int k = 0; k < 3; ++k)
        label8_[static_cast<std::size_t>(k)]->setEnabled(form_.label8Enabled(k));

    const std::pair<QComboBox*, int> combos[] = {{cmbFreedom_, form_.freedomPosition()},
                                                 {cmbModes_, form_.modesPosition()},
                                                 {cmbDimao_, form_.terrainPosition()}};
    for (const auto& [combo, position] : combos) {
        if (combo->currentIndex() != position) {
            const QSignalBlocker blocker(combo);
            combo->setCurrentIndex(position);
        }
    }
    for (int i = 1; i < kCommandCount; ++i)
        command1_[static_cast<std::size_t>(i)]->setEnabled(form_.resultButtonsEnabled());
}

// --- input handlers ------------------------------------------------------------------

bool Wind::Text1_KeyPress(int index, char32_t key) const {
    return tamsor::Text1_KeyPress(index, key);
}

bool Wind::Text2_KeyPress(int index, char32_t key) const {
    return tamsor::Text2_KeyPress(index, key);
}

void Wind::Text1_Change(int index) {
    const std::string text = text1(index)->text().toStdString();
    if (text != form_.text1(index))
        form_.setText1(index, text);
}

void Wind::Text2_Change(int index) {
    const std::string text = text2(index)->text().toStdString();
    if (text != form_.text2(index))
        form_.setText2(index, text);
}

void Wind::Text1_LostFocus(int index) {
    form_.Text1_LostFocus(index);
}

void Wind::Text2_LostFocus(int index) {
    form_.Text2_LostFocus(index);
}

void Wind::cmbFreedom_Click() {
    form_.selectFreedom(cmbFreedom_->currentIndex());
}

void Wind::CmbModes_Click() {
    form_.selectModes(cmbModes_->currentIndex());
}

void Wind::cmbDimao_Click() {
    form_.selectTerrain(cmbDimao_->currentIndex());
}

bool Wind::filterKey(QLineEdit* edit, bool listBox, int index, QKeyEvent* event) {
    // Tab and Backtab move the focus; they never reach the box's text.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false;
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Copy) ||
        event->matches(QKeySequence::Cut))
        return true;

    QString text = event->text();
    const bool control =
        (event->modifiers() & Qt::ControlModifier) && !(event->modifiers() & Qt::AltModifier);
    if (control && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z) {
        // Ctrl with a letter types that letter's control character (Ctrl+V is
        // 22), whatever text the platform attached to the event.
        text = QString(QChar(static_cast<char16_t>(event->key() - Qt::Key_A + 1)));
    }
    // Keys that type nothing (arrows, Home, End, Delete) are left to the box.
    if (text.isEmpty() || text == QStringLiteral("\x7f"))
        return false;

    const std::u32string typed = text.toStdU32String();
    std::u32string kept;
    for (char32_t key : typed) {
        if (listBox ? Text1_KeyPress(index, key) : Text2_KeyPress(index, key))
            kept.push_back(key);
    }
    if (kept.size() == typed.size())
        return false; // every character passes: the box handles the key itself
    std::u32string printable;
    for (char32_t key : kept) {
        if (key >= 0x20)
            printable.push_back(key);
    }
    if (!printable.empty())
        edit->insert(QString::fromStdU32String(printable));
    return true;
}

bool Wind::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr || closing_)
        return QMainWindow::eventFilter(watched, event);
    int index = -1;
    bool listBox = true;
    for (int i = 0; i < kListBoxCount && index < 0; ++i) {
        if (text1_[static_cast<std::size_t>(i)] == edit)
            index = i;
    }
    for (int i = 0; i < kValueBoxCount && index < 0; ++i) {
        if (text2_[static_cast<std::size_t>(i)] == edit) {
            index = i;
            listBox = false;
        }
    }
    if (index < 0)
        return QMainWindow::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Copy) ||
            key->matches(QKeySequence::Cut)) {
            key->ignore();
            return true;
        }
        break;
    }
    case QEvent::KeyPress:
        return filterKey(edit, listBox, index, static_cast<QKeyEvent*>(event));
    case QEvent::FocusOut: {
        // Another window coming to the front (a message box among them) or a
        // menu opening does not leave the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            reason != Qt::MenuBarFocusReason) {
            if (listBox)
                Text1_LostFocus(index);
            else
                Text2_LostFocus(index);
        }
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- start-up and closing ------------------------------------------------------------

void Wind::Form_Load() {
    model_.lastFileName = "*.wvd";
    const QString dir = startDirectory(QCoreApplication::applicationDirPath());
    QDir::setCurrent(dir);
    model_.lastDir = dir.toStdString();
    centreOnScreen();
    mnuNew_Click();
}

void Wind::centreOnScreen() {
    QScreen* screen = this->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    const QSize size = frameGeometry().size();
    move(available.left() + (available.width() - size.width()) / 2,
         available.top() + (available.height() - size.height()) / 2);
}

void Wind::Form_Unload(bool& cancel) {
    cancel = !prompts_.confirm(this, Message{"你真的想退出吗? ", "提    示", Message::Icon::None});
}

void Wind::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
}

void Wind::showEvent(QShowEvent* event) {
    closing_ = false;
    QMainWindow::showEvent(event);
}

void Wind::mnuExit_Click() {
    close();
}

// --- commands --------------------------------------------------------------------------

void Wind::mnuNew_Click() {
    form_.newProject();
    for (int i = 0; i < kPlotLabelCount; ++i) {
        for (QLabel* label : {labelX(i), labelX2(i)}) {
            label->hide();
            QPalette pal = label->palette();
            pal.setColor(QPalette::WindowText, QColor(255, 0, 0));
            label->setPalette(pal);
        }
    }
    for (QLabel* caption : lblMean_)
        caption->hide();
    disableResultCommands();
    Picture_cls(*picture1_);
    Picture_cls(*picture2_);
}

void Wind::disableResultCommands() {
    form_.setResultButtonsEnabled(false);
}

bool Wind::resultsCurrent() const {
    if (!model_.resultsComplete || model_.nFreedom < 1)
        return false;
    const auto n = static_cast<std::size_t>(model_.nFreedom);
    for (const List* list :
         {&model_.zCoord, &model_.meanLoad, &model_.meanDisp, &model_.windVibForce, &model_.dispStd,
          &model_.eqStaticLoad, &model_.windVibCoef, &model_.lrcLoad, &model_.lrcBackground,
          &model_.bgFactor, &model_.muR}) {
        if (list->size() < n)
            return false;
    }
    return true;
}

void Wind::command1_Click(int index) {
    if (index < 0 || index >= kCommandCount)
        return;
    if (!form_.commandGate())
        return;

    if (index == 0) {
        Picture_cls(*picture1_);
        Picture_cls(*picture2_);
        for (QLabel* caption : lblMean_)
            caption->hide();
        form_.setResultButtonsEnabled(true);
        const std::optional<ComputeFault> fault = computeWindResponse(model_);
        if (fault) {
            // Partial results are neither plotted nor reported.
            form_.setResultButtonsEnabled(false);
            prompts_.inform(this, Message{fault->message(), "错误提示", Message::Icon::None});
        }
        return;
    }

    if (!resultsCurrent()) {
        disableResultCommands();
        prompts_.inform(this, Message{"没有与当前输入相符的计算结果，请先计算风振响应。",
                                      "错误提示", Message::Icon::None});
        return;
    }
    if (index == 4)
        showReportDialog();
    else
        plotResults(index);
}

void Wind::plotResults(int index) {
    struct PlotPair {
        const List* left;
        const char* leftCaption;
        const List* right;
        const char* rightCaption;
    };
    const PlotPair pairs[3] = {
        {&model_.meanLoad, "平均风荷载 /KN", &model_.meanDisp, "平均位移 /mm"},
        {&model_.windVibForce, "脉动风振力 /KN", &model_.dispStd, "脉动位移均方差 /mm"},
        {&model_.eqStaticLoad, "等效静力风荷载 /KN", &model_.windVibCoef, "风振系数"},
    };
    const PlotPair& pair = pairs[index - 1];
    const auto n = static_cast<std::size_t>(model_.nFreedom);
    const List heights = firstElements(model_.zCoord, n);

    Picture_cls(*picture1_);
    Picture_cls(*picture2_);
    ploting1(firstElements(*pair.left, n), heights, *picture1_);
    ploting1(firstElements(*pair.right, n), heights, *picture2_);
    lblMean_[2]->setText(qs(pair.leftCaption));
    lblMean_[3]->setText(qs(pair.rightCaption));
    placeAxisCaptions(*picture1_, lblMean_[0], lblMean_[2]);
    placeAxisCaptions(*picture2_, lblMean_[1], lblMean_[3]);
    for (QLabel* caption : lblMean_) {
        caption->show();
        caption->raise();
    }
}

void Wind::mnuContent_Click() {
    const QString path = findHelpFile(QCoreApplication::applicationDirPath());
    if (path.isEmpty()) {
        prompts_.inform(this, Message{std::string("找不到帮助文件 ") + kHelpFileName + "。", "警告",
                                      Message::Icon::Exclamation});
        return;
    }
    if (!prompts_.openUrl(QUrl::fromLocalFile(path))) {
        prompts_.inform(
            this, Message{"无法打开帮助文件 " + QDir::toNativeSeparators(path).toStdString() + "。",
                          "警告", Message::Icon::Exclamation});
    }
}

// --- plots ---------------------------------------------------------------------------------

void Wind::Picture_cls(PlotArea& area) {
    area.cls();
    for (int i = 0; i < kPlotLabelCount; ++i)
        area.pointLabel(i)->hide();
}

void Wind::ploting1(const List& x, const List& y, PlotArea& area) {
    const PlotGeometry g = computePlotGeometry(x, y);
    area.setScale(g.scale);
    if (g.points.empty())
        return;
    area.setCurrentPosition(g.points.front());
    for (std::size_t i = 0; i < g.points.size(); ++i) {
        area.lineTo(g.points[i]);
        area.circle(g.points[i], g.circleRadius);
        if (i < g.labels.size()) {
            QLabel* label = area.pointLabel(static_cast<int>(i));
            label->show();
            label->setText(QString::fromStdString(g.labels[i].text));
            area.placeLabel(static_cast<int>(i), g.labels[i].topLeft);
        }
    }
}

void Wind::showPlotMenu(PlotArea& area, const QPoint& pos) {
    QMenu menu(this);
    QAction* save = menu.addAction(qs("保存为图片(PNG)..."));
    if (menu.exec(area.mapToGlobal(pos)) != save)
        return;
    const QString name = QFileDialog::getSaveFileName(
        this, qs("保存图片"), QString::fromStdString(model_.lastDir), qs("PNG 图片 (*.png)"));
    if (!name.isEmpty())
        savePlotImage(area, name);
}

bool Wind::savePlotImage(PlotArea& area, const QString& fileName) {
    if (area.saveImage(fileName))
        return true;
    prompts_.inform(
        this, Message{"无法保存图片文件 " + QDir::toNativeSeparators(fileName).toStdString() + "。",
                      "警告", Message::Icon::Exclamation});
    return false;
}

} // namespace tamsor
