#include "WindTestPrompts.h"

#include "DesktopFiles.h"
#include "HelpFiles.h"
#include "MainWindow.h"
#include "NumberFormat.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>

using tamsor::InputForm;
using tamsor::MainWindow;
using tamsor::Message;
using tamsor::SaveAnswer;
namespace Box = tamsor::Box;
namespace ValueBox = tamsor::ValueBox;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

struct Fixture {
    Fixture() : window(std::make_unique<MainWindow>(prompts)) {
        // The recent-files list of this test only.
        window->menus().useSettingsFile(settings.filePath("tamsor.conf"));
        window->show();
        window->activateWindow();
        active = QTest::qWaitForWindowActive(window.get());
    }
    ~Fixture() {
        prompts.confirmAnswer = true;
        window.reset();
    }
    // The numbers the input boxes last gave.
    const tamsor::ParsedInput& numbers() const { return window->form().numbers(); }

    QTemporaryDir settings;
    WindTestPrompts prompts;
    std::unique_ptr<MainWindow> window;
    bool active = false;
};

// Leaves a box the way the Tab key does.
void leave(QWidget* box) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &out);
}

// Puts a text into a box as a paste would, then leaves it.
void enter(QLineEdit* box, const char* text) {
    box->setText(QString::fromUtf8(text));
    leave(box);
}

void selectEntry(QComboBox* combo, int position) {
    combo->setCurrentIndex(position);
    emit combo->activated(position);
}

// A three-point project that computes without a fault.
void enterThreePoints(MainWindow& w) {
    selectEntry(w.inputPanel().pointCountList(), 2);
    enter(w.inputPanel().heightsBox(), "10;20;30");
    enter(w.inputPanel().areasBox(), "10;12;14");
    enter(w.inputPanel().massesBox(), "20;20;20");
    enter(w.inputPanel().modeShapeBox(1), "0.3;0.6;1");
    enter(w.inputPanel().shapeCoefficientsBox(), "1.3");
    enter(w.inputPanel().frequenciesBox(), "0.8");
    enter(w.inputPanel().dampingRatiosBox(), "0.05");
    enter(w.inputPanel().widthBox(), "0");
    enter(w.inputPanel().windPressureBox(), "0.5");
    selectEntry(w.inputPanel().terrainList(), 1);
}

// The plot and report buttons, which need current results.
std::array<QPushButton*, 4> resultButtons(const MainWindow& w) {
    return {w.plotMeanButton(), w.plotFluctuatingButton(), w.plotEquivalentButton(),
            w.reportButton()};
}
bool resultButtonsEnabled(const MainWindow& w) {
    const auto buttons = resultButtons(w);
    return std::all_of(buttons.begin(), buttons.end(), [](auto* b) { return b->isEnabled(); });
}
bool resultButtonsDisabled(const MainWindow& w) {
    const auto buttons = resultButtons(w);
    return std::none_of(buttons.begin(), buttons.end(), [](auto* b) { return b->isEnabled(); });
}

QColor textColour(const QLineEdit* box) {
    return box->palette().color(QPalette::Active, QPalette::Text);
}

// Whether the box is drawn with a red frame: its left edge, half-way down.
bool redFrame(QLineEdit* box) {
    const QImage image = box->grab().toImage();
    return image.pixelColor(0, image.height() / 2) == kRed;
}

// Empties a box with the keyboard, as the user does.
void clearByKeys(QLineEdit* box) {
    box->setFocus();
    box->end(false);
    while (!box->text().isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
}

int visibleLabels(MainWindow& w, bool left) {
    const tamsor::PlotArea* area = left ? w.plotPanel().loadPlot() : w.plotPanel().responsePlot();
    int count = 0;
    for (int i = 0; i < tamsor::kPlotLabelCount; ++i)
        count += !area->pointLabel(i)->isHidden();
    return count;
}

// How many of the plots' four axis captions are shown.
int visibleCaptions(MainWindow& w) {
    const tamsor::PlotPanel& p = w.plotPanel();
    int count = 0;
    for (const QLabel* caption : {p.loadHeightCaption(), p.responseHeightCaption(),
                                  p.loadValueCaption(), p.responseValueCaption()})
        count += !caption->isHidden();
    return count;
}

// Types each character as a key of its own through the application, so the
// window's key filter sees it as it sees a keyboard (also characters that
// QTest::keyClicks cannot send, such as those of a Chinese input method).
void typeKeys(QWidget* box, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QString typedInto(QLineEdit* box, const QString& text) {
    box->clear();
    typeKeys(box, text);
    return box->text();
}

void turnWheel(QWidget* widget, int notches) {
    const QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent wheel(centre, widget->mapToGlobal(centre), QPoint(), QPoint(0, -120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &wheel);
}

QString accessibleText(QWidget* widget, QAccessible::Text what) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(what) : QString();
}

// The name a screen reader gives a control: that of the label that labels it
// (how a drop-down list is named on Linux, where its own name is its current
// entry), else its own.
QString spokenName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    if (face == nullptr)
        return {};
    if (face->role() == QAccessible::ComboBox) {
        const auto labels = face->relations(QAccessible::Label);
        if (!labels.isEmpty())
            return labels.front().first->text(QAccessible::Name);
    }
    return face->text(QAccessible::Name);
}

// Every visible value label of an area lies inside the area's drawing
// rectangle and shows its whole text.
void checkLabelsInside(tamsor::PlotArea* area) {
    const QRect inner = area->contentsRect();
    for (int i = 0; i < tamsor::kPlotLabelCount; ++i) {
        QLabel* label = area->pointLabel(i);
        if (label->isHidden())
            continue;
        QVERIFY2(inner.contains(label->geometry()),
                 qPrintable(label->text() + " outside the plot of " + area->objectName()));
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
    }
}

Message inputError(const char* text) {
    return Message{text, "错误提示", Message::Icon::None};
}

QString example(const char* name) {
    return QStringLiteral(TAMSOR_EXAMPLES_DIR "/") + QString::fromUtf8(name);
}

QStringList recentMenuEntries(const MainWindow& w) {
    QStringList entries;
    for (QAction* action : w.menus().recentMenu()->actions())
        entries << action->data().toString();
    return entries;
}

// Opens a widget's context menu and hands it to `use` while it is open; false
// when no menu opened within a few seconds.
bool useContextMenu(QWidget* widget, const std::function<void(QMenu&)>& use) {
    bool used = false;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr && clock.elapsed() < 5000)
            return;
        poll.stop();
        if (menu != nullptr) {
            used = true;
            use(*menu);
            menu->close();
        }
    });
    poll.start(10);
    emit widget->customContextMenuRequested(QPoint(2, 2));
    poll.stop();
    return used;
}

// Triggers the standard entry 粘贴 of a box's context menu.
bool pasteThroughContextMenu(QLineEdit* box) {
    bool found = false;
    useContextMenu(box, [&found](QMenu& menu) {
        if (auto* paste = menu.findChild<QAction*>("edit-paste")) {
            found = true;
            paste->trigger();
        }
    });
    return found;
}

// Drops the URLs on the window as a file manager would.
void drop(MainWindow& w, const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = w.inputPanel().heightsBox()->mapTo(&w, QPoint(5, 5));
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &enter);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted())
        QCoreApplication::sendEvent(&w, &dropped);
    QCoreApplication::processEvents(); // the file opens once the drop is over
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void startUpState();
    void menusAndShortcuts();
    void computeRightAfterStartUpIsRefused();
    void computeEnablesResultCommandsAndTypingDisablesThemAtOnce();
    void keyFiltersKeepOnlyNumberCharacters();
    void lookAlikesTypeThePlainCharacterAndRefusalsAreHinted();
    void keyHintStaysUntilTheNextKeyOrFocusLoss();
    void editingKeysWorkAndPastesMeetTheKeyFilters();
    void refusedSeparatorsMarkTheBoxUntilItIsCorrected();
    void listsChangeOnlyOnPurpose();
    void modeCountEnablesAndCaptionsTheShapeBoxes();
    void enterPressesTheFocusedCommandButton();
    void boxesListsAndPlotsHaveTheirOwnAccessibleNames();
    void valueLabelsStayInsideTheirPlot();
    void refusedBoxesTurnRedAndBackToBlack();
    void refusedCommandMarksTheBoxesAndFocusesTheFirst();
    void newAndAReadStartEveryBoxAfresh();
    void focusLossToAnotherWindowDoesNotParse();
    void gateAfterDofChangeRefusesEveryBoxThenTheInput();
    void plotCommandsDrawBothResultListsWithoutAccumulating();
    void fewerPointsAfterMoreHideTheExtraLabels();
    void faultedComputationIsReportedAndBlocksResults();
    void noticeFollowsTheComputationOnceOrNever();
    void plotsRefuseResultsOfOtherInput();
    void exitAnsweredNoKeepsEverything();
    void unsavedChangesAreAskedForBeforeNewAndExit();
    void newResetsTheProject();
    void titleShowsTheFileAndTheModifiedMark();
    void projectFileFromTheCommandLine();
    void droppedProjectFileOpensAfterTheQuestion();
    void recentFilesOpenAndMissingOnesAreDropped();
    void settingsThatCannotBeStoredAreSaidOnce();
    void helpOpensSomethingOrSaysWhy();
    void realPromptsTellWhetherAProgramShowsAFile();
    void plotImageCanBeSaved();
    void stalePlotsAreVeiledAndCannotBeSaved();
    void tabGoesRoundTheControlsOnly();
};

