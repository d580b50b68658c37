#include "FileChooser.h"
#include "ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace tamsor {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::string kWvdMessage = "请输入文件名，扩展名为 wvd  !";
const std::string kHtmMessage = "请输入文件名，扩展名必须是htm !";

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

class FileChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        memory.lastDir = dir.path();
    }
    QTemporaryDir dir;
    FileDialogMemory memory;
};

TEST(CheckFileName, AcceptsOnlyNamesWithTheExactEnding) {
    EXPECT_FALSE(checkFileName(FileDialogKind::OpenData, "a.wvd"));
    EXPECT_FALSE(checkFileName(FileDialogKind::SaveData, "工程 1.wvd"));
    EXPECT_FALSE(checkFileName(FileDialogKind::Report, "报告 'x';$(id).htm"));
    EXPECT_FALSE(checkFileName(FileDialogKind::Report, "sub/r.htm"));

    for (const char* bad : {"", " ", "A.WVD", "a.Wvd", "a.wvd ", "a.htm", "wvd", "a.wvdx"}) {
        const auto refusal = checkFileName(FileDialogKind::SaveData, QString::fromUtf8(bad));
        ASSERT_TRUE(refusal) << bad;
        EXPECT_EQ(refusal->text, kWvdMessage);
        EXPECT_EQ(refusal->title, "警告");
        EXPECT_EQ(refusal->icon, Message::Icon::Exclamation);
    }
    const auto refusal = checkFileName(FileDialogKind::Report, "r.HTM");
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, kHtmMessage);
    EXPECT_TRUE(checkFileName(FileDialogKind::Report, "r.html"));
}

TEST(CheckFileName, RefusesWildcardsSuchAsTheUntouchedPattern) {
    EXPECT_TRUE(checkFileName(FileDialogKind::OpenData, "*.wvd"));
    EXPECT_TRUE(checkFileName(FileDialogKind::SaveData, "*.wvd"));
    EXPECT_TRUE(checkFileName(FileDialogKind::Report, "*.htm"));
    EXPECT_TRUE(checkFileName(FileDialogKind::SaveData, "a?.wvd"));
    EXPECT_TRUE(checkFileName(FileDialogKind::SaveData, "a*b.wvd"));
}

TEST(JoinFolderAndName, JoinsRelativeNamesAndTakesAbsoluteOnesAsTheyAre) {
    EXPECT_EQ(joinFolderAndName("/tmp/x", "a.wvd"), QStringLiteral("/tmp/x/a.wvd"));
    EXPECT_EQ(joinFolderAndName("/", "a.wvd"), QStringLiteral("/a.wvd"));
    EXPECT_EQ(joinFolderAndName("/tmp/x", "sub/a.wvd"), QStringLiteral("/tmp/x/sub/a.wvd"));
    EXPECT_EQ(joinFolderAndName("/tmp/x", "/home/u/a.wvd"), QStringLiteral("/home/u/a.wvd"));
    EXPECT_EQ(joinFolderAndName("/tmp/x", "~/a.wvd"), QDir::homePath() + "/a.wvd");
    // Only a leading "~" is the home folder.
    EXPECT_EQ(joinFolderAndName("/tmp/x", "a~/b.wvd"), QStringLiteral("/tmp/x/a~/b.wvd"));
}

TEST(FileList, DatesTypesAndSizesInChineseForms) {
    const QDateTime modified(QDate(2026, 12, 7), QTime(13, 5, 59));
    EXPECT_EQ(fileListDate(modified), QStringLiteral("2026-12-07 13:05"));
    const FileListEntry folder{"工程", true, modified, 0};
    const FileListEntry file{"塔.wvd", false, modified, 1025};
    EXPECT_EQ(fileListType(folder), QStringLiteral("文件夹"));
    EXPECT_EQ(fileListType(file), QStringLiteral("WVD 文件"));
    EXPECT_EQ(fileListSize(folder), QString());
    EXPECT_EQ(fileListSize(file), QStringLiteral("2 KB"));
}

TEST_F(FileChooserTest, StartsInLastDirOrInHomeWhenItIsGone) {
    EXPECT_EQ(startFolder(memory), dir.path());

    memory.lastDir = dir.path() + "/gone";
    EXPECT_EQ(startFolder(memory), QDir::homePath());

    // A regular file is no folder either.
    touch(dir.path() + "/plain");
    memory.lastDir = dir.path() + "/plain";
    EXPECT_EQ(startFolder(memory), QDir::homePath());

    memory.lastDir.clear();
    EXPECT_EQ(startFolder(memory), QDir::homePath());
}

TEST_F(FileChooserTest, OnlyTheOpenDialogShowsLastFileName) {
    memory.lastFileName = "r.htm";
    EXPECT_EQ(FileChooser(FileDialogKind::OpenData, memory).nameText(), QStringLiteral("r.htm"));
    EXPECT_EQ(FileChooser(FileDialogKind::SaveData, memory).nameText(), QStringLiteral("*.wvd"));
    EXPECT_EQ(FileChooser(FileDialogKind::Report, memory).nameText(), QStringLiteral("*.htm"));

    memory.lastFileName.clear();
    EXPECT_EQ(FileChooser(FileDialogKind::OpenData, memory).nameText(), QStringLiteral("*.wvd"));
}

