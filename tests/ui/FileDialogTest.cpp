#include "DialogTestSupport.h"

#include "FileDialog.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include <memory>

using namespace tamsor;

namespace {

void touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

// A point on the name of the file list's row.
QPoint inNameColumn(QTreeWidget* list, int row) {
    return QPoint(8, list->visualItemRect(list->topLevelItem(row)).center().y());
}

// A double-click as the mouse makes it: a click, then the second press.
void doubleClick(QTreeWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, inNameColumn(list, row));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, inNameColumn(list, row));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, inNameColumn(list, row));
}

} // namespace

class FileDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> tmp_;
    QString dirPath_;
    FileDialogMemory memory_;
    WindTestPrompts prompts_;
    QStringList actionPaths_;
    bool actionResult_ = true;

    FileDialog::Action recordingAction() {
        return [this](QWidget*, const QString& path) {
            actionPaths_ << path;
            return actionResult_;
        };
    }

private slots:
    void init() {
        tmp_ = std::make_unique<QTemporaryDir>();
        QVERIFY(tmp_->isValid());
        dirPath_ = tmp_->path();
        memory_ = FileDialogMemory{};
        memory_.lastDir = dirPath_;
        prompts_ = WindTestPrompts{};
        actionPaths_.clear();
        actionResult_ = true;
    }

    void controlsCaptionsAndFocusOrder_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("nameTop");
        QTest::newRow("open") << int(FileDialogKind::OpenData)
                              << QStringLiteral("从文件导入数据(*.wvd)")
                              << QStringLiteral("last.wvd") << 184;
        QTest::newRow("save") << int(FileDialogKind::SaveData)
                              << QStringLiteral("导出保存数据到文件(*.wvd)")
                              << QStringLiteral("*.wvd") << 176;
        QTest::newRow("report") << int(FileDialogKind::Report)
                                << QStringLiteral("将计算结果生成网页") << QStringLiteral("*.htm")
                                << 176;
    }
    void controlsCaptionsAndFocusOrder() {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(QString, name);
        QFETCH(int, nameTop);
        memory_.lastFileName = "last.wvd";
        FileDialog dialog(FileDialogKind(kind), memory_, prompts_, recordingAction());
        QCOMPARE(dialog.windowTitle(), caption);
        QCOMPARE(dialog.nameBox()->text(), name);
        QCOMPARE(dialog.nameBox()->y(), nameTop);
        QCOMPARE(dialog.size(), QSize(443, 259));
        QCOMPARE(dialog.okButton()->text(), QStringLiteral("确  定"));
        QCOMPARE(dialog.cancelButton()->text(), QStringLiteral("取  消"));
        auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("输入文件名："));
        QVERIFY(!dialog.okButton()->isDefault());
        QVERIFY(!dialog.cancelButton()->isDefault());
        // A screen reader hears the tree, the list and the name box by purpose.
        QStringList spoken;
        for (QWidget* w : std::initializer_list<QWidget*>{dialog.folderView(), dialog.fileList(),
                                                          dialog.nameBox()})
            spoken << QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        QCOMPARE(spoken, (QStringList{"文件夹", "文件列表", "文件名"}));

        QWidget* expected[] = {dialog.folderView(), dialog.homeButton(),   dialog.nameBox(),
                               dialog.okButton(),   dialog.cancelButton(), dialog.fileList()};
        for (std::size_t i = 0; i + 1 < std::size(expected); ++i) {
            QWidget* next = expected[i]->nextInFocusChain();
            while (next->focusPolicy() == Qt::NoFocus)
                next = next->nextInFocusChain();
            QCOMPARE(next, expected[i + 1]);
        }
    }

    void fileListFollowsPatternAndFolder() {
        touch(dirPath_ + "/b.wvd");
        touch(dirPath_ + "/a.wvd");
        touch(dirPath_ + "/report.htm");
        QVERIFY(QDir(dirPath_).mkdir("sub"));
        touch(dirPath_ + "/sub/c.wvd");

        FileDialog dialog(FileDialogKind::OpenData, memory_, prompts_, recordingAction());
        QCOMPARE(dialog.folder(), dirPath_);
        QTreeWidget* list = dialog.fileList();
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("sub"));
        QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("文件夹"));
        QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("a.wvd"));
        QCOMPARE(list->topLevelItem(2)->text(0), QStringLiteral("b.wvd"));
        QCOMPARE(list->topLevelItem(2)->text(1),
                 QFileInfo(dirPath_ + "/b.wvd").lastModified().toString("yyyy-MM-dd HH:mm"));
        QCOMPARE(list->topLevelItem(2)->text(2), QStringLiteral("WVD 文件"));

        // The folder list shows the start folder as its current entry.
        auto* folders = qobject_cast<QFileSystemModel*>(dialog.folderView()->model());
        QVERIFY(folders);
        QCOMPARE(folders->filePath(dialog.folderView()->currentIndex()), dirPath_);

        // Clicking a file puts its bare name into the name box.
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, inNameColumn(list, 2));
        QCOMPARE(dialog.nameBox()->text(), QStringLiteral("b.wvd"));

        // Choosing another folder in the folder list refills the file list.
        const QModelIndex sub = folders->index(dirPath_ + "/sub");
        QVERIFY(sub.isValid());
        dialog.folderView()->setCurrentIndex(sub);
        QCOMPARE(dialog.folder(), dirPath_ + "/sub");
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("c.wvd"));
        // The name box keeps what it had.
        QCOMPARE(dialog.nameBox()->text(), QStringLiteral("b.wvd"));
    }

    void doubleClickEntersAFolderAndOpensAFile() {
        QVERIFY(QDir(dirPath_).mkdir("sub"));
        touch(dirPath_ + "/sub/c.wvd");
        FileDialog dialog(FileDialogKind::OpenData, memory_, prompts_, recordingAction());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTreeWidget* list = dialog.fileList();
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("sub"));
        doubleClick(list, 0);
        QTRY_COMPARE(dialog.folder(), dirPath_ + "/sub");
        QVERIFY(actionPaths_.isEmpty());

        doubleClick(list, 0);
        QCOMPARE(actionPaths_, QStringList{dirPath_ + "/sub/c.wvd"});
        QVERIFY(!dialog.isVisible());
        QCOMPARE(memory_.lastDir, dirPath_ + "/sub");
    }

    void currentFolderComesIntoView() {
        FileDialog dialog(FileDialogKind::OpenData, memory_, prompts_, recordingAction());
        dialog.show();
        QTreeView* tree = dialog.folderView();
        QTRY_VERIFY(
            tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex()).center()));
    }

    void homeButtonAndMissingLastDirLeadHome() {
        memory_.lastDir = dirPath_ + "/removed";
        FileDialog dialog(FileDialogKind::SaveData, memory_, prompts_, recordingAction());
        QCOMPARE(dialog.folder(), QDir::homePath());

        dialog.setFolder(dirPath_);
        QCOMPARE(dialog.folder(), dirPath_);
        dialog.homeButton()->click();
        QCOMPARE(dialog.folder(), QDir::homePath());
    }

    void refusedNamesKeepTheDialogOpen_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        const QString wvd = QStringLiteral("请输入文件名，扩展名为 wvd  !");
        const QString htm = QStringLiteral("请输入文件名，扩展名必须是htm !");
        QTest::newRow("upper case") << int(FileDialogKind::SaveData) << "A.WVD" << wvd;
        QTest::newRow("pattern") << int(FileDialogKind::SaveData) << "*.wvd" << wvd;
        QTest::newRow("report pattern") << int(FileDialogKind::Report) << "*.htm" << htm;
    }
    void refusedNamesKeepTheDialogOpen() {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, message);
        FileDialog dialog(FileDialogKind(kind), memory_, prompts_, recordingAction());
        dialog.show();
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.nameBox()->setText(name);
        dialog.okButton()->click();

        QCOMPARE(prompts_.informed.size(), std::size_t(1));
        QCOMPARE(QString::fromStdString(prompts_.informed[0].text), message);
        QCOMPARE(prompts_.informed[0].title, std::string("警告"));
        QCOMPARE(prompts_.informed[0].icon, Message::Icon::Exclamation);
        QVERIFY(dialog.isVisible());
        QCOMPARE(finished.count(), 0);
        QVERIFY(actionPaths_.isEmpty());
        QCOMPARE(dialog.nameBox()->text(), name);
        QCOMPARE(memory_.lastFileName, QStringLiteral("*.wvd"));
        QCOMPARE(QDir(dirPath_).entryList(QDir::Files), QStringList{});
    }

    void acceptedNameRunsTheActionWithTheFullPath() {
        const QString other = dirPath_ + "/目录 二";
        QVERIFY(QDir().mkpath(other));
        FileDialog dialog(FileDialogKind::SaveData, memory_, prompts_, recordingAction());
        dialog.show();
        dialog.setFolder(other);
        dialog.nameBox()->setText(QStringLiteral("工程 1.wvd"));
        dialog.okButton()->click();

        QCOMPARE(actionPaths_, QStringList{other + "/工程 1.wvd"});
        QCOMPARE(dialog.nameBox()->text(), other + "/工程 1.wvd");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QVERIFY(dialog.actionSucceeded());
        QCOMPARE(memory_.lastDir, other);
        QCOMPARE(memory_.lastFileName, QStringLiteral("工程 1.wvd"));
        QVERIFY(prompts_.informed.empty());
    }

    void returnInTheNameBoxPressesOkAndEscCancels() {
        // A full path typed into the name box is the file, wherever the
        // dialog's folder is.
        const QString elsewhere = dirPath_ + "/其他";
        QVERIFY(QDir().mkpath(elsewhere));
        FileDialog dialog(FileDialogKind::SaveData, memory_, prompts_, recordingAction());
        dialog.show();
        dialog.nameBox()->setFocus();
        dialog.nameBox()->setText(elsewhere + "/a.wvd");
        QTest::keyClick(dialog.nameBox(), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(actionPaths_, QStringList{elsewhere + "/a.wvd"});
        QCOMPARE(memory_.lastDir, elsewhere);

        FileDialog second(FileDialogKind::SaveData, memory_, prompts_, recordingAction());
        second.show();
        second.nameBox()->setFocus();
        second.nameBox()->setText(QStringLiteral("b.wvd"));
        QTest::keyClick(second.nameBox(), Qt::Key_Escape);
        QVERIFY(!second.isVisible());
        QCOMPARE(second.result(), int(QDialog::Rejected));
        QCOMPARE(actionPaths_.size(), 1);
        QVERIFY(prompts_.informed.empty());
    }
};

QTEST_MAIN(FileDialogTest)
#include "FileDialogTest.moc"
