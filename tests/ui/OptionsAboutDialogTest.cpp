#include "AboutDialog.h"
#include "InputForm.h"
#include "OptionsDialog.h"
#include "ProjectSession.h"

#include <QAccessible>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include <memory>

using namespace tamsor;

class OptionsAboutDialogTest : public QObject {
    Q_OBJECT

private:
    MessageRecorder sink_;
    std::unique_ptr<ProjectSession> session_;
    InputForm* form_ = nullptr;

    // A three-point project that computes without a fault.
    void typeProject() {
        form_->selectPointCount(3);
        form_->selectTerrain(2);
        form_->setBoxText(Box::Heights, "10;20;30");
        form_->setBoxText(Box::Areas, "20;20;20");
        form_->setBoxText(Box::Masses, "100;100;100");
        form_->setBoxText(Box::ModeShape1, "0.1;0.5;1");
        form_->setBoxText(Box::ShapeCoef, "1.3");
        form_->setBoxText(Box::Frequency, "0.5");
        form_->setBoxText(Box::DampingRatio, "0.05");
        form_->setValueText(ValueBox::Width, "0");
        form_->setValueText(ValueBox::WindPressure, "0.45");
    }

    // The peak factor the last computation used, recovered from its
    // results: bgFactor = muR / (2 g I10).
    double peakFactorOfResults() const {
        const RawResults& r = session_->results()->raw();
        return r.muR.at(0) / (2.0 * r.i10 * r.bgFactor.at(0));
    }

    static void pressCtrlTab(QWidget* target, Qt::KeyboardModifiers extra = {}) {
        QTest::keyClick(target, (extra & Qt::ShiftModifier) ? Qt::Key_Backtab : Qt::Key_Tab,
                        Qt::ControlModifier | extra);
    }

private slots:
    void init() {
        sink_.messages.clear();
        session_ = std::make_unique<ProjectSession>(sink_);
        form_ = &session_->form();
        session_->newProject();
    }