void MainWindowTest::startUpState() {
    Fixture f;
    MainWindow& w = *f.window;
    QCOMPARE(w.windowTitle(), QString("Tamsorv1.10[*]"));
    QVERIFY(!w.isWindowModified());
    // On a screen of a usual size nothing scrolls.
    QCOMPARE(w.centralWidget()->size(), QSize(1247, 739));
    QVERIFY(!w.scrollArea()->verticalScrollBar()->isVisible());
    QVERIFY(!w.scrollArea()->horizontalScrollBar()->isVisible());
    for (int i = 0; i < 9; ++i)
        QCOMPARE(w.inputPanel().listBox(i)->text(), QString("0"));
    for (int i = 0; i < 2; ++i)
        QCOMPARE(w.inputPanel().valueBox(i)->text(), QString("0"));

    QCOMPARE(w.inputPanel().pointCountList()->count(), 10);
    QCOMPARE(w.inputPanel().pointCountList()->itemText(9), QString("10"));
    QCOMPARE(w.inputPanel().pointCountList()->currentText(), QString("1"));
    QCOMPARE(w.inputPanel().terrainList()->count(), 4);
    QCOMPARE(w.inputPanel().terrainList()->itemText(3), QString("D"));
    QCOMPARE(w.inputPanel().terrainList()->currentText(), QString("A"));
    QCOMPARE(w.inputPanel().modeCountList()->count(), 3);
    QCOMPARE(w.inputPanel().modeCountList()->itemText(2), QString("3"));
    QCOMPARE(w.inputPanel().modeCountList()->currentText(), QString("1"));

    QVERIFY(w.inputPanel().modeShapeBox(1)->isEnabled());
    QVERIFY(!w.inputPanel().modeShapeBox(2)->isEnabled());
    QVERIFY(!w.inputPanel().modeShapeBox(3)->isEnabled());
    QVERIFY(w.inputPanel().modeShapeCaption(1)->isEnabled());
    QVERIFY(!w.inputPanel().modeShapeCaption(2)->isEnabled());
    QVERIFY(!w.inputPanel().modeShapeCaption(3)->isEnabled());
    QCOMPARE(w.inputPanel().modeShapeCaption(1)->text(), QString("第1阶振型"));
    QCOMPARE(w.inputPanel().modeShapeCaption(3)->text(), QString("未定义"));

    QVERIFY(w.computeButton()->isEnabled());
    QVERIFY(resultButtonsDisabled(w));
    const std::pair<QPushButton*, const char*> captions[] = {
        {w.computeButton(), "计算风振响应"},
        {w.plotMeanButton(), "画平均风结果"},
        {w.plotFluctuatingButton(), "画脉动风结果"},
        {w.plotEquivalentButton(), "画等效静力风荷载"},
        {w.reportButton(), "生成报告书(Report)"}};
    for (const auto& [button, caption] : captions)
        QCOMPARE(button->text(), QString(caption));

    QVERIFY(w.plotPanel().loadPlot()->primitives().empty());
    QVERIFY(w.plotPanel().responsePlot()->primitives().empty());
    QCOMPARE(visibleLabels(w, true), 0);
    QCOMPARE(visibleLabels(w, false), 0);
    QCOMPARE(visibleCaptions(w), 0);
    QCOMPARE(w.plotPanel().loadPlot()->pointLabel(0)->palette().color(QPalette::WindowText), kRed);

    QCOMPARE(f.numbers().nFreedom, 1);
    QCOMPARE(f.numbers().nModes, 1);
    QCOMPARE(f.numbers().terrainType, 1);
    QCOMPARE(w.session().edition(), tamsor::Edition::GB201X);
    QCOMPARE(f.numbers().zCoord, tamsor::List{0.0});
    QCOMPARE(w.fileDialogs().lastFileName, QString("*.wvd"));
    // Nothing used yet: the dialogs start in the user's home, never in the
    // program's folder, and the process's folder is left alone.
    QCOMPARE(tamsor::FileChooser(tamsor::FileDialogKind::OpenData, w.fileDialogs()).folder(),
             QDir::homePath());
    QVERIFY(f.prompts.informed.empty());
}

void MainWindowTest::menusAndShortcuts() {
    Fixture f;
    MainWindow& w = *f.window;
    QCOMPARE(w.menus().newAction()->text(), QString("新建(New)"));
    QCOMPARE(w.menus().openAction()->text(), QString("导入数据(Open)"));
    QCOMPARE(w.menus().saveAction()->text(), QString("导出数据(Save)"));
    QCOMPARE(w.menus().projectDataAction()->text(), QString("横风向及舒适度数据(&D)..."));
    QCOMPARE(w.menus().projectDataAction()->shortcut(), QKeySequence("Ctrl+Shift+D"));
    QCOMPARE(w.menus().recentMenu()->title(), QString("最近打开的文件"));
    QCOMPARE(w.menus().exitAction()->text(), QString("退出(Exit)"));
    QCOMPARE(w.menus().optionsAction()->text(), QString("参数设置"));
    QCOMPARE(w.menus().helpAction()->text(), QString("帮助文件"));
    QCOMPARE(w.menus().aboutAction()->text(), QString("关于......"));
    QCOMPARE(w.menus().newAction()->shortcut(), QKeySequence("Ctrl+N"));
    QCOMPARE(w.menus().openAction()->shortcut(), QKeySequence("Ctrl+O"));
    QCOMPARE(w.menus().saveAction()->shortcut(), QKeySequence("Ctrl+S"));
    QCOMPARE(w.menus().exitAction()->shortcut(), QKeySequence("Ctrl+Q"));
    QCOMPARE(w.menus().helpAction()->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(w.computeShortcut()->shortcut(), QKeySequence(Qt::Key_F5));
    QVERIFY(w.menus().optionsAction()->shortcut().isEmpty());
    QVERIFY(w.menus().aboutAction()->shortcut().isEmpty());
    QStringList menus;
    for (QAction* a : w.menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{"文件", "选项", "结果(Results)", "帮助"}));

    // The keys work from an input box, and never reach its text.
    QVERIFY(f.active);
    QTest::keyClick(w.inputPanel().heightsBox(), Qt::Key_F1);
    QCOMPARE(f.prompts.informed.size() + f.prompts.opened.size(), std::size_t{1});
    f.prompts.clear();
    enterThreePoints(w);
    QTest::keyClick(w.inputPanel().heightsBox(), Qt::Key_F5);
    QVERIFY(resultButtonsEnabled(w));
    QTest::keyClick(w.inputPanel().heightsBox(), Qt::Key_N, Qt::ControlModifier); // asked, Cancel
    QCOMPARE(f.prompts.askedToSave.size(), std::size_t{1});
    QCOMPARE(w.inputPanel().heightsBox()->text(), QString("10;20;30"));
    QVERIFY(f.prompts.informed.empty());
}

void MainWindowTest::computeRightAfterStartUpIsRefused() {
    Fixture f;
    QTest::mouseClick(f.window->computeButton(), Qt::LeftButton);
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(f.prompts.informed[0], inputError("输入的数据有错误"));
    QVERIFY(resultButtonsDisabled(*f.window));
    QVERIFY(!f.window->session().results());
}

