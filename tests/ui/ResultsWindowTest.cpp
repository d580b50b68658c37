// The results menu, the results table window and pasting cells from a
// spreadsheet into the input boxes.
//
// The project entered is the engine tests' three-point model (new code,
// terrain C); the values checked come from the independent python3 script of
// tests/engine/WindResponseTest.cpp (see tests/report/ResultTableTest.cpp).
#include "DialogTestSupport.h"
#include "WindTestPrompts.h"

#include "CalculationBook.h"
#include "MainWindow.h"
#include "ResultCommands.h"
#include "ResultsWindow.h"
#include "TitleBlockDialog.h"
#include "WindowFit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPdfWriter>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using tamsor::MainWindow;
using tamsor::ProjectSession;
using tamsor::ResultCommands;
using tamsor::ResultsWindow;
namespace Box = tamsor::Box;
namespace ValueBox = tamsor::ValueBox;

namespace {

struct Fixture {
    Fixture() : window(std::make_unique<MainWindow>(prompts)) {
        // What the window remembers, in a settings file of this test only.
        window->menus().useSettingsFile(settings.filePath("tamsor.conf"));
        window->show();
    }
    QTemporaryDir settings;
    WindTestPrompts prompts;
    std::unique_ptr<MainWindow> window;
    ResultCommands& results() { return window->menus().results(); }
};

void enter(QLineEdit* box, const char* text) {
    box->setText(QString::fromUtf8(text));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &out);
}

void enterThreePoints(MainWindow& w) {
    w.inputPanel().pointCountList()->setCurrentIndex(2);
    emit w.inputPanel().pointCountList()->activated(2);
    enter(w.inputPanel().heightsBox(), "20;40;60");
    enter(w.inputPanel().areasBox(), "30;30;25");
    enter(w.inputPanel().massesBox(), "50;40;30");
    enter(w.inputPanel().modeShapeBox(1), "0.15;0.55;1");
    enter(w.inputPanel().shapeCoefficientsBox(), "1.3;1.3;1.4");
    enter(w.inputPanel().frequenciesBox(), "0.8");
    enter(w.inputPanel().dampingRatiosBox(), "0.04");
    enter(w.inputPanel().widthBox(), "30");
    enter(w.inputPanel().windPressureBox(), "0.55");
    w.inputPanel().terrainList()->setCurrentIndex(2);
    emit w.inputPanel().terrainList()->activated(2);
}

QString cell(const QTableWidget* view, int row, int column) {
    const QTableWidgetItem* item = view->item(row, column);
    return item ? item->text() : QString();
}

void select(QTableWidget* view, int row, int column) {
    view->selectionModel()->select(view->model()->index(row, column), QItemSelectionModel::Select);
}

// Opens the box's context menu and triggers "从表格粘贴" in it.
bool pasteThroughContextMenu(QLineEdit* box) {
    bool found = false;
    tamsor::test::WidgetDriver driver;
    driver.start([&found] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return false;
        for (QAction* action : menu->actions()) {
            if (action->text() == QStringLiteral("从表格粘贴") && action->isEnabled()) {
                found = true;
                action->trigger();
            }
        }
        menu->close();
        return true;
    });
    emit box->customContextMenuRequested(QPoint(2, 2));
    return found;
}

} // namespace

class ResultsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void commandsNeedCurrentResults();
    void tableFollowsTheResults();
    void copyTakesTheSelectionOrTheWholeTable();
    void exportWritesCsvOrSaysWhyNot();
    void pasteFromSpreadsheetFillsTheBox();
    void bookAsksForTheTitleBlockAndWritesAPdf();
    void tableOpensBesideTheMainWindowOnTheScreen();
    void sectionsOnTabsOfTheirOwn();
};

