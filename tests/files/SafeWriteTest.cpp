// The one routine that writes the files a user names: special files are never
// replaced, symbolic links are followed, a writable file in a folder where no
// file can be created is written in place.
//
// The read-only-folder case skips itself under root (permission bits do not
// stop root); files.permissions_unprivileged runs it again as "nobody", with
// the pipe case, so both run without rights too.

#include "SafeWrite.h"

#include "FileTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace tamsor {
namespace {

using test::readAll;
using test::writeBytes;

// The kind of the file itself, a link not followed.
mode_t fileType(const QString& path) {
    struct stat st {};
    if (lstat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & S_IFMT;
}

bool hardLink(const QString& target, const QString& name) {
    return link(QFile::encodeName(target).constData(), QFile::encodeName(name).constData()) == 0;
}

ino_t inode(const QString& path) {
    struct stat st {};
    return stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

class SafeWrite : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // Opening a pipe for writing would wait for a reader: end the program
        // instead of hanging the suite.
        alarm(60);
    }
    void TearDown() override {
        alarm(0);
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QStringList entries() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }

    QTemporaryDir dir;
};

TEST_F(SafeWrite, PipesAndFoldersAreRefusedAndLeftAsTheyAre) {
    const QString pipe = path("pipe.wvd");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    ASSERT_TRUE(QFile::link(pipe, path("link.wvd")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.wvd")));

    const WriteFailure refused{WriteFailure::Kind::NotRegularFile, {}};
    EXPECT_EQ(writeFileSafely(pipe, QByteArrayLiteral("x")), refused);
    EXPECT_EQ(writeFileSafely(path("link.wvd"), QByteArrayLiteral("x")), refused);
    bool called = false;
    EXPECT_EQ(writeFileSafely(path("folder.wvd"),
                              [&called](QIODevice&) {
                                  called = true;
                                  return true;
                              }),
              refused);
    EXPECT_FALSE(called) << "nothing may be written before the target is checked";

    EXPECT_EQ(fileType(pipe), S_IFIFO);
    EXPECT_EQ(fileType(path("link.wvd")), S_IFLNK);
    EXPECT_EQ(fileType(path("folder.wvd")), S_IFDIR);
    EXPECT_EQ(entries(), (QStringList{"folder.wvd", "link.wvd", "pipe.wvd"}));
}

TEST_F(SafeWrite, LinksAreFollowedAndAFailedWriterReplacesNothing) {
    writeBytes(path("real.wvd"), "old");
    ASSERT_TRUE(QFile::link(QStringLiteral("real.wvd"), path("link.wvd")));
    ASSERT_TRUE(hardLink(path("real.wvd"), path("second.wvd")));

    EXPECT_EQ(writeFileSafely(path("link.wvd"), QByteArrayLiteral("new")), std::nullopt);
    EXPECT_EQ(fileType(path("link.wvd")), S_IFLNK);
    EXPECT_EQ(readAll(path("real.wvd")), "new");
    // The completed temporary file took the name's place: another hard link
    // still names the old file.
    EXPECT_EQ(readAll(path("second.wvd")), "old");

    // A writer that gives up half-way: the old file stays, no temporary file.
    const auto halfThenFail = [](QIODevice& device) {
        device.write("partial");
        return false;
    };
    const std::optional<WriteFailure> failed = writeFileSafely(path("real.wvd"), halfThenFail);
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->kind, WriteFailure::Kind::CannotWrite);
    EXPECT_EQ(readAll(path("real.wvd")), "new");
    EXPECT_EQ(entries(), (QStringList{"link.wvd", "real.wvd", "second.wvd"}));
}

TEST_F(SafeWrite, ReadOnlyFolderWritesAWritableFileInPlace) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    writeBytes(path("a.wvd"), "old contents that are longer than the new ones");
    ASSERT_TRUE(hardLink(path("a.wvd"), path("b.wvd")));
    writeBytes(path("locked.wvd"), "locked");
    ASSERT_TRUE(QFile::setPermissions(path("locked.wvd"), QFileDevice::ReadOwner));
    const ino_t before = inode(path("a.wvd"));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    EXPECT_EQ(writeFileSafely(path("a.wvd"), QByteArrayLiteral("new")), std::nullopt);
    EXPECT_EQ(readAll(path("a.wvd")), "new"); // the old tail is cut off
    // The same file, so a second name for it sees the new contents too.
    EXPECT_EQ(inode(path("a.wvd")), before);
    EXPECT_EQ(readAll(path("b.wvd")), "new");

    // Neither a new file nor a file the user may not write.
    for (const char* name : {"c.wvd", "locked.wvd"}) {
        const std::optional<WriteFailure> failed =
            writeFileSafely(path(name), QByteArrayLiteral("new"));
        ASSERT_TRUE(failed.has_value()) << name;
        EXPECT_EQ(failed->kind, WriteFailure::Kind::CannotOpen) << name;
    }
    EXPECT_EQ(readAll(path("locked.wvd")), "locked");
    EXPECT_EQ(entries(), (QStringList{"a.wvd", "b.wvd", "locked.wvd"}));
}

TEST_F(SafeWrite, ReadOnlyFolderRefusesFilesWhoseOldContentsCannotBeKept) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    // A file the user may write but not read, and one too large to keep a
    // copy of: written in place, neither could get its old contents back.
    writeBytes(path("write-only.wvd"), "old");
    ASSERT_TRUE(QFile::setPermissions(path("write-only.wvd"), QFileDevice::WriteOwner));
    writeBytes(path("large.htm"), "old");
    ASSERT_EQ(truncate(QFile::encodeName(path("large.htm")).constData(), kMaxInPlaceBytes + 1), 0);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    for (const char* name : {"write-only.wvd", "large.htm"}) {
        const std::optional<WriteFailure> failed =
            writeFileSafely(path(name), QByteArrayLiteral("new"));
        ASSERT_TRUE(failed.has_value()) << name;
        EXPECT_EQ(failed->kind, WriteFailure::Kind::CannotOpen) << name;
    }
    ASSERT_TRUE(QFile::setPermissions(path("write-only.wvd"),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    EXPECT_EQ(readAll(path("write-only.wvd")), "old");
    QFile large(path("large.htm"));
    ASSERT_TRUE(large.open(QIODevice::ReadOnly));
    EXPECT_EQ(large.size(), kMaxInPlaceBytes + 1);
    EXPECT_EQ(large.read(3), "old");
}

TEST_F(SafeWrite, ReplacedFileKeepsItsModeAndOwner) {
    // Root may replace a read-only file of another user; the file stays
    // theirs and read-only. Others keep at least the permissions.
    const bool root = geteuid() == 0;
    const QString file = path("shared.wvd");
    writeBytes(file, "old");
    const QByteArray name = QFile::encodeName(file);
    if (root) {
        ASSERT_EQ(chown(name.constData(), 65534, 65534), 0);
    }
    ASSERT_EQ(chmod(name.constData(), root ? 0444 : 0640), 0);
    struct stat before {};
    ASSERT_EQ(stat(name.constData(), &before), 0);

    ASSERT_EQ(writeFileSafely(file, QByteArrayLiteral("new")), std::nullopt);
    EXPECT_EQ(readAll(file), "new");
    struct stat after {};
    ASSERT_EQ(stat(name.constData(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino); // replaced, not written in place
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
}

} // namespace
} // namespace tamsor