void MainWindowTest::computeEnablesResultCommandsAndTypingDisablesThemAtOnce() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    QVERIFY(f.prompts.informed.empty());
    w.computeButton()->click();
    QVERIFY(f.prompts.informed.empty());
    QVERIFY(w.session().resultsCurrent());
    QVERIFY(resultButtonsEnabled(w));

    // One typed character disables the result commands before the box is
    // left; taken back, the input is the computed one again.
    QLineEdit* box = w.inputPanel().massesBox();
    box->setFocus();
    box->end(false);
    QTest::keyClick(box, Qt::Key_5);
    QCOMPARE(box->text(), QString("20;20;205"));
    QVERIFY(resultButtonsDisabled(w));
    QTest::keyClick(box, Qt::Key_Backspace);
    QVERIFY(resultButtonsEnabled(w));
    QTest::keyClick(box, Qt::Key_5);
    QVERIFY(resultButtonsDisabled(w));
    QCOMPARE(f.numbers().mass, (tamsor::List{20, 20, 20})); // not parsed yet
    QVERIFY(w.computeButton()->isEnabled());

    // A value box and the terrain list do the same.
    w.computeButton()->click();
    QVERIFY(resultButtonsEnabled(w));
    QTest::keyClick(w.inputPanel().windPressureBox(), Qt::Key_0);
    QVERIFY(resultButtonsDisabled(w));
    w.computeButton()->click();
    QVERIFY(resultButtonsEnabled(w));
    selectEntry(w.inputPanel().terrainList(), 2);
    QCOMPARE(f.numbers().terrainType, 3);
    QVERIFY(resultButtonsDisabled(w));
    // The other edition, as the options dialog sets it; its own edition
    // brings them back.
    w.computeButton()->click();
    w.session().setEdition(tamsor::Edition::GB2001);
    QVERIFY(resultButtonsDisabled(w));
    QVERIFY(w.computeButton()->isEnabled());
    w.session().setEdition(tamsor::Edition::GB201X);
    QVERIFY(resultButtonsEnabled(w));
    // The mass of 205 t makes the lower points' wind vibration coefficients
    // fall below 1.2: each computation ends with that notice, and nothing else.
    for (const tamsor::Message& message : f.prompts.informed)
        QCOMPARE(message.title, std::string("提    示"));
}

void MainWindowTest::keyFiltersKeepOnlyNumberCharacters() {
    Fixture f;
    MainWindow& w = *f.window;
    QLineEdit* list = w.inputPanel().heightsBox();
    list->clear();
    QTest::keyClicks(list, "1a,2 e;-+xE.");
    QCOMPARE(list->text(), QString("12e;-+E."));

    QLineEdit* value = w.inputPanel().windPressureBox();
    value->clear();
    QTest::keyClicks(value, "-1.5e;+3");
    QCOMPARE(value->text(), QString("1.53"));

    // Backspace works; Enter and other control keys do nothing.
    QTest::keyClick(value, Qt::Key_Backspace);
    QCOMPARE(value->text(), QString("1.5"));
    QTest::keyClick(value, Qt::Key_Return);
    QTest::keyClick(value, Qt::Key_Enter);
    QTest::keyClick(value, Qt::Key_B, Qt::ControlModifier);
    QCOMPARE(value->text(), QString("1.5"));

    // Cursor keys are no characters and still move the cursor.
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(list->cursorPosition(), 0);
    QVERIFY(f.prompts.informed.empty());
}

