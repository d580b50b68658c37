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

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette pal = widget->palette();
    if (pal.color(QPalette::Active, QPalette::Text) == colour &&
        pal.color(QPalette::Inactive, QPalette::Text) == colour)
        return;
    pal.setColor(QPalette::Active, QPalette::Text, colour);
    pal.setColor(QPalette::Inactive, QPalette::Text, colour);
    widget->setPalette(pal);
}

// The text colour of a refused box: pure red.
const QColor kRefusedColour(255, 0, 0);

// What a screen reader calls a list box: what it holds and its unit, as the
// caption beside it reads ("各质点z坐标(m)"). The boxes of the modes beyond the
// mode count, whose captions both read "未定义", are told apart by their
// names, with "（未定义）" after them.
QString spokenName(const ListBoxField& field) {
    QString name = qs(field.name);
    if (!field.unit.empty())
        name += QLatin1Char('(') + qs(field.unit) + QLatin1Char(')');
    return name;
}

BoxKind boxKind(bool listBox) {
    return listBox ? BoxKind::List : BoxKind::Value;
}

// The keys with which an input box edits its text without typing a
// character, as the platform binds them.
constexpr QKeySequence::StandardKey kEditingKeys[] = {
    QKeySequence::Copy,
    QKeySequence::Cut,
    QKeySequence::SelectAll,
    QKeySequence::Deselect,
    QKeySequence::Undo,
    QKeySequence::Redo,
    QKeySequence::Delete,
    QKeySequence::DeleteStartOfWord,
    QKeySequence::DeleteEndOfWord,
    QKeySequence::DeleteEndOfLine,
    QKeySequence::DeleteCompleteLine,
};

