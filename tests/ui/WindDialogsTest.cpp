#include "DialogTestSupport.h"

#include "AboutDialog.h"
#include "FileDialog.h"
#include "HtmlReport.h"
#include "MainWindow.h"
#include "OptionsDialog.h"
#include "ProjectDataDialog.h"
#include "ProjectFile.h"
#include "WindResponse.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <vector>

using namespace tamsor;
using tamsor::test::driveNextDialog;
using tamsor::test::opensDialog;

namespace {

const std::string kIncomplete = "输入的数据有错误";
const std::string kWvdNameMessage = "请输入文件名，扩展名为 wvd  !";

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// Leaves a box the way the Tab key does.
void leave(QWidget* box) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &out);
}

// Types over a box's text from the keyboard, then leaves the box.
void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    leave(box);
}

void select(QComboBox* combo, int position) {
    combo->setCurrentIndex(position);
    emit combo->activated(position);
}

// What a file dialog showed when it came up.
struct Opening {
    bool seen = false;
    QString folder;
    QString name;
    std::unique_ptr<tamsor::test::WidgetDriver> driver;
};

// Drives the next file dialog: notes what it shows, optionally moves to a
// folder, types the name and presses OK.
void chooseFile(Opening& opening, const QString& folder, const QString& name) {
    opening.driver = driveNextDialog<FileDialog>(
        [&opening, folder, name](FileDialog& dialog) {
            opening.folder = dialog.folder();
            opening.name = dialog.nameBox()->text();
            if (!folder.isEmpty())
                dialog.setFolder(folder);
            dialog.nameBox()->setText(name);
            dialog.okButton()->click();
        },
        &opening.seen);
}

} // namespace

class WindDialogsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> tmp_;
    QString dir_;
    std::unique_ptr<WindTestPrompts> prompts_;
    std::unique_ptr<MainWindow> window_;

    MainWindow& w() { return *window_; }

    void typeProject() {
        select(w().inputPanel().pointCountList(), 2);
        type(w().inputPanel().heightsBox(), "10;20;30");
        type(w().inputPanel().areasBox(), "20;20;20");
        type(w().inputPanel().frequenciesBox(), "0.5");
        type(w().inputPanel().dampingRatiosBox(), "0.05");
        type(w().inputPanel().massesBox(), "100;100;100");
        type(w().inputPanel().modeShapeBox(1), "0.3;0.6;1");
        select(w().inputPanel().terrainList(), 1);
        type(w().inputPanel().windPressureBox(), "0.45");
        type(w().inputPanel().shapeCoefficientsBox(), "1.3");
        type(w().inputPanel().widthBox(), "0");
    }

    // The plot and report buttons, which need current results.
    std::vector<QPushButton*> resultButtons() {
        return {w().plotMeanButton(), w().plotFluctuatingButton(), w().plotEquivalentButton(),
                w().reportButton()};
    }

    bool resultButtonsEnabled() {
        const auto buttons = resultButtons();
        return std::all_of(buttons.begin(), buttons.end(), [](auto* b) { return b->isEnabled(); });
    }

    bool resultButtonsDisabled() {
        const auto buttons = resultButtons();
        return std::none_of(buttons.begin(), buttons.end(), [](auto* b) { return b->isEnabled(); });
    }

    // Saves through the File menu's Save As into folder/name; true when a
    // dialog came.
    bool save(const QString& folder, const QString& name, Opening* opening = nullptr) {
        Opening local;
        Opening& o = opening ? *opening : local;
        chooseFile(o, folder, name);
        w().menus().saveProjectAs();
        return o.seen;
    }

    // The report page a fresh program computes from the saved project file.
    QByteArray expectedReport(const QString& projectFile, Edition edition) {
        MessageRecorder sink;
        ProjectSession fresh(sink);
        if (!fresh.open(projectFile))
            return {};
        fresh.setEdition(edition);
        if (fresh.compute().status != ComputeOutcome::Status::Computed)
            return {};
        const QString path = dir_ + "/expected.htm";
        if (fresh.writeReport(path))
            return {};
        return readAll(path);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() {
        tmp_ = std::make_unique<QTemporaryDir>();
        QVERIFY(tmp_->isValid());
        dir_ = tmp_->path();
        prompts_ = std::make_unique<WindTestPrompts>();
        window_ = std::make_unique<MainWindow>(*prompts_);
        window_->menus().useSettingsFile(dir_ + "/tamsor.conf");
        window_->show();
        w().fileDialogs().lastDir = dir_;
    }

    void cleanup() {
        window_.reset();
        prompts_.reset();
        tmp_.reset();
    }

    void saveNewOpenComputeAndReportEndToEnd() {
        typeProject();
        const QString projects = dir_ + "/项目 一";
        QVERIFY(QDir().mkpath(projects));

        // Save into another folder.
        Opening saving;
        QVERIFY(save(projects, QStringLiteral("塔 A.wvd"), &saving));
        QCOMPARE(saving.folder, dir_);
        QCOMPARE(saving.name, QStringLiteral("*.wvd"));
        const QString projectFile = projects + "/塔 A.wvd";
        QVERIFY(QFileInfo::exists(projectFile));
        QCOMPARE(w().fileDialogs().lastDir, projects);
        QCOMPARE(w().fileDialogs().lastFileName, QStringLiteral("塔 A.wvd"));
        QVERIFY(prompts_->informed.empty());

        // New clears the window; saved, nothing is lost and nothing asked.
        QCOMPARE(w().windowTitle(), QStringLiteral("塔 A.wvd[*] - Tamsorv1.10"));
        w().menus().newProject();
        QCOMPARE(w().inputPanel().heightsBox()->text(), QStringLiteral("0"));
        QVERIFY(prompts_->askedToSave.empty());

        // Open starts in the saved folder with the saved name.
        Opening opening;
        chooseFile(opening, QString(), QStringLiteral("塔 A.wvd"));
        w().menus().openProject();
        QVERIFY(opening.seen);
        QCOMPARE(opening.folder, projects);
        QCOMPARE(opening.name, QStringLiteral("塔 A.wvd"));
        QCOMPARE(w().inputPanel().heightsBox()->text(), QStringLiteral("10;20;30"));
        QCOMPARE(w().inputPanel().modeShapeBox(1)->text(), QStringLiteral("0.3;0.6;1"));
        QCOMPARE(w().inputPanel().windPressureBox()->text(), QStringLiteral("0.45"));
        QCOMPARE(w().inputPanel().pointCountList()->currentIndex(), 2);
        QCOMPARE(w().inputPanel().terrainList()->currentIndex(), 1);
        QCOMPARE(w().session().edition(), Edition::GB201X);
        QVERIFY(prompts_->informed.empty());
        QVERIFY(prompts_->askedToSave.empty());

        // Compute, then write the report under a name no shell would survive.
        w().computeButton()->click();
        QVERIFY(prompts_->informed.empty());
        QVERIFY(resultButtonsEnabled());
        const QString reports = dir_ + "/报告 $(touch x); 'q' \"d\"";
        QVERIFY(QDir().mkpath(reports));
        Opening reporting;
        chooseFile(reporting, reports, QStringLiteral("风振 报告.htm"));
        w().reportButton()->click();
        QVERIFY(reporting.seen);
        QCOMPARE(reporting.folder, projects);
        QCOMPARE(reporting.name, QStringLiteral("*.htm"));
        QVERIFY(prompts_->informed.empty());

        const QString reportFile = reports + "/风振 报告.htm";
        QCOMPARE(prompts_->opened, std::vector<QUrl>{QUrl::fromLocalFile(reportFile)});
        QCOMPARE(prompts_->opened[0].toLocalFile(), reportFile);
        const QByteArray expected = expectedReport(projectFile, Edition::GB201X);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(readAll(reportFile), expected);
        QCOMPARE(w().fileDialogs().lastDir, reports);

        // The next open dialog offers the report's name and refuses it.
        Opening reopening;
        const auto driver = driveNextDialog<FileDialog>(
            [&reopening](FileDialog& dialog) {
                reopening.name = dialog.nameBox()->text();
                dialog.okButton()->click();
                reopening.folder = dialog.isVisible() ? "open" : "closed";
                dialog.cancelButton()->click();
            },
            &reopening.seen);
        w().menus().openProject();
        QCOMPARE(reopening.name, QStringLiteral("风振 报告.htm"));
        QCOMPARE(reopening.folder, QStringLiteral("open"));
        QCOMPARE(prompts_->informed.size(), std::size_t(1));
        QCOMPARE(prompts_->informed[0].text, kWvdNameMessage);
    }

    void oldCodeFromTheOptionsReachesTheReport() {
        typeProject();
        QVERIFY(save(QString(), QStringLiteral("p.wvd")));
        w().computeButton()->click();
        QVERIFY(resultButtonsEnabled());

        const auto driver = driveNextDialog<OptionsDialog>([](OptionsDialog& dialog) {
            dialog.editionButton(Edition::GB2001)->click();
            dialog.okButton()->click();
        });
        w().menus().showOptions();
        QCOMPARE(w().session().edition(), Edition::GB2001);
        QVERIFY(resultButtonsDisabled());

        w().computeButton()->click();
        Opening reporting;
        chooseFile(reporting, QString(), QStringLiteral("old.htm"));
        w().reportButton()->click();
        QVERIFY(reporting.seen);
        const QByteArray expected = expectedReport(dir_ + "/p.wvd", Edition::GB2001);
        QVERIFY(!expected.isEmpty());
        QCOMPARE(readAll(dir_ + "/old.htm"), expected);
        QVERIFY(expected != expectedReport(dir_ + "/p.wvd", Edition::GB201X));
    }

    // Results are current under the edition they were computed under: OK
    // without a change, like Cancel, keeps them.
    void optionsOkWithoutChangeOrCancelKeepsTheResults() {
        typeProject();
        w().computeButton()->click();
        QVERIFY(resultButtonsEnabled());

        auto driver = driveNextDialog<OptionsDialog>(
            [](OptionsDialog& dialog) { dialog.cancelButton()->click(); });
        w().menus().showOptions();
        QVERIFY(driver->seen());
        QVERIFY(resultButtonsEnabled());
        QCOMPARE(w().session().edition(), Edition::GB201X);

        driver = driveNextDialog<OptionsDialog>(
            [](OptionsDialog& dialog) { dialog.okButton()->click(); });
        w().menus().showOptions();
        QVERIFY(driver->seen());
        QVERIFY(resultButtonsEnabled());
        QVERIFY(w().session().resultsCurrent());
        QCOMPARE(w().session().edition(), Edition::GB201X);
    }

    // The data dialog from the keyboard: its shortcut from an input box, the
    // fields in tab order, Return for OK. The data reach the project, which
    // counts as changed.
    void projectDataByKeyboardGoIntoTheProject() {
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w()));
        QVERIFY(!w().isWindowModified());
        QString title;
        QStringList names;
        QList<QWidget*> focus;
        const auto driver = driveNextDialog<ProjectDataDialog>([&](ProjectDataDialog& d) {
            title = d.windowTitle();
            names << d.diameterBox()->accessibleName() << d.structureList()->accessibleName()
                  << d.w10Box()->accessibleName();
            focus << d.focusWidget();
            QTest::keyClicks(d.diameterBox(), "6");
            QTest::keyClick(d.diameterBox(), Qt::Key_Tab);
            focus << d.focusWidget();
            QTest::keyClick(d.structureList(), Qt::Key_Down); // 1 高耸结构
            QTest::keyClick(d.structureList(), Qt::Key_Tab);
            focus << d.focusWidget();
            QTest::keyClicks(d.w10Box(), "0.3");
            QTest::keyClick(d.w10Box(), Qt::Key_Return);
            focus << d.diameterBox() << d.structureList() << d.w10Box();
        });
        w().inputPanel().heightsBox()->setFocus();
        QTest::keyClick(w().inputPanel().heightsBox(), Qt::Key_D,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(driver->seen());
        QCOMPARE(title, QStringLiteral("横风向及舒适度数据"));
        QCOMPARE(names, (QStringList{"圆形截面直径D(m)", "结构类型", "10年一遇基本风压w10(kPa)"}));
        QCOMPARE(focus.mid(0, 3), focus.mid(3, 3));
        QCOMPARE(w().session().input().diameter, "6");
        QCOMPARE(w().session().input().structureType, "1");
        QCOMPARE(w().session().input().w10, "0.3");
        QVERIFY(w().isWindowModified());
        QCOMPARE(w().inputPanel().heightsBox()->text(),
                 QStringLiteral("0")); // the key typed nothing
        QVERIFY(prompts_->informed.empty());
    }

    void projectDataRefusesANegativeDiameterAndEscChangesNothing() {
        bool openAfterRefusal = false;
        QWidget* focusAfterRefusal = nullptr;
        QLineEdit* diameter = nullptr;
        const auto driver = driveNextDialog<ProjectDataDialog>([&](ProjectDataDialog& d) {
            diameter = d.diameterBox();
            d.diameterBox()->setText(QStringLiteral("-6"));
            d.w10Box()->setText(QStringLiteral("0.3"));
            d.okButton()->click();
            openAfterRefusal = d.isVisible();
            focusAfterRefusal = d.focusWidget();
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        w().menus().projectDataAction()->trigger();
        QVERIFY(driver->seen());
        QVERIFY(openAfterRefusal);
        QCOMPARE(focusAfterRefusal, diameter);
        QCOMPARE(prompts_->informed.size(), std::size_t(1));
        QCOMPARE(prompts_->informed[0].title, std::string("错误提示"));
        QVERIFY(QString::fromStdString(prompts_->informed[0].text)
                    .startsWith(QStringLiteral("圆形截面的直径D为-6 m，不能为负数。")));
        QCOMPARE(w().session().input(), ProjectInput{});
        QVERIFY(!w().isWindowModified());
    }

    void aboutFromTheMenu() {
        QString caption;
        QString title;
        const auto driver = driveNextDialog<AboutDialog>([&](AboutDialog& dialog) {
            caption = dialog.windowTitle();
            title = dialog.titleLabel()->text();
            QTest::keyClick(&dialog, Qt::Key_Return);
        });
        w().menus().showAbout();
        QCOMPARE(caption, QStringLiteral("关于 Tamsorv1.10"));
        QCOMPARE(title, QStringLiteral("Tamsorv1.10"));
    }

    // Open leaves the project alone until a file is chosen: the typed input,
    // the results, the plots and the edition survive a cancelled dialog.
    void openThenCancelKeepsTheProject() {
        typeProject();
        w().session().setEdition(Edition::GB2001);
        w().computeButton()->click();
        w().plotMeanButton()->click();
        const QString lastDir = w().fileDialogs().lastDir;
        const auto plotted = w().plotPanel().loadPlot()->primitives().size();
        QVERIFY(plotted > 0);

        // Asked first; Cancel shows no dialog at all.
        QVERIFY(!opensDialog([this] { w().menus().openProject(); }));
        QCOMPARE(prompts_->askedToSave.size(), std::size_t(1));

        prompts_->saveAnswer = SaveAnswer::DontSave;
        const auto driver = driveNextDialog<FileDialog>([](FileDialog& dialog) {
            dialog.setFolder(QDir::homePath());
            dialog.cancelButton()->click();
        });
        w().menus().openProject();
        QCOMPARE(prompts_->askedToSave.size(), std::size_t(2));
        QCOMPARE(w().inputPanel().heightsBox()->text(), QStringLiteral("10;20;30"));
        QCOMPARE(w().inputPanel().pointCountList()->currentIndex(), 2);
        QCOMPARE(w().session().edition(), Edition::GB2001);
        QVERIFY(resultButtonsEnabled());
        QCOMPARE(w().plotPanel().loadPlot()->primitives().size(), plotted);
        QVERIFY(w().session().isModified());
        QCOMPARE(w().fileDialogs().lastDir, lastDir);
        QCOMPARE(w().fileDialogs().lastFileName, QStringLiteral("*.wvd"));
    }

    // The Save answer runs the save command with its dialog; the command that
    // asked goes on only when the project was saved.
    void saveAnswerSavesFirst() {
        typeProject();
        prompts_->saveAnswer = SaveAnswer::Save;

        // The save dialog cancelled: New does not run.
        const auto cancelling =
            driveNextDialog<FileDialog>([](FileDialog& dialog) { dialog.cancelButton()->click(); });
        w().menus().newProject();
        QVERIFY(cancelling->seen());
        QCOMPARE(w().inputPanel().heightsBox()->text(), QStringLiteral("10;20;30"));

        // Saved: then New.
        Opening saving;
        chooseFile(saving, QString(), QStringLiteral("first.wvd"));
        w().menus().newProject();
        QVERIFY(saving.seen);
        QCOMPARE(saving.name, QStringLiteral("*.wvd")); // the normal save dialog
        QVERIFY(readAll(dir_ + "/first.wvd").contains("10;20;30"));
        QCOMPARE(w().inputPanel().heightsBox()->text(), QStringLiteral("0"));

        // A project the gate refuses cannot be saved, so Exit does not close.
        type(w().inputPanel().heightsBox(), "5");
        QVERIFY(!w().close());
        QCOMPARE(prompts_->informed.back().text, kIncomplete);

        // Exit: saved, then closed.
        typeProject();
        Opening again;
        chooseFile(again, QString(), QStringLiteral("second.wvd"));
        QVERIFY(w().close());
        QVERIFY(again.seen);
        QVERIFY(readAll(dir_ + "/second.wvd").contains("10;20;30"));
        QCOMPARE(prompts_->askedToSave.size(), std::size_t(4));
        QVERIFY(prompts_->confirmed.empty());
        QCOMPARE(w().windowTitle(), QStringLiteral("second.wvd[*] - Tamsorv1.10"));
    }

    void saveIsRefusedBeforeAnyDialog() {
        // The new state: every box "0".
        QVERIFY(!opensDialog([this] { w().menus().saveProject(); }));
        QCOMPARE(prompts_->informed.size(), std::size_t(1));
        QCOMPARE(prompts_->informed[0].text, kIncomplete);
        QCOMPARE(prompts_->informed[0].title, std::string("错误提示"));

        // A refused list box: its own message only, no dialog, no file.
        typeProject();
        prompts_->informed.clear();
        w().inputPanel().areasBox()->setText(QStringLiteral("20;20"));
        QVERIFY(!opensDialog([this] { w().menus().saveProject(); }));
        QCOMPARE(prompts_->informed.size(), std::size_t(1));
        QCOMPARE(prompts_->informed[0].text, std::string("输入的数据数目与自由度数不一致"));
        QCOMPARE(QDir(dir_).entryList(QDir::Files), QStringList{});
    }

    void saveAndReportOpenWithTheirPatternAndOverwriteSilently() {
        typeProject();
        w().fileDialogs().lastFileName = "earlier.wvd";
        Opening first;
        QVERIFY(save(QString(), QStringLiteral("same.wvd"), &first));
        QCOMPARE(first.name, QStringLiteral("*.wvd"));
        const QByteArray before = readAll(dir_ + "/same.wvd");
        QVERIFY(before.contains("10;20;30"));

        type(w().inputPanel().heightsBox(), "11;21;31");
        Opening second;
        QVERIFY(save(QString(), QStringLiteral("same.wvd"), &second));
        QCOMPARE(second.name, QStringLiteral("*.wvd"));
        QVERIFY(readAll(dir_ + "/same.wvd").contains("11;21;31"));
        QVERIFY(prompts_->confirmed.empty());
        QVERIFY(prompts_->informed.empty());

        w().computeButton()->click();
        for (int round = 0; round < 2; ++round) {
            Opening reporting;
            chooseFile(reporting, QString(), QStringLiteral("r.htm"));
            w().reportButton()->click();
            QCOMPARE(reporting.name, QStringLiteral("*.htm"));
        }
        QCOMPARE(prompts_->opened.size(), std::size_t(2));
        QVERIFY(prompts_->confirmed.empty());
        QVERIFY(prompts_->informed.empty());
    }

    void saveWritesTheProjectsFileAgainWithoutADialog() {
        typeProject();
        QVERIFY(save(QString(), QStringLiteral("quick.wvd")));
        type(w().inputPanel().heightsBox(), "12;22;32");
        QVERIFY(w().isWindowModified());

        // Ctrl+S: the gate, then the same file, no dialog, no question.
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w()));
        QVERIFY(!opensDialog([this] {
            QTest::keyClick(w().inputPanel().heightsBox(), Qt::Key_S, Qt::ControlModifier);
        }));
        QVERIFY(readAll(dir_ + "/quick.wvd").contains("12;22;32"));
        QVERIFY(!w().isWindowModified());
        QVERIFY(prompts_->informed.empty());

        // A box the gate refuses: its message, and the file stays as saved.
        type(w().inputPanel().areasBox(), "20;20");
        prompts_->clear();
        QVERIFY(!opensDialog([this] { w().menus().saveAction()->trigger(); }));
        QCOMPARE(prompts_->informed.size(), std::size_t(1));
        QCOMPARE(prompts_->informed[0].text, std::string("输入的数据数目与自由度数不一致"));
        QVERIFY(readAll(dir_ + "/quick.wvd").contains("20;20;20"));

        // Save As still asks, with Ctrl+Shift+S.
        QCOMPARE(w().menus().saveAsAction()->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    }

    void patternNameNeverCreatesAFile() {
        typeProject();
        bool stayedOpen = false;
        bool seen = false;
        const auto driver = driveNextDialog<FileDialog>(
            [&stayedOpen](FileDialog& dialog) {
                dialog.okButton()->click(); // the untouched "*.wvd"
                stayedOpen = dialog.isVisible();
                dialog.cancelButton()->click();
            },
            &seen);
        w().menus().saveProject();
        QVERIFY(seen);
        QVERIFY(stayedOpen);
        QCOMPARE(prompts_->informed.size(), std::size_t(1));
        QCOMPARE(prompts_->informed[0].text, kWvdNameMessage);
        QCOMPARE(QDir(dir_).entryList(QDir::Files | QDir::Hidden), QStringList{});
        QCOMPARE(w().fileDialogs().lastFileName, QStringLiteral("*.wvd"));
    }

    void failedSavesAreReportedAndLoseNothing() {
        typeProject();
        const QString lastDir = w().fileDialogs().lastDir;

        // A full path into a folder that does not exist.
        const QString elsewhere = dir_ + "/elsewhere";
        QVERIFY(save(QString(), elsewhere + "/full.wvd"));
        QVERIFY(!QFileInfo::exists(elsewhere + "/full.wvd"));
        QCOMPARE(prompts_->informed.size(), std::size_t(1));
        QCOMPARE(prompts_->informed[0].icon, Message::Icon::Exclamation);

        // A folder part that is a regular file.
        QFile plain(dir_ + "/plain");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        QVERIFY(save(QString(), QStringLiteral("plain/p.wvd")));
        QCOMPARE(prompts_->informed.size(), std::size_t(2));

        // The target is a folder: it stays one.
        QVERIFY(QDir(dir_).mkdir("taken.wvd"));
        QVERIFY(save(QString(), QStringLiteral("taken.wvd")));
        QCOMPARE(prompts_->informed.size(), std::size_t(3));
        QVERIFY(QFileInfo(dir_ + "/taken.wvd").isDir());

        QCOMPARE(w().fileDialogs().lastDir, lastDir);
        QCOMPARE(w().inputPanel().heightsBox()->text(), QStringLiteral("10;20;30"));
        QCOMPARE(w().inputPanel().modeShapeBox(1)->text(), QStringLiteral("0.3;0.6;1"));
    }

    void failedReadClosesTheDialogAndKeepsLastDir() {
        const QString other = dir_ + "/other";
        QVERIFY(QDir().mkpath(other));
        QFile shortFile(other + "/short.wvd");
        QVERIFY(shortFile.open(QIODevice::WriteOnly));
        shortFile.write("1\r\n0\r\n10\r\n");
        shortFile.close();

        Opening opening;
        bool closed = false;
        const auto driver = driveNextDialog<FileDialog>(
            [&closed, other](FileDialog& dialog) {
                dialog.setFolder(other);
                dialog.nameBox()->setText(QStringLiteral("short.wvd"));
                dialog.okButton()->click();
                closed = !dialog.isVisible();
            },
            &opening.seen);
        w().menus().openProject();
        QVERIFY(opening.seen);
        QVERIFY(closed);
        QCOMPARE(prompts_->informed.size(), std::size_t(1));
        QCOMPARE(prompts_->informed[0].text, std::string("数据文件不完整，数据太少，请补充"));
        QCOMPARE(w().fileDialogs().lastDir, dir_);
        QCOMPARE(w().fileDialogs().lastFileName, QStringLiteral("short.wvd"));
    }

    void reportFailuresAndRefusals() {
        typeProject();
        w().computeButton()->click();
        QVERIFY(resultButtonsEnabled());

        // Unwritable target: a message, no viewer, lastDir kept.
        QFile plain(dir_ + "/plain");
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        Opening reporting;
        chooseFile(reporting, QString(), QStringLiteral("plain/r.htm"));
        w().reportButton()->click();
        QVERIFY(reporting.seen);
        QCOMPARE(prompts_->informed.size(), std::size_t(1));
        QVERIFY(prompts_->opened.empty());
        QCOMPARE(w().fileDialogs().lastDir, dir_);

        // No program shows it: the report is written all the same and the
        // user is told where it is.
        prompts_->informed.clear();
        prompts_->openResult = false;
        Opening again;
        chooseFile(again, QString(), QStringLiteral("r.htm"));
        w().reportButton()->click();
        QVERIFY(QFileInfo::exists(dir_ + "/r.htm"));
        QCOMPARE(prompts_->opened.size(), std::size_t(1));
        QCOMPARE(prompts_->informed.size(), std::size_t(1));
        QCOMPARE(prompts_->informed[0].text, "报告书已写入“" + (dir_ + "/r.htm").toStdString() +
                                                 "”，但找不到能显示它的程序，请用浏览器打开它。");

        // Results of the other edition are never reported: no dialog.
        prompts_->informed.clear();
        w().session().setEdition(Edition::GB2001);
        QVERIFY(!opensDialog([this] { w().writeReport(); }));
        QCOMPARE(prompts_->informed.size(), std::size_t(1));
        QVERIFY(w().session().reportRefusal().has_value());
    }
};

QTEST_MAIN(WindDialogsTest)
#include "WindDialogsTest.moc"