void MainWindowTest::editingKeysWorkAndPastesMeetTheKeyFilters() {
    Fixture f;
    MainWindow& w = *f.window;
    QVERIFY(f.active);
    QClipboard* clipboard = QGuiApplication::clipboard();
    QLineEdit* heights = w.inputPanel().heightsBox();
    heights->setFocus();
    heights->setText("10;20");
    QTest::keySequence(heights, QKeySequence::SelectAll);
    QTest::keySequence(heights, QKeySequence::Copy);
    QCOMPARE(clipboard->text(), QString("10;20"));
    QTest::keySequence(heights, QKeySequence::Cut);
    QCOMPARE(heights->text(), QString());
    QTest::keySequence(heights, QKeySequence::Undo);
    QCOMPARE(heights->text(), QString("10;20"));
    heights->clear();
    QTest::keySequence(heights, QKeySequence::Paste);
    QCOMPARE(heights->text(), QString("10;20"));

    // Look-alikes as typed; a copied cell's line end is no character.
    heights->clear();
    clipboard->setText("１０；２０\n");
    QTest::keyClick(heights, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(heights->text(), QString("10;20"));
    QVERIFY(f.prompts.keyHints.empty());

    // The context menu's 粘贴 the same way: a comma in a value box is its
    // decimal comma, a letter is refused with a hint.
    QLineEdit* pressure = w.inputPanel().windPressureBox();
    pressure->clear();
    clipboard->setText("0,5 kPa");
    QVERIFY(pasteThroughContextMenu(pressure));
    QCOMPARE(pressure->text(), QString("0.5"));
    QCOMPARE(f.prompts.keyHints.size(), std::size_t{1});
    QCOMPARE(f.prompts.keyHints[0].box, pressure);
    QVERIFY(QString::fromStdString(f.prompts.keyHints[0].hint).contains("空格"));
    QVERIFY(f.prompts.informed.empty());
}

void MainWindowTest::refusedSeparatorsMarkTheBoxUntilItIsCorrected() {
    Fixture f;
    MainWindow& w = *f.window;
    QVERIFY(f.active);
    enterThreePoints(w);
    // One number: the comma is its decimal comma.
    QLineEdit* pressure = w.inputPanel().windPressureBox();
    pressure->setFocus();
    pressure->clear();
    QTest::keyClicks(pressure, "0,6");
    QCOMPARE(pressure->text(), QString("0.6"));
    leave(pressure);
    QCOMPARE(f.numbers().w0, 600.0);

    // A list: "0,05" would leave a damping ratio of 5.
    QLineEdit* damping = w.inputPanel().dampingRatiosBox();
    damping->setFocus();
    damping->clear();
    QTest::keyClicks(damping, "0,05");
    QCOMPARE(damping->text(), QString("005"));
    QCOMPARE(textColour(damping), kRed);
    QCOMPARE(f.prompts.keyHints.size(), std::size_t{1});
    const QString hint = QString::fromStdString(f.prompts.keyHints[0].hint);
    QVERIFY2(hint.startsWith("阻尼比：") && hint.contains("“,”"), qPrintable(hint));
    QCOMPARE(damping->toolTip(), hint); // kept after the next keys
    w.computeButton()->click();
    QCOMPARE(f.prompts.informed, std::vector<Message>{inputError("输入的数据有错误")});
    QVERIFY(resultButtonsDisabled(w));

    // The point put in where the comma was corrects it.
    QTest::keyClick(damping, Qt::Key_Home);
    QTest::keyClick(damping, Qt::Key_Right);
    QTest::keyClick(damping, Qt::Key_Period);
    QCOMPARE(damping->text(), QString("0.05"));
    QCOMPARE(textColour(damping), kBlack);
    QVERIFY(damping->toolTip().isEmpty());

    // Blanks pasted into the shape coefficients would spread 102030 over
    // every point; typing over the whole text corrects it.
    QLineEdit* shape = w.inputPanel().shapeCoefficientsBox();
    QGuiApplication::clipboard()->setText("10 20 30");
    shape->setFocus();
    shape->selectAll();
    QVERIFY(pasteThroughContextMenu(shape));
    QCOMPARE(shape->text(), QString("102030"));
    QCOMPARE(textColour(shape), kRed);
    w.computeButton()->click();
    QCOMPARE(f.prompts.informed.size(), std::size_t{2});
    QVERIFY(resultButtonsDisabled(w));
    shape->setFocus();
    shape->selectAll();
    QTest::keyClicks(shape, "1.3");
    QCOMPARE(textColour(shape), kBlack);
    w.computeButton()->click();
    QCOMPARE(f.prompts.informed.size(), std::size_t{2});
    QVERIFY(resultButtonsEnabled(w));
}

void MainWindowTest::lookAlikesTypeThePlainCharacterAndRefusalsAreHinted() {
    Fixture f;
    MainWindow& w = *f.window;
    QLineEdit* pressure = w.inputPanel().windPressureBox();
    QLineEdit* heights = w.inputPanel().heightsBox();
    QCOMPARE(typedInto(pressure, "0。5"), QString("0.5"));
    QCOMPARE(typedInto(pressure, "１２．５"), QString("12.5"));
    QCOMPARE(typedInto(heights, "10；20；30"), QString("10;20;30"));
    QCOMPARE(typedInto(heights, "－0.5Ｅ3"), QString("-0.5E3"));
    QVERIFY(f.prompts.keyHints.empty());

    // Refused characters stay out as before, now with a hint at the box.
    QCOMPARE(typedInto(pressure, "－"), QString());
    QCOMPARE(typedInto(heights, "3O"), QString("3"));
    QCOMPARE(f.prompts.keyHints.size(), std::size_t{2});
    const auto hinted = [&](std::size_t i, QLineEdit* box, const char* named) {
        return f.prompts.keyHints[i].box == box &&
               f.prompts.keyHints[i].hint.find(named) != std::string::npos;
    };
    QVERIFY(hinted(0, pressure, "“－”"));
    QVERIFY(hinted(1, heights, "“O”"));

    // An input method's text meets the same filters and marks the box.
    heights->clear();
    QCOMPARE(textColour(heights), kBlack);
    QInputMethodEvent commit;
    commit.setCommitString("１，５");
    QCoreApplication::sendEvent(heights, &commit);
    QCOMPARE(heights->text(), QString("15"));
    QCOMPARE(f.prompts.keyHints.size(), std::size_t{3});
    QVERIFY(hinted(2, heights, "“，”"));
    QCOMPARE(textColour(heights), kRed);
    QVERIFY(f.prompts.informed.empty());
}

void MainWindowTest::keyHintStaysUntilTheNextKeyOrFocusLoss() {
    // The program's own prompts; nothing here opens a message box.
    tamsor::QtPrompts prompts;
    MainWindow w(prompts);
    w.show();
    QLineEdit* box = w.inputPanel().windPressureBox();
    const auto hint = [&] { return w.findChild<QLabel*>("keyHint"); };
    QTest::keyClick(box, ';');
    QVERIFY(hint() != nullptr);
    QVERIFY(hint()->isVisible());
    QVERIFY(hint()->text().contains("“;”"));
    QVERIFY(w.rect().contains(hint()->geometry()));
    QTest::keyClick(box, '5');
    QVERIFY(!hint()->isVisible());
    QTest::keyClick(box, 'x');
    QVERIFY(hint()->isVisible());
    leave(box);
    QVERIFY(!hint()->isVisible());
    QCOMPARE(box->text(), QString("05"));
}

void MainWindowTest::listsChangeOnlyOnPurpose() {
    Fixture f;
    MainWindow& w = *f.window;
    QVERIFY(f.active);
    w.inputPanel().heightsBox()->setFocus();
    turnWheel(w.inputPanel().terrainList(), 1);
    QCOMPARE(w.inputPanel().terrainList()->currentIndex(), 0);
    QCOMPARE(f.numbers().terrainType, 1);

    w.inputPanel().terrainList()->setFocus();
    QVERIFY(w.inputPanel().terrainList()->hasFocus());
    turnWheel(w.inputPanel().terrainList(), 1);
    QCOMPARE(w.inputPanel().terrainList()->currentIndex(), 1);
    QCOMPARE(f.numbers().terrainType, 2);

    // Typing selects nothing; the arrow keys still do.
    w.inputPanel().pointCountList()->setFocus();
    QTest::keyClick(w.inputPanel().pointCountList(), Qt::Key_7);
    QCOMPARE(w.inputPanel().pointCountList()->currentIndex(), 0);
    QCOMPARE(f.numbers().nFreedom, 1);
    QTest::keyClick(w.inputPanel().pointCountList(), Qt::Key_Down);
    QCOMPARE(f.numbers().nFreedom, 2);
}

void MainWindowTest::modeCountEnablesAndCaptionsTheShapeBoxes() {
    Fixture f;
    MainWindow& w = *f.window;
    const QRect captionPlace = w.inputPanel().modeShapeCaption(3)->geometry();
    selectEntry(w.inputPanel().modeCountList(), 2);
    for (int mode : {2, 3}) {
        QVERIFY(w.inputPanel().modeShapeBox(mode)->isEnabled());
        QVERIFY(w.inputPanel().modeShapeCaption(mode)->isEnabled());
    }
    QCOMPARE(w.inputPanel().modeShapeCaption(2)->text(), QString("第2阶振型"));
    QCOMPARE(w.inputPanel().modeShapeCaption(3)->text(), QString("第3阶振型"));
    QCOMPARE(spokenName(w.inputPanel().modeShapeBox(3)), QString("第3阶振型"));
    QCOMPARE(w.inputPanel().modeShapeCaption(3)->geometry(), captionPlace);

    // Mode 3 dropped: its box is out of use again, whatever it holds.
    enter(w.inputPanel().modeShapeBox(3), "x");
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    selectEntry(w.inputPanel().modeCountList(), 1);
    QVERIFY(w.inputPanel().modeShapeBox(2)->isEnabled());
    QVERIFY(!w.inputPanel().modeShapeBox(3)->isEnabled());
    QCOMPARE(w.inputPanel().modeShapeCaption(3)->text(), QString("未定义"));
    QCOMPARE(spokenName(w.inputPanel().modeShapeBox(3)), QString("第3阶振型（未定义）"));
    QCOMPARE(textColour(w.inputPanel().modeShapeBox(3)), kBlack);
    QCOMPARE(w.inputPanel().modeShapeBox(3)->text(), QString("x"));
}

void MainWindowTest::enterPressesTheFocusedCommandButton() {
    Fixture f;
    MainWindow& w = *f.window;
    QVERIFY(f.active);
    enterThreePoints(w);
    w.computeButton()->setFocus();
    QTest::keyClick(w.computeButton(), Qt::Key_Return);
    QVERIFY(resultButtonsEnabled(w));
    w.plotMeanButton()->setFocus();
    QTest::keyClick(w.plotMeanButton(), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(visibleLabels(w, true), 3);
    QVERIFY(f.prompts.informed.empty());
}

void MainWindowTest::boxesListsAndPlotsHaveTheirOwnAccessibleNames() {
    Fixture f;
    MainWindow& w = *f.window;
    QList<QWidget*> widgets{w.inputPanel().pointCountList(), w.inputPanel().modeCountList(),
                            w.inputPanel().terrainList(), w.plotPanel().loadPlot(),
                            w.plotPanel().responsePlot()};
    for (int i = 0; i < tamsor::kListBoxCount; ++i)
        widgets << w.inputPanel().listBox(i);
    for (int i = 0; i < tamsor::kValueBoxCount; ++i)
        widgets << w.inputPanel().valueBox(i);
    QSet<QString> names;
    for (QWidget* widget : widgets) {
        const QString name = spokenName(widget);
        QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
        names.insert(name);
    }
    QCOMPARE(names.size(), widgets.size());
    // Each control is the one its caption names.
    const tamsor::InputPanel& in = w.inputPanel();
    const std::pair<QWidget*, const char*> named[] = {
        {in.heightsBox(), "各质点z坐标(m)"},
        {in.areasBox(), "各质点受风面积(m^2)"},
        {in.massesBox(), "各质点质量(吨)"},
        {in.modeShapeBox(1), "第1阶振型"},
        {in.modeShapeBox(3), "第3阶振型（未定义）"},
        {in.shapeCoefficientsBox(), "体型系数"},
        {in.frequenciesBox(), "固有频率(Hz)"},
        {in.dampingRatiosBox(), "阻尼比"},
        {in.widthBox(), "结构宽度(m)"},
        {in.windPressureBox(), "基本风压(KPa)"},
        {in.pointCountList(), "自由度数"},
        {in.modeCountList(), "拟取振型数"},
        {in.terrainList(), "地貌类型"},
    };
    for (const auto& [widget, name] : named)
        QCOMPARE(spokenName(widget), QString(name));
    QCOMPARE(in.modeShapeBox(4), nullptr);
    QCOMPARE(accessibleText(in.heightsBox(), QAccessible::Description),
             QString::fromUtf8(tamsor::kPointsNote.data(), tamsor::kPointsNote.size()));

    // A drawn plot is named by its caption and lists its values.
    enterThreePoints(w);
    w.computeButton()->click();
    w.plotFluctuatingButton()->click();
    QCOMPARE(accessibleText(w.plotPanel().responsePlot(), QAccessible::Name),
             QString("脉动位移均方差 /mm"));
    const QString values = accessibleText(w.plotPanel().responsePlot(), QAccessible::Description);
    for (int i = 0; i < 3; ++i)
        QVERIFY2(values.contains(w.plotPanel().responsePlot()->pointLabel(i)->text()),
                 qPrintable(values));
    QVERIFY(values.contains("高度30.00m"));
}

void MainWindowTest::valueLabelsStayInsideTheirPlot() {
    Fixture f;
    MainWindow& w = *f.window;
    QVERIFY(w.session().open(TAMSOR_EXAMPLES_DIR "/steel_tower.wvd"));
    w.computeButton()->click();
    // Only the notice on the lower points' wind vibration coefficients.
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(f.prompts.informed[0].title, std::string("提    示"));
    for (QPushButton* plot :
         {w.plotMeanButton(), w.plotFluctuatingButton(), w.plotEquivalentButton()}) {
        plot->click();
        QCOMPARE(visibleLabels(w, false), 10);
        checkLabelsInside(w.plotPanel().loadPlot());
        checkLabelsInside(w.plotPanel().responsePlot());
    }
    // The displacement of the top point, once cut at the border, is whole.
    w.plotMeanButton()->click();
    QCOMPARE(w.plotPanel().responsePlot()->pointLabel(9)->text().toStdString(),
             tamsor::formatFixed(w.session().results()->raw().meanDisp[9], 2));

    // Values near a million, also of both signs.
    const tamsor::List heights{10, 20, 30, 40};
    tamsor::PlotPanel::plotCurve({999999.99, 1000000.25, 1e6, 987654.32}, heights,
                                 *w.plotPanel().loadPlot());
    checkLabelsInside(w.plotPanel().loadPlot());
    tamsor::PlotPanel::plotCurve({-1e6, 2.5, 999999.99, -0.01}, heights, *w.plotPanel().loadPlot());
    checkLabelsInside(w.plotPanel().loadPlot());
    QCOMPARE(w.plotPanel().loadPlot()->pointLabel(2)->text(), QString("999999.99"));
}

void MainWindowTest::refusedBoxesTurnRedAndBackToBlack() {
    Fixture f;
    MainWindow& w = *f.window;
    selectEntry(w.inputPanel().pointCountList(), 2);
    enter(w.inputPanel().heightsBox(), "10;20");
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(f.prompts.informed[0], inputError("输入的数据数目与自由度数不一致"));
    QCOMPARE(textColour(w.inputPanel().heightsBox()), kRed);
    QVERIFY(w.form().boxRefused(Box::Heights));
    QCOMPARE(f.numbers().zCoord, (tamsor::List{0, 0, 0}));

    enter(w.inputPanel().heightsBox(), "10;20;30;");
    QCOMPARE(f.prompts.informed.back(),
             inputError("输入的数据有错误, 请检查(数据之间用分号隔开，结尾不要加分号)!"));
    QCOMPARE(textColour(w.inputPanel().heightsBox()), kRed);

    enter(w.inputPanel().heightsBox(), "10;20;30");
    QCOMPARE(f.prompts.informed.size(), std::size_t{2});
    QCOMPARE(textColour(w.inputPanel().heightsBox()), kBlack);
    QVERIFY(!w.form().boxRefused(Box::Heights));
    QCOMPARE(f.numbers().zCoord, (tamsor::List{10, 20, 30}));

    enter(w.inputPanel().windPressureBox(), "0.4.5");
    QCOMPARE(f.prompts.informed.back(), inputError("输入的数据有错误, 请检查!"));
    QCOMPARE(textColour(w.inputPanel().windPressureBox()), kRed);
    QCOMPARE(f.numbers().w0, 0.0);
    enter(w.inputPanel().windPressureBox(), "0.45");
    QCOMPARE(textColour(w.inputPanel().windPressureBox()), kBlack);
    QCOMPARE(f.numbers().w0, 450.0);
    QCOMPARE(f.prompts.informed.size(), std::size_t{3});
}

void MainWindowTest::refusedCommandMarksTheBoxesAndFocusesTheFirst() {
    Fixture f;
    MainWindow& w = *f.window;
    QVERIFY(f.active);
    enterThreePoints(w);
    // An empty damping box, refused for its count, and a basic wind pressure
    // of 0, which the completeness check refuses.
    QLineEdit* damping = w.inputPanel().dampingRatiosBox();
    QLineEdit* pressure = w.inputPanel().windPressureBox();
    clearByKeys(damping);
    QTest::mouseClick(pressure, Qt::LeftButton);
    clearByKeys(pressure);
    QTest::keyClicks(pressure, "0");
    f.prompts.clear();
    QTest::mouseClick(w.computeButton(), Qt::LeftButton);

    QCOMPARE(f.prompts.informed, (std::vector<Message>{inputError("输入的数据数目与振型数不一致"),
                                                       inputError("输入的数据有错误")}));
    QVERIFY(redFrame(damping));
    QVERIFY(redFrame(pressure));
    QCOMPARE(textColour(pressure), kBlack); // its text is a number
    for (QLineEdit* other :
         {w.inputPanel().heightsBox(), w.inputPanel().massesBox(), w.inputPanel().widthBox()})
        QVERIFY(!redFrame(other));
    // The first of them in the window's order has the focus.
    QTRY_VERIFY_WITH_TIMEOUT(damping->hasFocus(), 5000);
    QCOMPARE(f.prompts.informed.size(), std::size_t{2}); // moving there parsed nothing

    // Correcting a box takes its mark away; the other keeps its own.
    QTest::keyClicks(damping, "0.05");
    QVERIFY(!redFrame(damping));
    QVERIFY(redFrame(pressure));
}

void MainWindowTest::newAndAReadStartEveryBoxAfresh() {
    Fixture f;
    MainWindow& w = *f.window;
    QVERIFY(f.active);
    QLineEdit* heights = w.inputPanel().heightsBox();
    const auto refuseHeights = [&] {
        heights->setFocus();
        QTest::keyClicks(heights, ";");
        QTest::keyClick(heights, Qt::Key_Tab);
        QCOMPARE(textColour(heights), kRed);
        QVERIFY(redFrame(heights));
    };
    refuseHeights();
    f.prompts.saveAnswer = SaveAnswer::DontSave;
    QTest::keyClick(w.inputPanel().areasBox(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(heights->text(), QString("0"));
    QCOMPARE(textColour(heights), kBlack);
    QVERIFY(!redFrame(heights));

    refuseHeights();
    QVERIFY(w.openProjectFile(example("single_mass.wvd")));
    QCOMPARE(textColour(heights), kBlack);
    QVERIFY(!redFrame(heights));
}

void MainWindowTest::focusLossToAnotherWindowDoesNotParse() {
    Fixture f;
    MainWindow& w = *f.window;
    w.inputPanel().heightsBox()->setText("1;2;x");
    for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QCoreApplication::sendEvent(w.inputPanel().heightsBox(), &out);
    }
    QVERIFY(f.prompts.informed.empty());
    leave(w.inputPanel().heightsBox());
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});

    // The Tab key moves the focus on, and leaving the box parses it.
    QVERIFY(f.active);
    QLineEdit* box = w.inputPanel().areasBox();
    box->setFocus();
    QVERIFY(box->hasFocus());
    box->selectAll();
    QTest::keyClicks(box, "1;2");
    QTest::keyClick(box, Qt::Key_Tab);
    QVERIFY(!box->hasFocus());
    QCOMPARE(f.prompts.informed.size(), std::size_t{2});
    QCOMPARE(f.prompts.informed[1], inputError("输入的数据数目与自由度数不一致"));
    QCOMPARE(textColour(box), kRed);
}

void MainWindowTest::gateAfterDofChangeRefusesEveryBoxThenTheInput() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    w.computeButton()->click();
    QVERIFY(resultButtonsEnabled(w));

    selectEntry(w.inputPanel().pointCountList(), 3);
    QCOMPARE(f.numbers().nFreedom, 4);
    QVERIFY(resultButtonsDisabled(w)); // the results are of three points
    f.prompts.clear();
    w.computeButton()->click();

    const Message count = inputError("输入的数据数目与自由度数不一致");
    const std::vector<Message> expected{count, count, count, count, inputError("输入的数据有错误")};
    QCOMPARE(f.prompts.informed, expected);
    QVERIFY(w.plotPanel().loadPlot()->primitives().empty());
    QCOMPARE(visibleLabels(w, true), 0);
    for (int i : {0, 1, 2, 3})
        QCOMPARE(textColour(w.inputPanel().listBox(i)), kRed);
    QCOMPARE(textColour(w.inputPanel().shapeCoefficientsBox()), kBlack);
}