// The mark of a box that lost refused characters: a warning sign inside the
// box whose tip, like the box's own, gives the hint; none when `hint` is empty.
void showRefusal(QLineEdit* edit, const std::string& hint) {
    auto* mark =
        edit->findChild<QAction*>(QStringLiteral("refusedCharacters"), Qt::FindDirectChildrenOnly);
    if (hint.empty()) {
        delete mark;
        edit->setToolTip(QString());
        return;
    }
    const QString text = QString::fromStdString(hint);
    if (mark == nullptr) {
        mark = edit->addAction(edit->style()->standardIcon(QStyle::SP_MessageBoxWarning),
                               QLineEdit::TrailingPosition);
        mark->setObjectName(QStringLiteral("refusedCharacters"));
        QObject::connect(mark, &QAction::triggered, edit, [edit] {
            QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), edit->toolTip(), edit);
        });
    }
    mark->setToolTip(text);
    edit->setToolTip(text);
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
    connectInputs();
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
    closing_ = true;
    disconnect(&session_, nullptr, this, nullptr);
    for (QLineEdit* edit : text1_)
        edit->removeEventFilter(this);
    for (QLineEdit* edit : text2_)
        edit->removeEventFilter(this);
    for (QWidget* widget : std::initializer_list<QWidget*>{cmbFreedom_, cmbModes_, cmbDimao_})
        widget->removeEventFilter(this);
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
    enum Frame { Geometry, Dynamics, WindParameters };
    QGroupBox* frames[] = {makeFrame(central, "几何模型", 16, 8, 681, 169),
                           makeFrame(central, "动力特性", 16, 184, 681, 353),
                           makeFrame(central, "风振计算参数", 16, 544, 681, 177)};
    // Where each box, list and note stands; their captions and notes come
    // from the input field tables.
    struct Row {
        Frame frame;
        int index; // Text1 / Text2 index or Choice
        QRect caption;
        QRect control;
    };
    const Row listRows[] = {
        {Geometry, Box::Heights, {16, 64, 140, 22}, {160, 64, 505, 22}},
        {Geometry, Box::Areas, {16, 98, 140, 22}, {160, 98, 505, 22}},
        {Dynamics, Box::Frequency, {16, 64, 140, 22}, {160, 64, 200, 22}},
        {Dynamics, Box::DampingRatio, {390, 64, 50, 22}, {445, 64, 220, 22}},
        {Dynamics, Box::Masses, {16, 136, 140, 22}, {160, 136, 505, 22}},
        {Dynamics, Box::ModeShape1, {16, 208, 140, 22}, {160, 208, 505, 22}},
        {Dynamics, Box::ModeShape2, {16, 250, 140, 22}, {160, 250, 505, 22}},
        {Dynamics, Box::ModeShape3, {16, 292, 140, 22}, {160, 292, 505, 22}},
        {WindParameters, Box::ShapeCoef, {16, 66, 140, 22}, {160, 66, 505, 22}},
    };
    const Row valueRows[] = {
        {Geometry, ValueBox::Width, {190, 28, 85, 22}, {280, 28, 90, 22}},
        {WindParameters, ValueBox::WindPressure, {190, 28, 90, 22}, {280, 28, 90, 22}},
    };
    const Row choiceRows[] = {
        {Geometry, static_cast<int>(Choice::Freedom), {16, 28, 70, 22}, {90, 28, 60, 22}},
        {Dynamics, static_cast<int>(Choice::Modes), {16, 28, 80, 22}, {100, 28, 60, 22}},
        {WindParameters, static_cast<int>(Choice::Terrain), {16, 28, 70, 22}, {90, 28, 60, 22}},
    };
    struct NoteRow {
        Frame frame;
        std::string_view text;
        QRect place;
    };
    const NoteRow noteRows[] = {
        {Geometry, kWidthNote, {385, 28, 290, 22}},
        {Geometry, kPointsNote, {16, 134, 650, 22}},
        {Dynamics, kModesNote, {16, 96, 650, 22}},
        {Dynamics, kMassNote, {16, 168, 650, 22}},
        {WindParameters, kShapeCoefNote, {16, 100, 650, 44}},
    };

    const auto label = [&](Frame frame, std::string_view text, const QRect& place) {
        auto* caption = new QLabel(qs(text), frames[frame]);
        caption->setGeometry(place);
        return caption;
    };
    const auto edit = [&](Frame frame, const QRect& place) {
        auto* box = new QLineEdit(frames[frame]);
        box->setGeometry(place);
        return box;
    };
    // A screen reader names each box by its own caption and reads its note
    // as the description. Each caption also labels its control, which is how
    // a screen reader on Linux names a drop-down list (its name there is its
    // current entry).
    for (const Row& row : listRows) {
        const ListBoxField& field = listBoxField(row.index);
        QLabel* caption = label(row.frame, field.caption, row.caption);
        QLineEdit* box = edit(row.frame, row.control);
        caption->setBuddy(box);
        box->setAccessibleName(spokenName(field));
        box->setAccessibleDescription(qs(field.note));
        text1_[static_cast<std::size_t>(row.index)] = box;
        if (row.index >= Box::ModeShape1 && row.index <= Box::ModeShape3)
            label8_[static_cast<std::size_t>(row.index - Box::ModeShape1)] = caption;
    }
    for (const Row& row : valueRows) {
        const ValueBoxField& field = valueBoxField(row.index);
        QLabel* caption = label(row.frame, field.caption, row.caption);
        QLineEdit* box = edit(row.frame, row.control);
        caption->setBuddy(box);
        box->setAccessibleName(qs(field.caption));
        box->setAccessibleDescription(qs(field.note));
        text2_[static_cast<std::size_t>(row.index)] = box;
    }
    const QStringList entries[] = {
        {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, {"1", "2", "3"}, {"A", "B", "C", "D"}};
    QComboBox** combos[] = {&cmbFreedom_, &cmbModes_, &cmbDimao_};
    for (const Row& row : choiceRows) {
        const ChoiceField& field = choiceField(static_cast<Choice>(row.index));
        QLabel* caption = label(row.frame, field.caption, row.caption);
        auto* combo = new QComboBox(frames[row.frame]);
        combo->addItems(entries[row.index].mid(0, field.entries));
        combo->setGeometry(row.control);
        caption->setBuddy(combo);
        combo->setAccessibleName(qs(field.caption));
        *combos[row.index] = combo;
    }
    for (const NoteRow& row : noteRows) {
        QLabel* note = label(row.frame, row.text, row.place);
        if (row.place.height() > 22) {
            note->setWordWrap(true);
            note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        }
    }

    // Plots.
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

    // The tab order follows the frames from top to bottom, and each frame's
    // boxes and lists row by row, left to right.
    struct Stop {
        Frame frame;
        QRect place;
        QWidget* widget;
    };
    std::vector<Stop> stops;
    for (const Row& row : listRows)
        stops.push_back({row.frame, row.control, text1_[static_cast<std::size_t>(row.index)]});
    for (const Row& row : valueRows)
        stops.push_back({row.frame, row.control, text2_[static_cast<std::size_t>(row.index)]});
    for (const Row& row : choiceRows)
        stops.push_back({row.frame, row.control, *combos[row.index]});
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) {
        return std::tuple(a.frame, a.place.y(), a.place.x()) <
               std::tuple(b.frame, b.place.y(), b.place.x());
    });
    std::vector<QWidget*> order;
    for (const Stop& stop : stops) {
        order.push_back(stop.widget);
        if (auto* edit = qobject_cast<QLineEdit*>(stop.widget))
            inputOrder_.push_back(edit);
    }
    order.insert(order.end(), command1_.begin(), command1_.end());
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
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
    // A file dropped on a box opens it as on the rest of the window; dropped
    // text would pass by the key filters.
    for (QLineEdit* edit : text1_)
        edit->setAcceptDrops(false);
    for (QLineEdit* edit : text2_)
        edit->setAcceptDrops(false);
    for (int i = 0; i < kListBoxCount; ++i) {
        QLineEdit* edit = text1_[static_cast<std::size_t>(i)];
        edit->installEventFilter(this);
        addSpreadsheetPaste(edit, prompts_,
                            [this, edit, i] { pasteInto(edit, true, i, QClipboard::Clipboard); });
        connect(edit, &QLineEdit::textChanged, this, [this, i] { Text1_Change(i); });
    }
    for (int i = 0; i < kValueBoxCount; ++i) {
        QLineEdit* edit = text2_[static_cast<std::size_t>(i)];
        edit->installEventFilter(this);
        addSpreadsheetPaste(edit, prompts_,
                            [this, edit, i] { pasteInto(edit, false, i, QClipboard::Clipboard); });
        connect(edit, &QLineEdit::textChanged, this, [this, i] { Text2_Change(i); });
    }
    for (QComboBox* combo : {cmbFreedom_, cmbModes_, cmbDimao_}) {
        // Neither the wheel nor typing passes the focus to a list.
        combo->setFocusPolicy(Qt::StrongFocus);
        combo->installEventFilter(this);
    }
    for (QPushButton* button : command1_)
        button->installEventFilter(this);
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

