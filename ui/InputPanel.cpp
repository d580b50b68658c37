#include "InputPanel.h"

#include "Prompts.h"
#include "SpreadsheetPasteMenu.h"

#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>

namespace tamsor {

namespace {

// The three frames one above the other, in pixels (10215 twips wide at 15
// twips per pixel); the panel begins where the first frame does.
constexpr int kFrameWidth = 681;
constexpr int kPanelHeight = 713;

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QGroupBox* makeFrame(QWidget* parent, const char* caption, int y, int h) {
    auto* frame = new QGroupBox(qs(caption), parent);
    frame->setGeometry(0, y, kFrameWidth, h);
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

// The entries of a drop-down list: the counts from 1, or the terrain
// categories from "A".
QStringList choiceEntries(const ChoiceField& field) {
    QStringList entries;
    for (int i = 0; i < field.entries; ++i) {
        entries << (field.choice == Choice::Terrain ? QString(QChar(u'A' + i))
                                                    : QString::number(i + 1));
    }
    return entries;
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

InputPanel::InputPanel(InputForm& form, Prompts& prompts, QWidget* parent)
    : QWidget(parent), form_(form), prompts_(prompts) {
    setFixedSize(kFrameWidth, kPanelHeight);
    buildFrames();
    connectInputs();
}

InputPanel::~InputPanel() {
    closing_ = true;
    for (QLineEdit* edit : listBoxes_)
        edit->removeEventFilter(this);
    for (QLineEdit* edit : valueBoxes_)
        edit->removeEventFilter(this);
    for (QComboBox* combo : {pointCountList_, modeCountList_, terrainList_})
        combo->removeEventFilter(this);
}

void InputPanel::buildFrames() {
    enum Frame { Geometry, Dynamics, WindParameters };
    QGroupBox* frames[] = {makeFrame(this, "几何模型", 0, 169),
                           makeFrame(this, "动力特性", 176, 353),
                           makeFrame(this, "风振计算参数", 536, 177)};
    // Where each box, list and note stands in its frame; their captions and
    // notes come from the input field tables.
    struct Row {
        Frame frame;
        int index; // Box::, ValueBox:: or Choice
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
        listBoxes_[static_cast<std::size_t>(row.index)] = box;
        if (row.index >= Box::ModeShape1 && row.index < Box::ModeShape1 + kModeShapeBoxes)
            modeShapeCaptions_[static_cast<std::size_t>(row.index - Box::ModeShape1)] = caption;
    }
    for (const Row& row : valueRows) {
        const ValueBoxField& field = valueBoxField(row.index);
        QLabel* caption = label(row.frame, field.caption, row.caption);
        QLineEdit* box = edit(row.frame, row.control);
        caption->setBuddy(box);
        box->setAccessibleName(qs(field.caption));
        box->setAccessibleDescription(qs(field.note));
        valueBoxes_[static_cast<std::size_t>(row.index)] = box;
    }
    QComboBox** combos[] = {&pointCountList_, &modeCountList_, &terrainList_};
    for (const Row& row : choiceRows) {
        const ChoiceField& field = choiceField(static_cast<Choice>(row.index));
        QLabel* caption = label(row.frame, field.caption, row.caption);
        auto* combo = new QComboBox(frames[row.frame]);
        combo->addItems(choiceEntries(field));
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

    // The tab order follows the frames from top to bottom, and each frame's
    // boxes and lists row by row, left to right.
    struct Stop {
        Frame frame;
        QRect place;
        QWidget* widget;
    };
    std::vector<Stop> stops;
    for (const Row& row : listRows)
        stops.push_back({row.frame, row.control, listBoxes_[static_cast<std::size_t>(row.index)]});
    for (const Row& row : valueRows)
        stops.push_back({row.frame, row.control, valueBoxes_[static_cast<std::size_t>(row.index)]});
    for (const Row& row : choiceRows)
        stops.push_back({row.frame, row.control, *combos[row.index]});
    std::stable_sort(stops.begin(), stops.end(), [](const Stop& a, const Stop& b) {
        return std::tuple(a.frame, a.place.y(), a.place.x()) <
               std::tuple(b.frame, b.place.y(), b.place.x());
    });
    for (const Stop& stop : stops)
        tabStops_.push_back(stop.widget);
}

void InputPanel::connectInputs() {
    for (int i = 0; i < kListBoxCount; ++i)
        listBoxes_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Text1_%1").arg(i));
    for (int i = 0; i < kValueBoxCount; ++i)
        valueBoxes_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Text2_%1").arg(i));
    pointCountList_->setObjectName(QStringLiteral("cmbFreedom"));
    modeCountList_->setObjectName(QStringLiteral("CmbModes"));
    terrainList_->setObjectName(QStringLiteral("cmbDimao"));
    // A file dropped on a box opens it as on the rest of the window; dropped
    // text would pass by the key filters.
    for (QLineEdit* edit : listBoxes_)
        edit->setAcceptDrops(false);
    for (QLineEdit* edit : valueBoxes_)
        edit->setAcceptDrops(false);
    const auto connectBox = [this](QLineEdit* edit, BoxKind kind, int index) {
        edit->installEventFilter(this);
        addSpreadsheetPaste(edit, prompts_, [this, edit, kind, index] {
            pasteInto(edit, kind, index, QClipboard::Clipboard);
        });
        connect(edit, &QLineEdit::textChanged, this,
                [this, kind, index] { boxEdited(kind, index); });
    };
    for (int i = 0; i < kListBoxCount; ++i)
        connectBox(listBoxes_[static_cast<std::size_t>(i)], BoxKind::List, i);
    for (int i = 0; i < kValueBoxCount; ++i)
        connectBox(valueBoxes_[static_cast<std::size_t>(i)], BoxKind::Value, i);
    for (QComboBox* combo : {pointCountList_, modeCountList_, terrainList_}) {
        // Neither the wheel nor typing passes the focus to a list.
        combo->setFocusPolicy(Qt::StrongFocus);
        combo->installEventFilter(this);
    }
    connect(pointCountList_, &QComboBox::activated, this,
            [this] { form_.selectPointCount(pointCountList_->currentIndex() + 1); });
    connect(modeCountList_, &QComboBox::activated, this,
            [this] { form_.selectModeCount(modeCountList_->currentIndex() + 1); });
    connect(terrainList_, &QComboBox::activated, this,
            [this] { form_.selectTerrain(terrainList_->currentIndex() + 1); });
}

// --- accessors ----------------------------------------------------------------

QLineEdit* InputPanel::listBox(int box) const {
    return box >= 0 && box < kListBoxCount ? listBoxes_[static_cast<std::size_t>(box)] : nullptr;
}

QLineEdit* InputPanel::valueBox(int box) const {
    return box >= 0 && box < kValueBoxCount ? valueBoxes_[static_cast<std::size_t>(box)] : nullptr;
}

QLineEdit* InputPanel::modeShapeBox(int mode) const {
    return mode >= 1 && mode <= kModeShapeBoxes ? listBox(Box::ModeShape1 + mode - 1) : nullptr;
}

QLabel* InputPanel::modeShapeCaption(int mode) const {
    return mode >= 1 && mode <= kModeShapeBoxes
               ? modeShapeCaptions_[static_cast<std::size_t>(mode - 1)]
               : nullptr;
}

// --- mirroring the input form ----------------------------------------------------

void InputPanel::showForm() {
    for (int i = 0; i < kListBoxCount; ++i) {
        QLineEdit* edit = listBoxes_[static_cast<std::size_t>(i)];
        showBox(edit, form_.boxText(i), form_.boxRefused(i), form_.boxMarked(i));
        showRefusal(edit, form_.refusalHint(BoxKind::List, i));
        edit->setEnabled(form_.boxEnabled(i));
    }
    for (int i = 0; i < kValueBoxCount; ++i) {
        QLineEdit* edit = valueBoxes_[static_cast<std::size_t>(i)];
        showBox(edit, form_.valueText(i), form_.valueRefused(i), form_.valueMarked(i));
        showRefusal(edit, form_.refusalHint(BoxKind::Value, i));
    }
    for (int k = 0; k < kModeShapeBoxes; ++k) {
        const int box = Box::ModeShape1 + k;
        QLabel* caption = modeShapeCaptions_[static_cast<std::size_t>(k)];
        caption->setEnabled(form_.boxEnabled(box));
        caption->setText(qs(form_.boxCaption(box)));
        listBoxes_[static_cast<std::size_t>(box)]->setAccessibleName(
            spokenName(listBoxField(box)) + (form_.boxEnabled(box) ? QString() : qs("（未定义）")));
    }

    const ProjectInput& input = form_.input();
    const std::pair<QComboBox*, int> combos[] = {{pointCountList_, input.pointCount - 1},
                                                 {modeCountList_, input.modeCount - 1},
                                                 {terrainList_, input.terrain - 1}};
    for (const auto& [combo, position] : combos) {
        if (combo->currentIndex() != position) {
            const QSignalBlocker blocker(combo);
            combo->setCurrentIndex(position);
        }
    }
}

void InputPanel::showBox(QLineEdit* edit, const std::string& text, bool refused, bool marked) {
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

void InputPanel::focusFirstMarkedBox() {
    for (QWidget* stop : tabStops_) {
        auto* edit = qobject_cast<QLineEdit*>(stop);
        if (edit == nullptr)
            continue;
        const auto list = std::find(listBoxes_.begin(), listBoxes_.end(), edit);
        const bool marked = list != listBoxes_.end()
                                ? form_.boxMarked(static_cast<int>(list - listBoxes_.begin()))
                                : form_.valueMarked(static_cast<int>(
                                      std::find(valueBoxes_.begin(), valueBoxes_.end(), edit) -
                                      valueBoxes_.begin()));
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

void InputPanel::boxEdited(BoxKind kind, int index) {
    if (kind == BoxKind::List) {
        const std::string text = listBox(index)->text().toStdString();
        if (text != form_.boxText(index))
            form_.setBoxText(index, text);
    } else {
        const std::string text = valueBox(index)->text().toStdString();
        if (text != form_.valueText(index))
            form_.setValueText(index, text);
    }
}

void InputPanel::boxLeft(BoxKind kind, int index) {
    if (kind == BoxKind::List)
        form_.leaveBox(index);
    else
        form_.leaveValueBox(index);
}

bool InputPanel::filterKey(QLineEdit* edit, BoxKind kind, int index, QKeyEvent* event) {
    // Tab and Backtab move the focus; they never reach the box's text.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false;
    if (event->matches(QKeySequence::Paste)) {
        pasteInto(edit, kind, index, QClipboard::Clipboard);
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

    const TypedVerdict verdict = tamsor::judgeTyped(kind, index, text.toStdU32String());
    if (!verdict.replacement)
        return false; // every character passes as typed: the box handles the key itself
    putJudged(edit, kind, index, verdict);
    return true;
}

void InputPanel::pasteInto(QLineEdit* edit, BoxKind kind, int index, QClipboard::Mode mode) {
    if (edit->isReadOnly() || !edit->isEnabled())
        return;
    const QString text = QGuiApplication::clipboard()->text(mode);
    putJudged(edit, kind, index, tamsor::judgePasted(kind, index, text.toStdU32String()));
}

void InputPanel::putJudged(QLineEdit* edit, BoxKind kind, int index, const TypedVerdict& verdict) {
    if (!verdict.hint.empty())
        prompts_.refuseKey(edit, verdict.hint);
    const QString kept = QString::fromStdU32String(verdict.replacement.value_or(U""));
    if (!kept.isEmpty())
        edit->insert(kept);
    markRefused(edit, kind, index, verdict.refused, kept.size());
}

void InputPanel::markRefused(QLineEdit* edit, BoxKind kind, int index,
                             std::vector<RefusedCharacter> refused, qsizetype keptLength) {
    if (refused.empty())
        return;
    // The kept characters end at the cursor; the form counts UTF-8 bytes.
    const qsizetype start = edit->cursorPosition() - keptLength;
    const auto base = static_cast<std::size_t>(edit->text().left(start).toUtf8().size());
    for (RefusedCharacter& r : refused)
        r.at += base;
    form_.markRefused(kind, index, std::move(refused));
}

bool InputPanel::filterChoice(QComboBox* combo, QEvent* event) {
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

bool InputPanel::eventFilter(QObject* watched, QEvent* event) {
    if (closing_)
        return QWidget::eventFilter(watched, event);
    if (auto* combo = qobject_cast<QComboBox*>(watched))
        return filterChoice(combo, event) || QWidget::eventFilter(watched, event);
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr)
        return QWidget::eventFilter(watched, event);
    if (const auto list = std::find(listBoxes_.begin(), listBoxes_.end(), edit);
        list != listBoxes_.end()) {
        const int index = static_cast<int>(list - listBoxes_.begin());
        return filterBoxEvent(edit, BoxKind::List, index, event) ||
               QWidget::eventFilter(watched, event);
    }
    if (const auto value = std::find(valueBoxes_.begin(), valueBoxes_.end(), edit);
        value != valueBoxes_.end()) {
        const int index = static_cast<int>(value - valueBoxes_.begin());
        return filterBoxEvent(edit, BoxKind::Value, index, event) ||
               QWidget::eventFilter(watched, event);
    }
    return QWidget::eventFilter(watched, event);
}

bool InputPanel::filterBoxEvent(QLineEdit* edit, BoxKind kind, int index, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        return filterKey(edit, kind, index, static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod: {
        // An input method's text meets the same filters as typed keys.
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (input->commitString().isEmpty())
            return false;
        const TypedVerdict verdict =
            tamsor::judgeTyped(kind, index, input->commitString().toStdU32String());
        if (!verdict.replacement)
            return false;
        if (!verdict.hint.empty())
            prompts_.refuseKey(edit, verdict.hint);
        const QString kept = QString::fromStdU32String(*verdict.replacement);
        input->setCommitString(kept, input->replacementStart(), input->replacementLength());
        if (verdict.refused.empty())
            return false;
        // The box takes the text first, so that the places of the refused
        // characters are known in its new text.
        static_cast<QObject*>(edit)->event(input);
        markRefused(edit, kind, index, verdict.refused, kept.size());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        // The middle button pastes the selection where the desktop has one.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::MiddleButton ||
            !QGuiApplication::clipboard()->supportsSelection())
            return false;
        edit->deselect();
        pasteInto(edit, kind, index, QClipboard::Selection);
        return true;
    }
    case QEvent::FocusOut: {
        // Another window coming to the front (a message box among them) or a
        // menu opening does not leave the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (!movingFocus_ && reason != Qt::ActiveWindowFocusReason &&
            reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
            boxLeft(kind, index);
        return false;
    }
    default:
        return false;
    }
}

} // namespace tamsor