void MainWindowTest::plotCommandsDrawBothResultListsWithoutAccumulating() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    w.computeButton()->click();
    QVERIFY(w.session().resultsCurrent());
    const tamsor::Results& results = *w.session().results();

    w.plotMeanButton()->click();
    QVERIFY(f.prompts.informed.empty());
    // A line (the first of zero length) and a circle per point.
    QCOMPARE(w.plotPanel().loadPlot()->primitives().size(), std::size_t{6});
    QCOMPARE(w.plotPanel().responsePlot()->primitives().size(), std::size_t{6});
    const auto first = w.plotPanel().loadPlot()->primitives();
    const tamsor::PlotGeometry g =
        tamsor::computePlotGeometry(results.raw().meanLoad, results.numbers().zCoord);
    QCOMPARE(w.plotPanel().loadPlot()->scale().left, g.scale.left);
    QCOMPARE(w.plotPanel().loadPlot()->scale().width, g.scale.width);
    QCOMPARE(first[2].to.x, results.raw().meanLoad[1]);
    QCOMPARE(first[2].to.y, 20.0);
    QCOMPARE(first[1].radius, g.circleRadius);
    QCOMPARE(visibleLabels(w, true), 3);
    QCOMPARE(visibleLabels(w, false), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(w.plotPanel().loadPlot()->pointLabel(i)->text().toStdString(),
                 tamsor::formatFixed(results.raw().meanLoad[i], 2));
        QCOMPARE(w.plotPanel().responsePlot()->pointLabel(i)->text().toStdString(),
                 tamsor::formatFixed(results.raw().meanDisp[i], 2));
    }
    // Higher points have their labels higher up.
    QVERIFY(w.plotPanel().loadPlot()->pointLabel(2)->y() <
            w.plotPanel().loadPlot()->pointLabel(0)->y());
    QCOMPARE(w.plotPanel().loadValueCaption()->text(), QString("平均风荷载 /KN"));
    QCOMPARE(w.plotPanel().responseValueCaption()->text(), QString("平均位移 /mm"));
    QCOMPARE(w.plotPanel().loadHeightCaption()->text(), QString("高度/m"));
    QCOMPARE(visibleCaptions(w), 4);

    w.plotMeanButton()->click();
    QCOMPARE(w.plotPanel().loadPlot()->primitives().size(), std::size_t{6});
    QCOMPARE(w.plotPanel().loadPlot()->primitives().back().from, first.back().from);

    w.plotFluctuatingButton()->click();
    QCOMPARE(w.plotPanel().loadValueCaption()->text(), QString("脉动风振力 /KN"));
    QCOMPARE(w.plotPanel().responseValueCaption()->text(), QString("脉动位移均方差 /mm"));
    QCOMPARE(w.plotPanel().responsePlot()->pointLabel(0)->text().toStdString(),
             tamsor::formatFixed(results.raw().dispStd[0], 2));
    w.plotEquivalentButton()->click();
    QCOMPARE(w.plotPanel().loadValueCaption()->text(), QString("等效静力风荷载 /KN"));
    QCOMPARE(w.plotPanel().responseValueCaption()->text(), QString("风振系数"));
    QCOMPARE(w.plotPanel().responsePlot()->pointLabel(2)->text().toStdString(),
             tamsor::formatFixed(results.raw().windVibCoef[2], 2));
    QCOMPARE(w.plotPanel().responsePlot()->primitives().size(), std::size_t{6});

    // Computing again clears the plots and hides the captions.
    w.computeButton()->click();
    QVERIFY(w.plotPanel().loadPlot()->primitives().empty());
    QCOMPARE(visibleLabels(w, false), 0);
    QVERIFY(w.plotPanel().loadValueCaption()->isHidden());
    QVERIFY(f.prompts.informed.empty());
}