    void optionsShowsTheStoredEdition() {
        for (int edition : {0, 1}) {
            session_->setEdition(Edition(edition));
            OptionsDialog dialog(*session_);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("选项"));
            QCOMPARE(dialog.editionButton(Edition::GB201X)->text(),
                     QStringLiteral("新规范GB50009-201X"));
            QCOMPARE(dialog.editionButton(Edition::GB2001)->text(),
                     QStringLiteral("旧规范GB50009-2001"));
            QCOMPARE(dialog.editionButton(Edition::GB201X)->isChecked(), edition == 0);
            QCOMPARE(dialog.editionButton(Edition::GB2001)->isChecked(), edition == 1);
            // Centred on the screen.
            const QRect screen = dialog.screen()->geometry();
            QVERIFY(qAbs(dialog.frameGeometry().center().x() - screen.center().x()) <= 1);
            QVERIFY(qAbs(dialog.frameGeometry().center().y() - screen.center().y()) <= 1);
        }
    }

    void tabsPagesAndButtons() {
        OptionsDialog dialog(*session_);
        QTabBar* tabs = dialog.tabs();
        QCOMPARE(tabs->count(), 3);
        const QString captions[] = {"选择规范", "未定义", "未定义"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(tabs->tabText(i), captions[i]);
            QCOMPARE(tabs->tabToolTip(i), QStringLiteral("为群组 %1 设置选项").arg(i + 1));
        }
        QCOMPARE(dialog.pageFrame(0)->title(), QStringLiteral("选择荷载规范"));
        QCOMPARE(QAccessible::queryAccessibleInterface(dialog.page(0))->text(QAccessible::Name),
                 QStringLiteral("选择荷载规范"));
        QCOMPARE(dialog.okButton()->text(), QStringLiteral("确定"));
        QCOMPARE(dialog.cancelButton()->text(), QStringLiteral("取消"));

        dialog.show();
        QVERIFY(dialog.page(0)->isVisible());
        for (int i = 1; i < 4; ++i)
            QVERIFY(!dialog.page(i)->isVisible());

        // Clicking the second or third tab shows its empty page only.
        const QString samples[] = {"", "示例 2", "示例 3"};
        for (int tab : {1, 2}) {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
            QCOMPARE(tabs->currentIndex(), tab);
            for (int page = 0; page < 4; ++page) {
                QCOMPARE(dialog.page(page)->isVisible(), page == tab);
                QCOMPARE(dialog.page(page)->isEnabled(), page == tab);
            }
            QCOMPARE(dialog.pageFrame(tab)->title(), samples[tab]);
        }
        QVERIFY(!dialog.editionButton(Edition::GB201X)->isVisibleTo(&dialog));
    }

    void ctrlTabCyclesTheTabsFromAnyControl() {
        OptionsDialog dialog(*session_);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.editionButton(Edition::GB201X)->setFocus();
        QTabBar* tabs = dialog.tabs();
        pressCtrlTab(dialog.editionButton(Edition::GB201X));
        QCOMPARE(tabs->currentIndex(), 1);
        pressCtrlTab(dialog.okButton());
        QCOMPARE(tabs->currentIndex(), 2);
        // From the last tab back to the first.
        pressCtrlTab(&dialog);
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(dialog.page(0)->isVisible());

        // Ctrl+Shift+Tab and Ctrl+Alt+Tab do nothing.
        pressCtrlTab(dialog.okButton(), Qt::ShiftModifier);
        QCOMPARE(tabs->currentIndex(), 0);
        pressCtrlTab(dialog.okButton(), Qt::AltModifier);
        QCOMPARE(tabs->currentIndex(), 0);
        QVERIFY(dialog.isVisible());
    }

    void cancelAndEscChangeNothing() {
        typeProject();
        QCOMPARE(session_->compute().status, ComputeOutcome::Status::Computed);
        QVERIFY(session_->resultsCurrent());
        {
            OptionsDialog dialog(*session_);
            dialog.show();
            dialog.editionButton(Edition::GB2001)->click();
            dialog.cancelButton()->click();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        {
            OptionsDialog dialog(*session_);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            dialog.editionButton(Edition::GB2001)->click();
            QTest::keyClick(dialog.editionButton(Edition::GB2001), Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        QCOMPARE(session_->edition(), Edition::GB201X);
        QVERIFY(session_->resultsCurrent());
        QVERIFY(form_->resultButtonsEnabled());
    }

    void chosenEditionDrivesTheNextComputation() {
        typeProject();
        const double expected[] = {2.5, 2.2};
        for (int edition = 0; edition < 2; ++edition) {
            {
                OptionsDialog dialog(*session_);
                dialog.show();
                dialog.editionButton(Edition(edition))->click();
                dialog.okButton()->click();
            }
            QCOMPARE(session_->edition(), Edition(edition));
            QCOMPARE(session_->compute().status, ComputeOutcome::Status::Computed);
            QVERIFY(qAbs(peakFactorOfResults() - expected[edition]) < 1e-9);
        }
        QVERIFY(sink_.messages.empty());
    }

    void aboutBox() {
        AboutDialog dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("关于 Tamsorv1.10"));
        QCOMPARE(dialog.titleLabel()->text(), QStringLiteral("Tamsorv1.10"));
        QCOMPARE(dialog.okButton()->text(), QStringLiteral("确定"));
        QVERIFY(!dialog.maintainerLabel()->text().isEmpty());
        QVERIFY(!dialog.noticeLabel()->text().isEmpty());
        QCOMPARE(dialog.findChildren<QFrame*>(QRegularExpression("^Line1_")).size(), 2);
    }

    void aboutBoxClosesOnEnterEscAndClick_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("enter") << 0;
        QTest::newRow("esc") << 1;
        QTest::newRow("click") << 2;
    }
    void aboutBoxClosesOnEnterEscAndClick() {
        QFETCH(int, how);
        AboutDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QSignalSpy finished(&dialog, &QDialog::finished);
        if (how == 0)
            QTest::keyClick(&dialog, Qt::Key_Return);
        else if (how == 1)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.okButton()->click();
        QCOMPARE(finished.count(), 1);
        QVERIFY(!dialog.isVisible());
    }

    void aboutBoxUsesTheWindowIconWhenThereIsOne() {
        QWidget owner;
        QPixmap red(32, 32);
        red.fill(Qt::red);
        owner.setWindowIcon(QIcon(red));
        AboutDialog dialog(&owner);
        const QPixmap shown = dialog.iconLabel()->pixmap();
        QVERIFY(!shown.isNull());
        QCOMPARE(shown.toImage().pixelColor(16, 16), QColor(Qt::red));
    }
};

QTEST_MAIN(OptionsAboutDialogTest)
#include "OptionsAboutDialogTest.moc"