TEST_F(FileChooserTest, ListsTheFilesMatchingThePatternOnly) {
    touch(dir.path() + "/b.wvd");
    touch(dir.path() + "/a.wvd");
    touch(dir.path() + "/r.htm");
    touch(dir.path() + "/notes.txt");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.wvd"));

    FileChooser open(FileDialogKind::OpenData, memory);
    EXPECT_EQ(open.matchingFiles(), (QStringList{"a.wvd", "b.wvd"}));
    // The list shows the subfolders first, then the files, with their dates.
    const std::vector<FileListEntry> listed = open.listing();
    ASSERT_EQ(listed.size(), 3U);
    EXPECT_EQ(listed[0].name, QStringLiteral("folder.wvd"));
    EXPECT_TRUE(listed[0].folder);
    EXPECT_EQ(listed[1].name, QStringLiteral("a.wvd"));
    EXPECT_EQ(listed[1].modified, QFileInfo(dir.path() + "/a.wvd").lastModified());
    FileChooser report(FileDialogKind::Report, memory);
    EXPECT_EQ(report.matchingFiles(), QStringList{"r.htm"});

    open.fileClicked("b.wvd");
    EXPECT_EQ(open.nameText(), QStringLiteral("b.wvd"));
}

TEST_F(FileChooserTest, NameThatIsNotUtf8IsListedAndOpeningItSaysToRenameIt) {
    // "塔.wvd" in GB2312, as an archive made on Windows unpacks it.
    const QByteArray name("\xCB\xFE.wvd");
    const QByteArray file = QFile::encodeName(dir.path()) + '/' + name;
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    // QTemporaryDir cannot remove it: Qt's listing leaves such names out.
    const std::unique_ptr<const char, int (*)(const char*)> removeAtEnd(file.constData(), ::unlink);
    touch(dir.path() + "/a.wvd");

    FileChooser open(FileDialogKind::OpenData, memory);
    const QString shown = QStringLiteral("\uFFFD\uFFFD.wvd");
    EXPECT_EQ(open.matchingFiles(), (QStringList{"a.wvd", shown}));

    open.fileClicked(shown);
    ASSERT_FALSE(open.beginAccept());
    const ProjectRead read = readProjectFile(open.path());
    ASSERT_TRUE(read.failure);
    EXPECT_EQ(read.failure->title, "警告");
    // Never "does not exist": the name is the trouble, and renaming the cure.
    EXPECT_THAT(read.failure->text,
                AllOf(StartsWith("无法打开数据文件“" + open.path().toStdString() + "”"),
                      HasSubstr("不是有效的UTF-8编码"), HasSubstr("改名")));
}

TEST_F(FileChooserTest, AcceptedNameBuildsThePathAndLastDirFollowsOnlySuccess) {
    const QString other = dir.path() + "/其他 文件夹";
    ASSERT_TRUE(QDir().mkpath(other));

    FileChooser save(FileDialogKind::SaveData, memory);
    save.setFolder(other);
    save.setNameText("工程.wvd");
    ASSERT_FALSE(save.beginAccept());
    EXPECT_EQ(save.path(), other + "/工程.wvd");
    EXPECT_EQ(save.nameText(), save.path());
    EXPECT_EQ(memory.lastFileName, QStringLiteral("工程.wvd"));

    // A failed action keeps the old folder, but the name is remembered.
    save.finishAccept(false);
    EXPECT_EQ(memory.lastDir, dir.path());

    save.finishAccept(true);
    EXPECT_EQ(memory.lastDir, other);

    // The next open dialog starts there with the saved name.
    FileChooser open(FileDialogKind::OpenData, memory);
    EXPECT_EQ(open.folder(), other);
    EXPECT_EQ(open.nameText(), QStringLiteral("工程.wvd"));

    // A full path typed into the name box is the file; its folder is the one
    // remembered, and its bare name.
    open.setNameText(dir.path() + "/塔.wvd");
    ASSERT_FALSE(open.beginAccept());
    EXPECT_EQ(open.path(), dir.path() + "/塔.wvd");
    open.finishAccept(true);
    EXPECT_EQ(memory.lastDir, dir.path());
    EXPECT_EQ(memory.lastFileName, QStringLiteral("塔.wvd"));
}

TEST_F(FileChooserTest, OutputDialogsOfferANameAndAddTheEndingButForgetTheName) {
    FileChooser csv(FileDialogKind::CsvTable, memory, QStringLiteral("塔.csv"));
    EXPECT_EQ(csv.nameText(), QStringLiteral("塔.csv"));
    csv.setNameText(QStringLiteral("表"));
    ASSERT_FALSE(csv.beginAccept());
    EXPECT_EQ(csv.path(), dir.path() + "/表.csv");
    // The open dialog keeps offering the last project name.
    EXPECT_EQ(memory.lastFileName, QStringLiteral("*.wvd"));

    FileChooser book(FileDialogKind::Book, memory);
    book.setNameText(QStringLiteral("书.htm"));
    EXPECT_TRUE(book.beginAccept());
}

} // namespace
} // namespace tamsor