void MainWindowTest::fewerPointsAfterMoreHideTheExtraLabels() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    w.computeButton()->click();
    w.plotMeanButton()->click();
    QCOMPARE(visibleLabels(w, true), 3);

    selectEntry(w.inputPanel().pointCountList(), 1);
    enter(w.inputPanel().heightsBox(), "10;20");
    enter(w.inputPanel().areasBox(), "10;12");
    enter(w.inputPanel().massesBox(), "20;20");
    enter(w.inputPanel().modeShapeBox(1), "0.5;1");
    w.computeButton()->click();
    w.plotMeanButton()->click();
    QVERIFY(f.prompts.informed.empty());
    QCOMPARE(visibleLabels(w, true), 2);
    QCOMPARE(visibleLabels(w, false), 2);
    QVERIFY(w.plotPanel().loadPlot()->pointLabel(2)->isHidden());
    QCOMPARE(w.plotPanel().loadPlot()->primitives().size(), std::size_t{4});
}

void MainWindowTest::faultedComputationIsReportedAndBlocksResults() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    enter(w.inputPanel().heightsBox(), "10;0;30"); // passes the gate, the engine meets height 0
    QVERIFY(f.prompts.informed.empty());
    w.computeButton()->click();
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    const Message& m = f.prompts.informed[0];
    QCOMPARE(m.title, std::string("错误提示"));
    QVERIFY2(QString::fromStdString(m.text).startsWith("计算出错："), m.text.c_str());
    // In the same box, the input that most likely caused it.
    QVERIFY2(QString::fromStdString(m.text).contains("第2质点的高度为0 m。高度应大于0。"),
             m.text.c_str());
    QVERIFY(resultButtonsDisabled(w));
    QVERIFY(!w.session().results());

    // The window stays usable: correct the box and compute again.
    enter(w.inputPanel().heightsBox(), "10;20;30");
    w.computeButton()->click();
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QVERIFY(resultButtonsEnabled(w));
    w.plotEquivalentButton()->click();
    QCOMPARE(visibleLabels(w, true), 3);
}

void MainWindowTest::noticeFollowsTheComputationOnceOrNever() {
    Fixture f;
    MainWindow& w = *f.window;
    QVERIFY(w.session().open(QStringLiteral(TAMSOR_EXAMPLES_DIR "/rc_chimney.wvd")));
    w.computeButton()->click();
    w.plotMeanButton()->click();
    QVERIFY(!w.plotPanel().loadPlot()->primitives().empty());
    f.prompts.clear();

    // Computing again: the box opens once the results are complete and the
    // plots are cleared.
    bool plotsClearedAndResultsCurrent = false;
    f.prompts.onInform = [&](const Message&) {
        plotsClearedAndResultsCurrent = w.plotPanel().loadPlot()->primitives().empty() &&
                                        visibleLabels(w, true) == 0 &&
                                        w.session().resultsCurrent() && resultButtonsEnabled(w);
    };
    w.computeButton()->click();
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(f.prompts.informed[0].title, std::string("提    示"));
    QVERIFY(plotsClearedAndResultsCurrent);

    // Nothing to say, no box.
    f.prompts.clear();
    QVERIFY(w.session().open(QStringLiteral(TAMSOR_EXAMPLES_DIR "/single_mass.wvd")));
    w.computeButton()->click();
    QVERIFY(w.session().resultsCurrent());
    QVERIFY(f.prompts.informed.empty());
}

void MainWindowTest::plotsRefuseResultsOfOtherInput() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    w.computeButton()->click();
    QVERIFY(w.session().resultsCurrent());
    // Results of the other edition are never drawn, even if a button is
    // reached (its shortcut).
    w.session().setEdition(tamsor::Edition::GB2001);
    QVERIFY(resultButtonsDisabled(w));
    w.plotMean();
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(f.prompts.informed[0], tamsor::ProjectSession::noCurrentResults());
    QVERIFY(w.plotPanel().loadPlot()->primitives().empty());
    QVERIFY(w.plotPanel().responsePlot()->primitives().empty());
}

void MainWindowTest::exitAnsweredNoKeepsEverything() {
    Fixture f;
    MainWindow& w = *f.window;
    // Opened and computed, nothing changed since: the old question.
    QVERIFY(w.openProjectFile(example("rc_chimney.wvd")));
    w.computeButton()->click();
    w.plotMeanButton()->click();
    f.prompts.clear(); // the computation's notice on the chimney
    f.prompts.confirmAnswer = false;
    QVERIFY(!w.close());
    QCOMPARE(f.prompts.confirmed.size(), std::size_t{1});
    QCOMPARE(f.prompts.confirmed[0],
             (Message{"你真的想退出吗? ", "提    示", Message::Icon::None}));
    QVERIFY(f.prompts.askedToSave.empty());
    QVERIFY(w.isVisible());
    QCOMPARE(w.inputPanel().heightsBox()->text(), QString("10;20;30;40;50;60"));
    QVERIFY(resultButtonsEnabled(w));
    QCOMPARE(visibleLabels(w, true), 6);

    w.menus().exitAction()->trigger();
    QCOMPARE(f.prompts.confirmed.size(), std::size_t{2});
    QVERIFY(w.isVisible());

    f.prompts.confirmAnswer = true;
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
    QVERIFY(f.prompts.informed.empty()); // closing parses nothing
}

// With unsaved changes New and Exit ask 保存 / 不保存 / 取消 instead; the
// Save answer goes through the save dialog (see the dialog tests).
void MainWindowTest::unsavedChangesAreAskedForBeforeNewAndExit() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    w.computeButton()->click();
    w.plotMeanButton()->click();
    QVERIFY(w.session().isModified());
    const Message question{"当前数据已修改，尚未保存到数据文件。是否保存？", "提    示",
                           Message::Icon::Question};

    f.prompts.saveAnswer = SaveAnswer::Cancel;
    w.menus().newAction()->trigger();
    QVERIFY(!w.close());
    QCOMPARE(f.prompts.askedToSave, (std::vector<Message>{question, question}));
    QVERIFY(f.prompts.confirmed.empty());
    QCOMPARE(w.inputPanel().heightsBox()->text(), QString("10;20;30"));
    QVERIFY(resultButtonsEnabled(w));
    QCOMPARE(visibleLabels(w, true), 3);
    QVERIFY(w.isVisible());

    // Taking a change back is no change: nothing to ask.
    enter(w.inputPanel().areasBox(), "11;12;14");
    enter(w.inputPanel().areasBox(), "10;12;14");
    QVERIFY(w.session().isModified()); // still the typed project, no file

    f.prompts.saveAnswer = SaveAnswer::DontSave;
    QVERIFY(w.close());
    QCOMPARE(f.prompts.askedToSave.size(), std::size_t{3});
    QVERIFY(f.prompts.confirmed.empty());
    QVERIFY(f.prompts.informed.empty());
}

