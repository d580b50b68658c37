// The window's GUI-free decisions about files from the desktop and help:
// which file the command line or a drop names, the recent-files list, what
// the help command opens, and whether a program took a file to show.

#include "DesktopFiles.h"
#include "DesktopOpener.h"
#include "HelpFiles.h"
#include "ResultOutputs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace tamsor {
namespace {

void writeText(const QString& path, const QByteArray& text) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(text);
}

// A shell script standing in for the desktop's opener.
QString fakeOpener(const QString& path, const QByteArray& body) {
    writeText(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

TEST(StartupProjectFile, FirstNonOptionArgumentTakenFromTheStartFolder) {
    const QString cwd = QStringLiteral("/home/user/项目");
    EXPECT_EQ(startupProjectFile({"tamsor", "tower.wvd"}, cwd), "/home/user/项目/tower.wvd");
    EXPECT_EQ(startupProjectFile({"tamsor", "../a/./b.wvd", "other.wvd"}, cwd),
              "/home/user/a/b.wvd");
    EXPECT_EQ(startupProjectFile({"tamsor", "--verbose", "/data/x.wvd"}, cwd), "/data/x.wvd");
    EXPECT_EQ(startupProjectFile({"tamsor", "--", "-dash.wvd"}, cwd), "/home/user/项目/-dash.wvd");
    EXPECT_EQ(startupProjectFile({"tamsor", "file:///data/a%20b.wvd"}, cwd), "/data/a b.wvd");
    EXPECT_EQ(startupProjectFile({"tamsor"}, cwd), QString());
    EXPECT_EQ(startupProjectFile({"tamsor", "-x"}, cwd), QString());
}

TEST(DroppedProjectFile, FirstLocalWvdFile) {
    const QList<QUrl> urls{QUrl(QStringLiteral("https://example.invalid/a.wvd")),
                           QUrl::fromLocalFile(QStringLiteral("/data/report.htm")),
                           QUrl::fromLocalFile(QStringLiteral("/data/TOWER.WVD")),
                           QUrl::fromLocalFile(QStringLiteral("/data/b.wvd"))};
    EXPECT_EQ(droppedProjectFile(urls), "/data/TOWER.WVD");
    EXPECT_EQ(droppedProjectFile(urls.mid(0, 2)), QString());
}

TEST(RecentFiles, NewestFirstAtMostEightKeptInTheSettingsFile) {
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("tamsor.conf"));
    RecentFiles recent(settings);
    EXPECT_TRUE(recent.files().isEmpty());
    for (int i = 1; i <= 9; ++i)
        recent.add(QStringLiteral("/p/%1.wvd").arg(i));
    recent.add(QStringLiteral("/p/5.wvd")); // again: moves to the front
    const QStringList expected{"/p/5.wvd", "/p/9.wvd", "/p/8.wvd", "/p/7.wvd",
                               "/p/6.wvd", "/p/4.wvd", "/p/3.wvd", "/p/2.wvd"};
    EXPECT_EQ(recent.files(), expected);

    // A second window shares the list, and each change starts from the file.
    RecentFiles other(settings);
    EXPECT_EQ(other.files(), expected);
    other.remove(QStringLiteral("/p/9.wvd"));
    recent.add(QStringLiteral("/p/new 风.wvd"));
    EXPECT_EQ(recent.files().mid(0, 3), (QStringList{"/p/new 风.wvd", "/p/5.wvd", "/p/8.wvd"}));
    EXPECT_EQ(RecentFiles(settings).files(), recent.files());

    EXPECT_EQ(RecentFiles::menuText(0, QStringLiteral("/p/R&D.wvd")), "&1 /p/R&&D.wvd");
}

TEST(RecentFiles, ASettingsFileThatIsAPipeIsNeverWaitedOnAndNothingIsStoredInIt) {
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("tamsor.conf"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    alarm(60); // a read that waits on the pipe ends the test program here
    EXPECT_FALSE(settingsFileUsable(pipe));
    RecentFiles recent(pipe);
    EXPECT_TRUE(recent.files().isEmpty());
    EXPECT_FALSE(recent.add(QStringLiteral("/p/a.wvd")));
    EXPECT_EQ(recent.files(), QStringList{"/p/a.wvd"}); // kept for the run
    alarm(0);
    struct stat st {};
    ASSERT_EQ(lstat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

class HelpFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        bin = dir.filePath(QStringLiteral("usr/bin"));
        ASSERT_TRUE(QDir().mkpath(bin));
        apps = dir.filePath(QStringLiteral("applications"));
        ASSERT_TRUE(QDir().mkpath(apps));
    }
    QTemporaryDir dir;
    QString bin, apps;
};

TEST_F(HelpFilesTest, ChmViewerIsFoundByTheTypesItsDesktopEntryOpens) {
    writeText(apps + "/editor.desktop",
              "[Desktop Entry]\nName=Editor\nExec=ed %f\nMimeType=text/plain;\n");
    EXPECT_FALSE(chmViewerRegistered({apps}));
    // Hidden entries and keys outside the main group do not count.
    writeText(apps + "/old.desktop",
              "[Desktop Entry]\nName=Old\nHidden=true\nMimeType=application/x-chm;\n");
    writeText(apps + "/action.desktop", "[Desktop Entry]\nName=A\n[Desktop Action x]\n"
                                        "MimeType=application/vnd.ms-htmlhelp;\n");
    EXPECT_FALSE(chmViewerRegistered({apps}));
    writeText(apps + "/kde/viewer.desktop",
              "[Desktop Entry]\nName=Viewer\nMimeType=image/png;application/x-chm;\n");
    EXPECT_TRUE(chmViewerRegistered({dir.filePath("missing"), apps}));
}

TEST_F(HelpFilesTest, HtmlPagesComeFirstUnlessTheCompiledFileCanBeShown) {
    EXPECT_TRUE(helpTargets(bin, true).isEmpty());
    // Installed: share/tamsor beside bin/.
    const QString chm = dir.filePath(QStringLiteral("usr/share/tamsor/wind_Help.chm"));
    const QString index = dir.filePath(QStringLiteral("usr/share/tamsor/help/index.htm"));
    writeText(chm, "ITSF");
    EXPECT_EQ(helpTargets(bin, false), QStringList{chm});
    writeText(index, "<html>");
    EXPECT_EQ(helpTargets(bin, false), (QStringList{index, chm}));
    EXPECT_EQ(helpTargets(bin, true), (QStringList{chm, index}));
    // Beside the program (a build folder) wins.
    writeText(bin + "/help/index.htm", "<html>");
    EXPECT_EQ(findHelpIndex(bin), bin + "/help/index.htm");
    EXPECT_EQ(findHelpFile(bin), chm);
}

TEST_F(HelpFilesTest, HelpThatNoProgramShowsIsPointedTo) {
    const QString index = dir.filePath(QStringLiteral("help/index.htm"));
    const QString chm = dir.filePath(QStringLiteral("wind_Help.chm"));
    EXPECT_EQ(helpNotShown({chm, index}),
              (Message{"找不到能显示帮助的程序。帮助页在“" + index.toStdString() +
                           "”，请用浏览器打开它。",
                       "警告", Message::Icon::Exclamation}));
    EXPECT_EQ(helpNotShown({chm}).text, "找不到能显示帮助文件的程序。帮助文件在“" +
                                            chm.toStdString() + "”，请用CHM阅读器打开它。");
}

TEST(DesktopOpener, TellsWhetherAProgramTookTheFile) {
    using std::chrono::milliseconds;
    QTemporaryDir dir;
    // A name no shell would survive reaches the opener as it is.
    const QString file = dir.filePath(QStringLiteral("报告 $(touch x); 'q'.htm"));
    writeText(file, "<html>");
    const QString handedOn = fakeOpener(dir.filePath("shows"), R"([ -f "$1" ] && exit 0; exit 4)");
    EXPECT_TRUE(openWithOpener(handedOn, file, milliseconds(10000)));
    EXPECT_FALSE(QFile::exists(dir.filePath("x")));
    // xdg-open's status when it finds no program.
    EXPECT_FALSE(
        openWithOpener(fakeOpener(dir.filePath("none"), "exit 3"), file, milliseconds(10000)));
    EXPECT_FALSE(openWithOpener(dir.filePath("missing"), file, milliseconds(10000)));
    // Still running: the program shows the file in the opener's foreground.
    EXPECT_TRUE(
        openWithOpener(fakeOpener(dir.filePath("foreground"), "sleep 2"), file, milliseconds(100)));
}

TEST(TitleBlockMemory, KeepsTheNamesOnlyAndANewBookTakesTheProjectAndToday) {
    QTemporaryDir dir;
    const QString file = dir.filePath("tamsor.conf");
    writeText(file, "[titleBlock]\nprojectName=旧工程\ncalculatedBy=王工\ndate=2020-01-01\n");
    TitleBlockMemory memory{UserSettings(file)};
    EXPECT_EQ(memory.remembered(), (TitleBlock{"", "王工", "", ""}));
    EXPECT_EQ(newTitleBlock(memory.remembered(), "/p/江边 塔.wvd", QDate(2026, 12, 7)),
              (TitleBlock{"江边 塔", "王工", "", "2026-12-07"}));

    EXPECT_TRUE(memory.remember(TitleBlock{"塔", "张工", "李工", "2026-01-01"}));
    EXPECT_EQ(TitleBlockMemory(UserSettings(file)).remembered(),
              (TitleBlock{"", "张工", "李工", ""}));

    // Settings that cannot be written keep the names for this run.
    const QString pipe = dir.filePath("pipe.conf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    TitleBlockMemory unstored{UserSettings(pipe)};
    EXPECT_FALSE(unstored.remember(TitleBlock{"塔", "张工", "李工", ""}));
    EXPECT_EQ(unstored.remembered(), (TitleBlock{"", "张工", "李工", ""}));
}

TEST(ResultOutputs, OfferTheProjectsNameOrOneOfTheirOwn) {
    EXPECT_EQ(offeredOutputName(ResultOutput::Csv, "/p/塔.v2.wvd"), QStringLiteral("塔.v2.csv"));
    EXPECT_EQ(offeredOutputName(ResultOutput::Book, QString()), QStringLiteral("计算书.pdf"));
    EXPECT_EQ(offeredOutputName(ResultOutput::PlotSvg, QString()), QStringLiteral("结果图.svg"));
}

} // namespace
} // namespace tamsor