// --- mirroring the input form ----------------------------------------------------

void Wind::syncFromForm() {
    const InputForm& f = form();
    for (int i = 0; i < kListBoxCount; ++i) {
        QLineEdit* edit = text1_[static_cast<std::size_t>(i)];
        showBox(edit, f.boxText(i), f.boxRefused(i), f.boxMarked(i));
        showRefusal(edit, f.refusalHint(BoxKind::List, i));
        edit->setEnabled(f.boxEnabled(i));
    }
    for (int i = 0; i < kValueBoxCount; ++i) {
        QLineEdit* edit = text2_[static_cast<std::size_t>(i)];
        showBox(edit, f.valueText(i), f.valueRefused(i), f.valueMarked(i));
        showRefusal(edit, f.refusalHint(BoxKind::Value, i));
    }
    for (int k = 0; k < 3; ++k) {
        const int box = Box::ModeShape1 + k;
        QLabel* caption = label8_[static_cast<std::size_t>(k)];
        caption->setEnabled(f.boxEnabled(box));
        caption->setText(qs(f.boxCaption(box)));
        text1_[static_cast<std::size_t>(box)]->setAccessibleName(
            spokenName(listBoxField(box)) + (f.boxEnabled(box) ? QString() : qs("（未定义）")));
    }

    const ProjectInput& input = f.input();
    const std::pair<QComboBox*, int> combos[] = {{cmbFreedom_, input.pointCount - 1},
                                                 {cmbModes_, input.modeCount - 1},
                                                 {cmbDimao_, input.terrain - 1}};
    for (const auto& [combo, position] : combos) {
        if (combo->currentIndex() != position) {
            const QSignalBlocker blocker(combo);
            combo->setCurrentIndex(position);
        }
    }
    for (int i = 1; i < kCommandCount; ++i)
        command1_[static_cast<std::size_t>(i)]->setEnabled(f.resultButtonsEnabled());
}