void MainWindowTest::newResetsTheProject() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    w.computeButton()->click();
    w.plotMeanButton()->click();
    w.session().setEdition(tamsor::Edition::GB2001);

    f.prompts.saveAnswer = SaveAnswer::DontSave;
    w.menus().newAction()->trigger();
    QCOMPARE(f.prompts.askedToSave.size(), std::size_t{1});
    QCOMPARE(w.session().edition(), tamsor::Edition::GB201X);
    for (int i = 0; i < 9; ++i)
        QCOMPARE(w.inputPanel().listBox(i)->text(), QString("0"));
    QCOMPARE(w.inputPanel().windPressureBox()->text(), QString("0"));
    QCOMPARE(w.inputPanel().pointCountList()->currentIndex(), 0);
    QCOMPARE(w.inputPanel().terrainList()->currentIndex(), 0);
    QCOMPARE(f.numbers().nFreedom, 1);
    QCOMPARE(f.numbers().terrainType, 1);
    QVERIFY(resultButtonsDisabled(w));
    QVERIFY(w.plotPanel().loadPlot()->primitives().empty());
    QCOMPARE(visibleLabels(w, true), 0);
    QVERIFY(w.plotPanel().responseValueCaption()->isHidden());
    // New leaves the parsed values until the boxes are parsed again.
    QCOMPARE(f.numbers().w0, 500.0);
    QVERIFY(!w.session().isModified());

    w.menus().newAction()->trigger(); // nothing to lose: no question
    QCOMPARE(f.prompts.askedToSave.size(), std::size_t{1});
    w.computeButton()->click(); // every box "0" again: refused
    QCOMPARE(f.prompts.informed.back(), inputError("输入的数据有错误"));
}

void MainWindowTest::titleShowsTheFileAndTheModifiedMark() {
    Fixture f;
    MainWindow& w = *f.window;
    enter(w.inputPanel().widthBox(), "2");
    QCOMPARE(w.windowTitle(), QString("Tamsorv1.10[*]"));
    QVERIFY(w.isWindowModified());
    f.prompts.saveAnswer = SaveAnswer::DontSave;
    QVERIFY(w.openProjectFile(example("single_mass.wvd")));
    QCOMPARE(w.windowTitle(), QString("single_mass.wvd[*] - Tamsorv1.10"));
    QVERIFY(!w.isWindowModified());
    // The edition is no part of the file.
    w.session().setEdition(tamsor::Edition::GB2001);
    QVERIFY(!w.isWindowModified());
    enter(w.inputPanel().widthBox(), "2");
    QVERIFY(w.isWindowModified());
}