void ResultsWindowTest::commandsNeedCurrentResults() {
    Fixture f;
    ResultCommands& r = f.results();
    QStringList menus;
    for (QAction* a : f.window->menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{"文件", "选项", "结果(Results)", "帮助"}));
    for (QAction* a : {r.tableAction(), r.copyAction(), r.exportAction()})
        QVERIFY(!a->isEnabled());

    // Run anyway (a shortcut at the wrong moment): refused with the message.
    r.showTable();
    QCOMPARE(r.resultsWindow(), nullptr);
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(f.prompts.informed[0], ProjectSession::noCurrentResults());

    enterThreePoints(*f.window);
    f.window->computeButton()->click();
    for (QAction* a : {r.tableAction(), r.copyAction(), r.exportAction()})
        QVERIFY(a->isEnabled());
    f.window->inputPanel().massesBox()->setText("50;40;31");
    for (QAction* a : {r.tableAction(), r.copyAction(), r.exportAction()})
        QVERIFY(!a->isEnabled());
}

void ResultsWindowTest::tableFollowsTheResults() {
    Fixture f;
    enterThreePoints(*f.window);
    f.window->computeButton()->click();
    f.results().tableAction()->trigger();
    ResultsWindow* table = f.results().resultsWindow();
    QVERIFY(table != nullptr && table->isVisible());
    QTableWidget* points = table->pointTable();
    QCOMPARE(points->rowCount(), 3);
    QCOMPARE(points->columnCount(), 17); // the closed form's beta_z beside the program's
    QVERIFY(table->remarks()->text().contains("顺风向加速度：按设计基本风压计算。"));
    QCOMPARE(points->horizontalHeaderItem(2)->text(), QString("平均风荷载\n(KN)"));
    // meanLoad of point 2 and the wind vibration coefficient of point 3.
    QCOMPARE(cell(points, 1, 2), QString("21.485"));
    QCOMPARE(cell(points, 2, 6), QString("2.0818"));
    QCOMPARE(cell(table->structureTable(), 2, 1), QString("0.9092")); // corrC

    // An edit empties it at once; the next computation fills it again, with
    // the new results.
    f.window->inputPanel().windPressureBox()->setText("1.1");
    QCOMPARE(points->rowCount(), 0);
    QCOMPARE(table->structureTable()->rowCount(), 0);
    QCOMPARE(table->note()->text().toStdString(), ProjectSession::noCurrentResults().text);
    QVERIFY(!table->copyButton()->isEnabled() && !table->exportButton()->isEnabled());
    QVERIFY(table->remarks()->text().isEmpty());
    QVERIFY(table->copyText().empty());
    f.window->computeButton()->click();
    QCOMPARE(points->rowCount(), 3);
    QCOMPARE(cell(points, 1, 2), QString("42.971")); // twice the pressure, twice the mean load
    QVERIFY(table->copyButton()->isEnabled());
}