void Wind::showBox(QLineEdit* edit, const std::string& text, bool refused, bool marked) {
    const QString shown = QString::fromStdString(text);
    if (edit->text() != shown) {
        const QSignalBlocker blocker(edit);
        edit->setText(shown);
    }
    // A box to correct has a red frame, so an empty box shows it too. The
    // frame first: changing a style sheet puts back the palette the box had
    // before it.
    const QString frame =
        marked ? QStringLiteral("QLineEdit { border: 2px solid rgb(255, 0, 0); }") : QString();
    if (edit->styleSheet() != frame)
        edit->setStyleSheet(frame);
    setTextColour(edit, refused ? kRefusedColour : QColor(0, 0, 0));
}

void Wind::focusFirstMarkedBox() {
    for (QLineEdit* edit : inputOrder_) {
        const auto list = std::find(text1_.begin(), text1_.end(), edit);
        const bool marked =
            list != text1_.end()
                ? form().boxMarked(static_cast<int>(list - text1_.begin()))
                : form().valueMarked(static_cast<int>(
                      std::find(text2_.begin(), text2_.end(), edit) - text2_.begin()));
        if (marked) {
            // The gate has just parsed every box: leaving one now says nothing new.
            const bool wasMoving = movingFocus_;
            movingFocus_ = true;
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
            movingFocus_ = wasMoving;
            return;
        }
    }
}

// --- input handlers ------------------------------------------------------------------

void Wind::Text1_Change(int index) {
    const std::string text = text1(index)->text().toStdString();
    if (text != form().boxText(index))
        form().setBoxText(index, text);
}

void Wind::Text2_Change(int index) {
    const std::string text = text2(index)->text().toStdString();
    if (text != form().valueText(index))
        form().setValueText(index, text);
}

void Wind::Text1_LostFocus(int index) {
    form().leaveBox(index);
}

void Wind::Text2_LostFocus(int index) {
    form().leaveValueBox(index);
}

void Wind::cmbFreedom_Click() {
    form().selectPointCount(cmbFreedom_->currentIndex() + 1);
}

void Wind::CmbModes_Click() {
    form().selectModeCount(cmbModes_->currentIndex() + 1);
}

void Wind::cmbDimao_Click() {
    form().selectTerrain(cmbDimao_->currentIndex() + 1);
}

bool Wind::filterKey(QLineEdit* edit, bool listBox, int index, QKeyEvent* event) {
    // Tab and Backtab move the focus; they never reach the box's text.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false;
    if (event->matches(QKeySequence::Paste)) {
        pasteInto(edit, listBox, index, QClipboard::Clipboard);
        return true;
    }
    // Copying, selecting, undoing and deleting put no character in: the box
    // does them itself.
    for (QKeySequence::StandardKey editing : kEditingKeys) {
        if (event->matches(editing))
            return false;
    }

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

    const TypedVerdict verdict = tamsor::judgeTyped(boxKind(listBox), index, text.toStdU32String());
    if (!verdict.replacement)
        return false; // every character passes as typed: the box handles the key itself
    putJudged(edit, listBox, index, verdict);
    return true;
}