// "tamsor FILE.wvd" opens the file as Open does once it is chosen; a missing
// or bad file gives the reader's message and leaves the project empty.
void MainWindowTest::projectFileFromTheCommandLine() {
    QTemporaryDir dir;
    QFile bad(dir.filePath("short.wvd"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("3\r\n0\r\n10;20;30\r\n");
    bad.close();
    const QString missing = dir.filePath("missing.wvd");
    struct Case {
        QString file;
        bool read;
        std::string message;
    };
    const Case cases[] = {{example("steel_tower.wvd"), true, ""},
                          {missing, false, "数据文件不存在"},
                          {bad.fileName(), false, "数据文件不完整，数据太少，请补充"}};
    for (const Case& c : cases) {
        Fixture f;
        MainWindow& w = *f.window;
        // The name as the shell passes it: relative to the start folder.
        const QString file = tamsor::startupProjectFile(
            {"tamsor", QDir::current().relativeFilePath(c.file)}, QDir::currentPath());
        QCOMPARE(QFileInfo(file), QFileInfo(c.file));
        QCOMPARE(w.openProjectFile(file), c.read);
        QVERIFY(f.prompts.askedToSave.empty());
        if (c.read) {
            QVERIFY(f.prompts.informed.empty());
            QCOMPARE(w.inputPanel().pointCountList()->currentIndex(), 9);
            QCOMPARE(w.windowTitle(), QString("steel_tower.wvd[*] - Tamsorv1.10"));
            QCOMPARE(w.fileDialogs().lastDir, QFileInfo(c.file).absolutePath());
            QCOMPARE(recentMenuEntries(w), QStringList{QFileInfo(c.file).absoluteFilePath()});
        } else {
            QCOMPARE(f.prompts.informed.size(), std::size_t{1});
            QCOMPARE(f.prompts.informed[0].text, c.message);
            QCOMPARE(w.inputPanel().heightsBox()->text(), QString("0"));
            QCOMPARE(w.windowTitle(), QString("Tamsorv1.10[*]"));
            QVERIFY(recentMenuEntries(w).isEmpty());
        }
        w.computeButton()->click();
        QCOMPARE(resultButtonsEnabled(w), c.read);
    }
}

void MainWindowTest::droppedProjectFileOpensAfterTheQuestion() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    // Only .wvd files are taken.
    drop(w, {QUrl::fromLocalFile(example("README.md"))});
    QVERIFY(f.prompts.askedToSave.empty());

    const QList<QUrl> chimney{QUrl::fromLocalFile(example("rc_chimney.wvd"))};
    f.prompts.saveAnswer = SaveAnswer::Cancel;
    drop(w, chimney);
    QTRY_COMPARE_WITH_TIMEOUT(f.prompts.askedToSave.size(), std::size_t{1}, 10000);
    QCOMPARE(w.inputPanel().heightsBox()->text(), QString("10;20;30"));

    f.prompts.saveAnswer = SaveAnswer::DontSave;
    drop(w, chimney);
    QTRY_COMPARE_WITH_TIMEOUT(f.prompts.askedToSave.size(), std::size_t{2}, 10000);
    QCOMPARE(w.inputPanel().heightsBox()->text(), QString("10;20;30;40;50;60"));
    QCOMPARE(w.session().currentFile(), example("rc_chimney.wvd"));
    QVERIFY(f.prompts.informed.empty());
}

void MainWindowTest::recentFilesOpenAndMissingOnesAreDropped() {
    QTemporaryDir dir;
    const QString gone = dir.filePath("gone.wvd");
    QVERIFY(QFile::copy(example("single_mass.wvd"), gone));
    Fixture f;
    MainWindow& w = *f.window;
    QVERIFY(!w.menus().recentMenu()->isEnabled());
    QVERIFY(w.openProjectFile(example("rc_chimney.wvd")));
    QVERIFY(w.openProjectFile(gone));
    QCOMPARE(recentMenuEntries(w), (QStringList{gone, example("rc_chimney.wvd")}));
    QVERIFY(w.menus().recentMenu()->isEnabled());

    w.menus().recentMenu()->actions()[1]->trigger();
    QCOMPARE(w.session().currentFile(), example("rc_chimney.wvd"));
    QCOMPARE(recentMenuEntries(w), (QStringList{example("rc_chimney.wvd"), gone}));

    QVERIFY(QFile::remove(gone));
    w.menus().recentMenu()->actions()[1]->trigger();
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(f.prompts.informed[0].title, std::string("警告"));
    QVERIFY(QString::fromStdString(f.prompts.informed[0].text).contains(gone));
    QCOMPARE(recentMenuEntries(w), QStringList{example("rc_chimney.wvd")});
    QCOMPARE(w.session().currentFile(), example("rc_chimney.wvd")); // still open
}

void MainWindowTest::settingsThatCannotBeStoredAreSaidOnce() {
    // The settings file's folder cannot be made: a file stands in its place.
    QTemporaryDir dir;
    const QString blocker = dir.filePath("tamsor");
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString settings = blocker + "/tamsor.conf";
    Fixture f;
    MainWindow& w = *f.window;
    w.menus().useSettingsFile(settings);
    QVERIFY(w.openProjectFile(example("rc_chimney.wvd")));
    QVERIFY(w.openProjectFile(example("single_mass.wvd")));
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(f.prompts.informed[0].title, std::string("警告"));
    QVERIFY(QString::fromStdString(f.prompts.informed[0].text).contains(settings));
    // Kept for the run all the same.
    QCOMPARE(recentMenuEntries(w),
             (QStringList{example("single_mass.wvd"), example("rc_chimney.wvd")}));
}

void MainWindowTest::helpOpensSomethingOrSaysWhy() {
    // The window's help command: the HTML pages or the compiled file, in the
    // order the help lookup gives, or a message; never nothing.
    Fixture f;
    MainWindow& w = *f.window;
    const QStringList expected =
        tamsor::helpTargets(QCoreApplication::applicationDirPath(),
                            tamsor::chmViewerRegistered(tamsor::applicationDirs()));
    w.menus().helpAction()->trigger();
    if (expected.isEmpty()) {
        QVERIFY(f.prompts.opened.empty());
        QCOMPARE(f.prompts.informed.size(), std::size_t{1});
        QCOMPARE(f.prompts.informed[0].title, std::string("警告"));
        QCOMPARE(f.prompts.informed[0].icon, Message::Icon::Exclamation);
        QVERIFY(QString::fromStdString(f.prompts.informed[0].text).contains("wind_Help.chm"));
    } else {
        QCOMPARE(f.prompts.opened, std::vector<QUrl>{QUrl::fromLocalFile(expected[0])});
        QVERIFY(f.prompts.informed.empty());
        // Nothing could be started: every target is tried, then a message.
        f.prompts.clear();
        f.prompts.openResult = false;
        w.menus().helpAction()->trigger();
        QCOMPARE(f.prompts.opened.size(), static_cast<std::size_t>(expected.size()));
        QCOMPARE(f.prompts.informed.size(), std::size_t{1});
        QCOMPARE(f.prompts.informed[0].title, std::string("警告"));
    }

    // F1 where no program shows the help pages: a message says where they
    // are.
    QTemporaryDir program;
    const QString index = program.filePath("help/index.htm");
    QVERIFY(QDir().mkpath(program.filePath("help")));
    QFile page(index);
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    w.menus().useProgramDir(program.path());
    f.prompts.clear();
    f.prompts.openResult = false;
    QTest::keyClick(w.inputPanel().heightsBox(), Qt::Key_F1);
    QCOMPARE(f.prompts.opened, std::vector<QUrl>{QUrl::fromLocalFile(index)});
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(f.prompts.informed[0].text,
             "找不到能显示帮助的程序。帮助页在“" + index.toStdString() + "”，请用浏览器打开它。");
}

void MainWindowTest::realPromptsTellWhetherAProgramShowsAFile() {
    // The desktop's opener on the PATH finds no program (xdg-open's status 3),
    // or hands the file on.
    QTemporaryDir bin;
    const QString opener = bin.filePath("xdg-open");
    const QString file = bin.filePath("r.htm");
    const QByteArray path = qgetenv("PATH");
    const auto restore = qScopeGuard([path] { qputenv("PATH", path); });
    qputenv("PATH", QFile::encodeName(bin.path()) + ":" + path);
    tamsor::QtPrompts prompts;
    for (const auto& [status, shown] : {std::pair{"3", false}, std::pair{"0", true}}) {
        QFile script(opener);
        QVERIFY(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write(QByteArray("#!/bin/sh\nexit ") + status + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(prompts.openUrl(QUrl::fromLocalFile(file)), shown);
    }
}

void MainWindowTest::plotImageCanBeSaved() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    w.computeButton()->click();
    w.plotMeanButton()->click();
    QTemporaryDir dir;
    QVERIFY(w.plotPanel().savePlotImage(*w.plotPanel().loadPlot(), dir.filePath("plot")));
    const QImage image(dir.filePath("plot.png"));
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(),
             w.plotPanel().loadPlot()->size() * w.plotPanel().loadPlot()->devicePixelRatioF());
    QVERIFY(f.prompts.informed.empty());

    // As a vector drawing: the curve's lines, its value labels and captions as
    // text.
    QVERIFY(w.plotPanel().savePlotSvg(*w.plotPanel().loadPlot(), dir.filePath("plot")));
    QFile svg(dir.filePath("plot.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    const QByteArray xml = svg.readAll();
    QVERIFY(xml.contains("<svg"));
    QVERIFY(xml.contains("<polyline") || xml.contains("<path"));
    QVERIFY(xml.contains(">" + w.plotPanel().loadPlot()->pointLabel(2)->text().toUtf8() + "<"));
    QVERIFY(xml.contains(QString("平均风荷载 /KN").toUtf8()));
    QVERIFY(f.prompts.informed.empty());

    // A failure names the file, with its suffix, and says why.
    QVERIFY(
        !w.plotPanel().savePlotImage(*w.plotPanel().responsePlot(), dir.filePath("missing/plot")));
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(f.prompts.informed[0].text),
             "无法写入图片文件“" + dir.filePath("missing/plot.png") +
                 "”，请检查文件夹是否存在、是否有写入权限以及磁盘空间是否足够！");
    // A pipe is refused at once, not written into until someone reads it.
    const QString pipe = dir.filePath("pipe.png");
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    QVERIFY(!w.plotPanel().savePlotImage(*w.plotPanel().responsePlot(), pipe));
    QCOMPARE(f.prompts.informed.size(), std::size_t{2});
    QVERIFY(QString::fromStdString(f.prompts.informed[1].text)
                .endsWith("：它是文件夹、设备或管道，不是普通文件！"));
    QCOMPARE(f.prompts.informed[0].title, std::string("警告"));
    QCOMPARE(f.prompts.informed[0].icon, Message::Icon::Exclamation);
}

// The save entries of a plot's context menu, enabled or not.
QList<bool> plotMenuEntriesEnabled(tamsor::PlotArea* area) {
    QList<bool> enabled;
    useContextMenu(area, [&](QMenu& menu) {
        for (QAction* action : menu.actions())
            enabled << action->isEnabled();
    });
    return enabled;
}

void MainWindowTest::stalePlotsAreVeiledAndCannotBeSaved() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    w.computeButton()->click();
    w.plotMeanButton()->click();
    const auto veiled = [&](tamsor::PlotArea* area) {
        const auto* veil = area->findChild<QLabel*>("staleCaption");
        return veil != nullptr && veil->isVisible() && veil->geometry() == area->contentsRect() &&
               veil->text().contains("修改输入之前");
    };
    QVERIFY(!veiled(w.plotPanel().loadPlot()));
    QCOMPARE(plotMenuEntriesEnabled(w.plotPanel().loadPlot()), (QList<bool>{true, true}));

    // One typed character: the old curves stay in sight, veiled, and the
    // menu no longer saves them.
    QLineEdit* heights = w.inputPanel().heightsBox();
    heights->end(false);
    QTest::keyClick(heights, Qt::Key_5);
    for (tamsor::PlotArea* area : {w.plotPanel().loadPlot(), w.plotPanel().responsePlot()}) {
        QVERIFY(!area->primitives().empty());
        QVERIFY(veiled(area));
        QCOMPARE(plotMenuEntriesEnabled(area), (QList<bool>{false, false}));
    }
    QTemporaryDir dir;
    f.prompts.clear();
    QVERIFY(!w.plotPanel().savePlotImage(*w.plotPanel().loadPlot(), dir.filePath("stale.png")));
    QVERIFY(!w.plotPanel().savePlotSvg(*w.plotPanel().responsePlot(), dir.filePath("stale.svg")));
    QCOMPARE(f.prompts.informed,
             (std::vector<Message>(2, tamsor::ProjectSession::noCurrentResults())));
    QVERIFY(QDir(dir.path()).isEmpty());

    // Computing clears them; new plots are current again.
    w.computeButton()->click();
    QVERIFY(!veiled(w.plotPanel().loadPlot()));
    w.plotMeanButton()->click();
    QVERIFY(!veiled(w.plotPanel().responsePlot()));
    QVERIFY(
        w.plotPanel().savePlotImage(*w.plotPanel().responsePlot(), dir.filePath("current.png")));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"

void MainWindowTest::tabGoesRoundTheControlsOnly() {
    // The first stop is the first list, and Tab goes round the lists, the
    // enabled boxes and the enabled button only: the invisible scroll area
    // around them is no stop.
    Fixture f;
    MainWindow& w = *f.window;
    QVERIFY(f.active);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.inputPanel().pointCountList()));
    QSet<QWidget*> expected{w.inputPanel().pointCountList(),  w.inputPanel().modeCountList(),
                            w.inputPanel().terrainList(),     w.inputPanel().widthBox(),
                            w.inputPanel().windPressureBox(), w.computeButton()};
    for (int i = 0; i < 9; ++i) {
        if (i != Box::ModeShape2 && i != Box::ModeShape3)
            expected << w.inputPanel().listBox(i);
    }
    QSet<QWidget*> visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        visited << QApplication::focusWidget();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.inputPanel().pointCountList()));
}