void ResultsWindowTest::copyTakesTheSelectionOrTheWholeTable() {
    Fixture f;
    enterThreePoints(*f.window);
    f.window->computeButton()->click();
    f.results().showTable();
    ResultsWindow* table = f.results().resultsWindow();
    QVERIFY(QTest::qWaitForWindowActive(table));

    QTest::keyClick(table->pointTable(), Qt::Key_C, Qt::ControlModifier);
    QString text = QGuiApplication::clipboard()->text();
    QVERIFY(text.startsWith("质点\t高度(m)\t平均风荷载(KN)\t"));
    QVERIFY(text.contains("\n2\t40\t21.4852593"));
    QVERIFY(text.contains("\n\n结果\t数值\nSQRT(1+R^2)\t1.4346450"));

    // Two cells: their columns' header, both rows, the gap left empty.
    select(table->pointTable(), 0, 2);
    select(table->pointTable(), 2, 6);
    QTest::keyClick(table->pointTable(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.size(), 4); // header, two rows, the final line end
    QCOMPARE(lines[0], QString("平均风荷载(KN)\t风振系数"));
    QVERIFY(lines[1].startsWith("15.8375282") && lines[1].endsWith('\t'));
    QVERIFY(lines[2].startsWith("\t2.0818017"));

    // A selection in the structure table replaces the one above.
    select(table->structureTable(), 0, 1);
    table->copyButton()->click();
    QVERIFY(QGuiApplication::clipboard()->text().startsWith("数值\n1.4346450"));
    QVERIFY(table->pointTable()->selectedItems().isEmpty());
}

void ResultsWindowTest::exportWritesCsvOrSaysWhyNot() {
    Fixture f;
    enterThreePoints(*f.window);
    f.window->computeButton()->click();
    QTemporaryDir dir;
    QVERIFY(f.results().exportCsv(dir.filePath("结果.csv")));
    QFile file(dir.filePath("结果.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("\xEF\xBB\xBF质点,高度(m),"));
    QVERIFY(f.prompts.informed.empty());

    QVERIFY(!f.results().exportCsv(dir.filePath("missing/结果.csv")));
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(f.prompts.informed[0].title, std::string("警告"));

    // The menu's command asks through the program's save dialog, which offers
    // a name for a project without a file; a name typed without an ending
    // gets it there.
    f.prompts.savePath = dir.filePath("菜单.csv");
    f.results().exportAction()->trigger();
    QCOMPARE(f.prompts.saveDialogs.size(), std::size_t{1});
    QCOMPARE(f.prompts.saveDialogs[0].kind, tamsor::FileDialogKind::CsvTable);
    QCOMPARE(f.prompts.saveDialogs[0].name, QString("结果表.csv"));
    QVERIFY(QFile::exists(dir.filePath("菜单.csv")));
}

void ResultsWindowTest::pasteFromSpreadsheetFillsTheBox() {
    Fixture f;
    MainWindow& w = *f.window;
    enterThreePoints(w);
    w.computeButton()->click();

    // A column copied from a spreadsheet: the box's list, the results stale
    // as after typing; the parse follows when the box is left.
    QGuiApplication::clipboard()->setText("10\n20\n30\n");
    QVERIFY(pasteThroughContextMenu(w.inputPanel().heightsBox()));
    QCOMPARE(w.inputPanel().heightsBox()->text(), QString("10;20;30"));
    QCOMPARE(w.form().boxText(Box::Heights), std::string("10;20;30"));
    QVERIFY(!w.plotMeanButton()->isEnabled());
    QVERIFY(!f.results().tableAction()->isEnabled());
    enter(w.inputPanel().heightsBox(), "10;20;30");
    QCOMPARE(w.form().numbers().zCoord, (tamsor::List{10.0, 20.0, 30.0}));

    // A row, into a value box: one cell.
    QGuiApplication::clipboard()->setText("0.6\t\n");
    QVERIFY(pasteThroughContextMenu(w.inputPanel().windPressureBox()));
    QCOMPARE(w.inputPanel().windPressureBox()->text(), QString("0.6"));

    // A block of rows and columns is refused; the box keeps its text.
    QGuiApplication::clipboard()->setText("1\t2\n3\t4\n");
    QVERIFY(pasteThroughContextMenu(w.inputPanel().areasBox()));
    QCOMPARE(w.inputPanel().areasBox()->text(), QString("30;30;25"));
    QCOMPARE(f.prompts.informed.size(), std::size_t{1});
    QCOMPARE(f.prompts.informed[0].title, std::string("错误提示"));
}

void ResultsWindowTest::bookAsksForTheTitleBlockAndWritesAPdf() {
    Fixture f;
    ResultCommands& r = f.results();
    QTemporaryDir dir;
    const tamsor::TitleBlock block{"江边电视塔", "张工", "李工", "2026-03-01"};
    for (QAction* a : {r.pdfAction(), r.printAction(), r.previewAction()})
        QVERIFY(!a->isEnabled());
    QVERIFY(!r.writeBook(dir.filePath("book.pdf"), block));
    QCOMPARE(f.prompts.informed.back(), ProjectSession::noCurrentResults());
    QVERIFY(!QFile::exists(dir.filePath("book.pdf")));

    enterThreePoints(*f.window);
    f.window->computeButton()->click();
    for (QAction* a : {r.pdfAction(), r.printAction(), r.previewAction()})
        QVERIFY(a->isEnabled());

    // A new book: the names remembered (not the project name or date an
    // older settings file holds), the project file's name, today's date.
    {
        QSettings old(f.settings.filePath("tamsor.conf"), QSettings::IniFormat);
        old.setValue("titleBlock/projectName", "旧工程");
        old.setValue("titleBlock/date", "2020-01-01");
        old.setValue("titleBlock/checkedBy", "赵工");
    }
    QVERIFY(f.window->session().save(dir.filePath("江边塔.wvd")) == std::nullopt);
    tamsor::TitleBlock shown;
    auto driver = tamsor::test::driveNextDialog<tamsor::TitleBlockDialog>(
        [&shown](tamsor::TitleBlockDialog& d) {
            shown = d.block();
            d.projectNameBox()->setText(" 江边电视塔 ");
            d.calculatedByBox()->setText("张工");
            d.checkedByBox()->setText("李工");
            d.dateBox()->setText("2026-03-01");
            d.accept();
        });
    QCOMPARE(r.askTitleBlock(), std::optional(block));
    QCOMPARE(shown, (tamsor::TitleBlock{"江边塔", "", "赵工",
                                        QDate::currentDate().toString("yyyy-MM-dd")}));
    // Only who computes and who checks is remembered.
    QSettings settings(f.settings.filePath("tamsor.conf"), QSettings::IniFormat);
    QCOMPARE(settings.allKeys(), (QStringList{"reportContact/email", "reportContact/organisation",
                                              "titleBlock/calculatedBy", "titleBlock/checkedBy"}));
    driver = tamsor::test::driveNextDialog<tamsor::TitleBlockDialog>(
        [&shown](tamsor::TitleBlockDialog& d) { shown = d.block(); });
    QCOMPARE(r.askTitleBlock(), std::nullopt); // cancelled
    QCOMPARE(shown, (tamsor::TitleBlock{"江边塔", "张工", "李工",
                                        QDate::currentDate().toString("yyyy-MM-dd")}));

    // The footer's contact: remembered with the names; text GB2312 does not
    // hold is refused and the dialog stays open.
    bool stayedOpen = false;
    driver = tamsor::test::driveNextDialog<tamsor::TitleBlockDialog>(
        [&stayedOpen](tamsor::TitleBlockDialog& d) {
            d.organisationBox()->setText("江边设计院 \U0001F600");
            d.accept();
            stayedOpen = d.isVisible();
            d.organisationBox()->setText(" 江边设计院 ");
            d.emailBox()->setText("cad@example.cn");
            d.accept();
        });
    QVERIFY(r.askTitleBlock());
    QVERIFY(stayedOpen);
    QCOMPARE(f.prompts.informed.back().title, std::string("警告"));
    QCOMPARE(r.contact().organisation, std::string("江边设计院"));
    settings.sync();
    QCOMPARE(settings.value("reportContact/email").toString(), QString("cad@example.cn"));

    QVERIFY(r.writeBook(dir.filePath("book.pdf"), block));
    QFile book(dir.filePath("book.pdf"));
    QVERIFY(book.open(QIODevice::ReadOnly));
    QVERIFY(book.readAll().startsWith("%PDF"));

    // Printing paints the same pages as the PDF.
    QPdfWriter writer(dir.filePath("writer.pdf"));
    writer.setPageLayout(tamsor::calculationBookPageLayout());
    const int pages = tamsor::paintCalculationBook(writer, *f.window->session().results(), block);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("printer.pdf"));
    printer.setPageLayout(tamsor::calculationBookPageLayout());
    QVERIFY(pages >= 2);
    QCOMPARE(tamsor::paintCalculationBook(printer, *f.window->session().results(), block), pages);

    // From the menu's key, where no program shows the book: the program's
    // save dialog offers the project's name, the book is written and the
    // message says where.
    f.prompts.openResult = false;
    const QString chosen = dir.filePath("chosen.pdf");
    f.prompts.savePath = chosen;
    driver = tamsor::test::driveNextDialog<tamsor::TitleBlockDialog>(
        [](tamsor::TitleBlockDialog& d) { d.accept(); });
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QTest::keyClick(f.window.get(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(f.prompts.saveDialogs.size(), std::size_t{1});
    QCOMPARE(f.prompts.saveDialogs[0].kind, tamsor::FileDialogKind::Book);
    QCOMPARE(f.prompts.saveDialogs[0].name, QString("江边塔.pdf"));
    QVERIFY(QFile::exists(chosen));
    QCOMPARE(f.prompts.opened, std::vector<QUrl>{QUrl::fromLocalFile(chosen)});
    QCOMPARE(f.prompts.informed.back().text,
             "计算书已写入“" + chosen.toStdString() +
                 "”，但找不到能显示它的程序，请用PDF阅读器打开它。");
}

void ResultsWindowTest::tableOpensBesideTheMainWindowOnTheScreen() {
    // Beside the main window where there is room (a window of 1100 x 720
    // with an 8 x 40 frame right of a main window moved to the left edge).
    QCOMPARE(
        tamsor::placeBeside(QRect(0, 0, 1255, 801), 58, QSize(1108, 760), QRect(0, 0, 2560, 1440)),
        QPoint(1255, 0));

    // On the desktop screen there is none on either side of the centred main
    // window: the table goes over the plots, on the screen and below the
    // menus, which stay in sight.
    Fixture f;
    enterThreePoints(*f.window);
    f.window->computeButton()->click();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QTest::keyClick(f.window.get(), Qt::Key_T, Qt::ControlModifier);
    ResultsWindow* table = f.results().resultsWindow();
    QVERIFY(table != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(table));
    const QRect frame = table->frameGeometry();
    QVERIFY(table->screen()->availableGeometry().contains(frame));
    const QMenuBar* menus = f.window->menuBar();
    QVERIFY(!frame.intersects(QRect(menus->mapToGlobal(QPoint(0, 0)), menus->size())));
    const QWidget* plot = f.window->plotPanel().responsePlot();
    QVERIFY(frame.intersects(QRect(plot->mapToGlobal(QPoint(0, 0)), plot->size())));
}

void ResultsWindowTest::sectionsOnTabsOfTheirOwn() {
    // The one-point example as a round section of 6 m: v_cr = 6 / (1 * 0.2)
    // = 30 m/s, Re = 69000 * 30 * 6 = 12420000, transcritical. The
    // cross-wind check and the closed form each get a tab beside the points.
    tamsor::MessageRecorder messages;
    ProjectSession session(messages);
    QVERIFY(session.open(QStringLiteral(TAMSOR_EXAMPLES_DIR "/single_mass.wvd")));
    session.form().setTailText(tamsor::kTailFields[0], "6");
    QCOMPARE(session.compute().status, tamsor::ComputeOutcome::Status::Computed);
    ResultsWindow window(session);
    QCOMPARE(window.tabs()->count(), 3);
    QCOMPARE(window.tabs()->tabText(1), QString("横风向风振(旋涡脱落)验算"));
    QCOMPARE(window.tabs()->tabText(2), QString("规范公式对照"));
    QTableWidget* modes = window.sectionTable("crossWind", "modes");
    QVERIFY(modes != nullptr);
    QCOMPARE(modes->rowCount(), 1);
    QCOMPARE(cell(modes, 0, 4), QString("跨临界"));

    // A cell selected in a section is what Ctrl+C copies; the other tables
    // lose their selection. The structure's along-wind results give the
    // section their room.
    select(window.pointTable(), 0, 2);
    window.tabs()->setCurrentIndex(1);
    QVERIFY(window.pointTable()->selectedItems().isEmpty());
    QVERIFY(!window.structureTable()->isVisibleTo(&window));
    select(modes, 0, 3);
    QCOMPARE(window.copyText(), std::string("雷诺数Re\n12420000\n"));

    // Results of other input: no sections.
    session.form().setTailText(tamsor::kTailFields[0], "7");
    QCOMPARE(window.tabs()->count(), 1);
    QCOMPARE(window.sectionTable("crossWind", "modes"), nullptr);
}

QTEST_MAIN(ResultsWindowTest)
#include "ResultsWindowTest.moc"
