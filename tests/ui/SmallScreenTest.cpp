// The main window on a laptop screen: 1366 x 768 with a 32-pixel panel
// leaves 1366 x 736 for windows (the offscreen screen of this test,
// screens/small.json). The fixed-size window does not fit; its contents
// scroll so that the bottom row stays reachable.

#include "WindTestPrompts.h"

#include "MainWindow.h"
#include "WindowFit.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QtTest>

using tamsor::MainWindow;
using tamsor::WindowFit;

class SmallScreenTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Reference values worked out by hand from the contents (1247 x 739),
    // a 22-pixel menu bar, a frame of 4 px with a 36-pixel title bar and
    // 15-pixel scroll bars.
    void fitNumbers() {
        const QSize content(1247, 739);
        const QMargins frame(4, 36, 4, 4);
        // 1920 x 1080: everything fits; the 1255 x 801 frame is centred.
        QCOMPARE(tamsor::fitWindow(content, 22, frame, 15, QRect(0, 0, 1920, 1080)),
                 (WindowFit{QSize(1247, 739), QPoint(332, 139), false}));
        // 1366 x 736 below a top panel: 736 - 40 - 22 = 674 rows are left;
        // the vertical bar widens the view to 1262, which still fits in
        // 1366 - 8; the 1270 x 736 frame starts at the panel's edge.
        QCOMPARE(tamsor::fitWindow(content, 22, frame, 15, QRect(0, 32, 1366, 736)),
                 (WindowFit{QSize(1262, 674), QPoint(48, 32), true}));
        // 1024 x 600: both bars, the view fills the room (1016 x 538).
        QCOMPARE(tamsor::fitWindow(content, 22, frame, 15, QRect(0, 0, 1024, 600)),
                 (WindowFit{QSize(1016, 538), QPoint(0, 0), true}));
    }

    void bottomRowIsReachable() {
        WindTestPrompts prompts;
        MainWindow w(prompts);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect available = w.screen()->availableGeometry();
        QCOMPARE(available.size(), QSize(1366, 736)); // the screen of this test
        // Fitted at start-up with an estimated frame, and again with the
        // frame the window has now.
        QVERIFY2(available.contains(w.frameGeometry()), "the frame leaves the screen");
        w.fitToScreen(available);
        QVERIFY2(available.contains(w.frameGeometry()), "the frame leaves the screen");

        QScrollArea* area = w.scrollArea();
        QVERIFY(area->verticalScrollBar()->isVisible());
        QVERIFY(!area->horizontalScrollBar()->isVisible());
        QWidget* bottomRow[] = {w.plotFluctuatingButton(), w.reportButton(), w.maintainerLabel()};
        for (QWidget* widget : bottomRow) {
            area->ensureWidgetVisible(widget, 0, 0);
            const QRect shown(widget->mapTo(area->viewport(), QPoint(0, 0)), widget->size());
            QVERIFY2(area->viewport()->rect().contains(shown),
                     qPrintable(widget->objectName() + " cannot be scrolled into view"));
        }
        // Scrolling reaches the contents' last row.
        QCOMPARE(area->verticalScrollBar()->maximum() + area->viewport()->height(),
                 area->widget()->height());

        // The Tab key goes from the last control round to the first and
        // scrolls it into view; the scroll area itself is no stop.
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        w.computeButton()->setFocus();
        QTest::keyClick(w.computeButton(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(),
                 static_cast<QWidget*>(w.inputPanel().pointCountList()));
        const QRect first(w.inputPanel().pointCountList()->mapTo(area->viewport(), QPoint(0, 0)),
                          w.inputPanel().pointCountList()->size());
        QVERIFY(area->viewport()->rect().contains(first));
    }
};

QTEST_MAIN(SmallScreenTest)
#include "SmallScreenTest.moc"