void Wind::pasteInto(QLineEdit* edit, bool listBox, int index, QClipboard::Mode mode) {
    if (edit->isReadOnly() || !edit->isEnabled())
        return;
    const QString text = QGuiApplication::clipboard()->text(mode);
    putJudged(edit, listBox, index,
              tamsor::judgePasted(boxKind(listBox), index, text.toStdU32String()));
}

void Wind::putJudged(QLineEdit* edit, bool listBox, int index, const TypedVerdict& verdict) {
    if (!verdict.hint.empty())
        prompts_.refuseKey(edit, verdict.hint);
    const QString kept = QString::fromStdU32String(verdict.replacement.value_or(U""));
    if (!kept.isEmpty())
        edit->insert(kept);
    markRefused(edit, listBox, index, verdict.refused, kept.size());
}

void Wind::markRefused(QLineEdit* edit, bool listBox, int index,
                       std::vector<RefusedCharacter> refused, qsizetype keptLength) {
    if (refused.empty())
        return;
    // The kept characters end at the cursor; the form counts UTF-8 bytes.
    const qsizetype start = edit->cursorPosition() - keptLength;
    const auto base = static_cast<std::size_t>(edit->text().left(start).toUtf8().size());
    for (RefusedCharacter& r : refused)
        r.at += base;
    form().markRefused(boxKind(listBox), index, std::move(refused));
}

bool Wind::filterChoice(QComboBox* combo, QEvent* event) {
    switch (event->type()) {
    case QEvent::Wheel:
        // The wheel over a list the user is not working in would change a
        // project value in passing.
        return !combo->hasFocus();
    case QEvent::KeyPress: {
        // A typed character would select the entry it starts. Space opens the
        // list; the arrow keys and the open list choose.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        return !text.isEmpty() && text.front().isPrint() && key->key() != Qt::Key_Space;
    }
    default:
        return false;
    }
}

bool Wind::eventFilter(QObject* watched, QEvent* event) {
    if (closing_)
        return QMainWindow::eventFilter(watched, event);
    if (auto* combo = qobject_cast<QComboBox*>(watched))
        return filterChoice(combo, event) || QMainWindow::eventFilter(watched, event);
    if (auto* button = qobject_cast<QPushButton*>(watched)) {
        // Enter presses the focused command button, as Space does.
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                button->click();
                return true;
            }
        }
        return QMainWindow::eventFilter(watched, event);
    }
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr)
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
    case QEvent::KeyPress:
        return filterKey(edit, listBox, index, static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod: {
        // An input method's text meets the same filters as typed keys.
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (input->commitString().isEmpty())
            break;
        const TypedVerdict verdict =
            tamsor::judgeTyped(boxKind(listBox), index, input->commitString().toStdU32String());
        if (!verdict.replacement)
            break;
        if (!verdict.hint.empty())
            prompts_.refuseKey(edit, verdict.hint);
        const QString kept = QString::fromStdU32String(*verdict.replacement);
        input->setCommitString(kept, input->replacementStart(), input->replacementLength());
        if (verdict.refused.empty())
            break;
        // The box takes the text first, so that the places of the refused
        // characters are known in its new text.
        static_cast<QObject*>(edit)->event(input);
        markRefused(edit, listBox, index, verdict.refused, kept.size());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        // The middle button pastes the selection where the desktop has one.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton ||
            !QGuiApplication::clipboard()->supportsSelection())
            break;
        edit->deselect();
        pasteInto(edit, listBox, index, QClipboard::Selection);
        return true;
    }
    case QEvent::FocusOut: {
        // Another window coming to the front (a message box among them) or a
        // menu opening does not leave the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (!movingFocus_ && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason) {
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
            focusFirstMarkedBox();
            return;
        }
        plotPanel_->clear();
        if (outcome.notice)
            prompts_.inform(this, *outcome.notice);
        return;
    }

    if (!session_.commandGate()) {
        focusFirstMarkedBox();
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
