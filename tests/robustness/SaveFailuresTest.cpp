// Saving a project and writing a report onto a full disk, into a read-only
// folder or below a path that is a file: the old file stays as it was, no
// half-written or temporary file is left, and a message says what happened.
//
// A full disk is simulated with the process's file size limit, which holds
// for root too (permission bits do not).

#include "Batch.h"
#include "HtmlReport.h"
#include "RobustnessSupport.h"

#include <QDir>

#include <gmock/gmock.h>

#include <csignal>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>

namespace tamsor::robustness {
namespace {

using ::testing::HasSubstr;

// While alive, no file of this process can grow beyond `bytes`: writes fail
// with EFBIG as on a full disk.
class DiskFull {
public:
    explicit DiskFull(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~DiskFull() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;
    bool ok() const { return ok_; }

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
    bool ok_ = false;
};

class SaveFailure : public LoadedWindow {
protected:
    void SetUp() override {
        LoadedWindow::SetUp();
        project = path("chimney.wvd");
        report = path("chimney.htm");
        writeAll(project, kOldProject);
        writeAll(report, kOldReport);
    }

    // Only the two old files are in the folder.
    void expectOldFilesOnly() {
        EXPECT_EQ(readAll(project), kOldProject);
        EXPECT_EQ(readAll(report), kOldReport);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
                  (QStringList{QStringLiteral("chimney.htm"), QStringLiteral("chimney.wvd")}));
    }

    static void expectWarningNaming(const std::optional<Message>& message, const QString& file) {
        ASSERT_TRUE(message.has_value()) << "failure reported as success";
        EXPECT_EQ(message->title, "警告");
        EXPECT_EQ(message->icon, Message::Icon::Exclamation);
        EXPECT_THAT(message->text, HasSubstr(QDir::toNativeSeparators(file).toStdString()));
    }

    static inline const QByteArray kOldProject =
        "1\r\n0\r\n10\r\n10\r\n1\r\n1\r\n0.05\r\n10\r\n1\r\n2\r\n0.5\r\n1.3\r\n";
    static inline const QByteArray kOldReport = "<html>previous report</html>\r\n";
    QString project, report;
};

TEST_F(SaveFailure, FullDiskKeepsTheOldProjectAndTheOldReport) {
    std::optional<Message> saved, written;
    {
        DiskFull full(64); // the chimney project needs more
        ASSERT_TRUE(full.ok());
        saved = writeProjectFile(project, input());
        written = writeHtmlReport(results(), report);
    }
    expectWarningNaming(saved, project);
    EXPECT_THAT(saved->text, HasSubstr("数据未保存"));
    expectWarningNaming(written, report);
    expectOldFilesOnly();

    // With room again both succeed, so the failures came from the disk.
    EXPECT_FALSE(writeProjectFile(project, input()).has_value());
    EXPECT_FALSE(writeHtmlReport(results(), report).has_value());
    EXPECT_NE(readAll(project), kOldProject);
    EXPECT_TRUE(readAll(report).startsWith("<html>\r\n"));
}

TEST_F(SaveFailure, BatchReportOntoAFullDiskIsAFailure) {
    std::ostringstream out, err;
    int status = -1;
    {
        DiskFull full(64);
        ASSERT_TRUE(full.ok());
        status = runBatch(QStringList{QStringLiteral("tamsor-batch"), QStringLiteral("--report"),
                                      report, examplePath("rc_chimney.wvd")},
                          out, err);
    }
    EXPECT_EQ(status, kBatchRefused);
    EXPECT_THAT(err.str(), HasSubstr(report.toStdString()));
    expectOldFilesOnly();
}

TEST_F(SaveFailure, BelowAPathThatIsAFile) {
    // The folder part names the old project file itself.
    const QString underProject = project + QStringLiteral("/new.wvd");
    const QString underReport = report + QStringLiteral("/new.htm");
    expectWarningNaming(writeProjectFile(underProject, input()), underProject);
    expectWarningNaming(writeHtmlReport(results(), underReport), underReport);

    std::ostringstream out, err;
    EXPECT_EQ(runBatch(QStringList{QStringLiteral("tamsor-batch"), QStringLiteral("--report"),
                                   underReport, examplePath("single_mass.wvd")},
                       out, err),
              kBatchRefused);
    EXPECT_THAT(err.str(), HasSubstr(underReport.toStdString()));
    expectOldFilesOnly();
    EXPECT_EQ(input(), before) << "saving changed the window";
}

// A project or report name that is a pipe: refused before anything is
// opened (opening a pipe for writing would wait for a reader), and the pipe
// stays a pipe, in the window and in the batch command alike.
TEST_F(SaveFailure, PipesAreRefusedAndStayPipes) {
    const QString pipeProject = path("pipe.wvd");
    const QString pipeReport = path("pipe.htm");
    for (const QString& pipe : {pipeProject, pipeReport})
        ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);

    const std::optional<Message> saved = writeProjectFile(pipeProject, input());
    expectWarningNaming(saved, pipeProject);
    EXPECT_THAT(saved->text, HasSubstr("不是普通文件，数据未保存"));
    const std::optional<Message> written = writeHtmlReport(results(), pipeReport);
    expectWarningNaming(written, pipeReport);
    EXPECT_THAT(written->text, HasSubstr("不是普通文件"));

    std::ostringstream out, err;
    EXPECT_EQ(runBatch(QStringList{QStringLiteral("tamsor-batch"), QStringLiteral("--report"),
                                   pipeReport, examplePath("single_mass.wvd")},
                       out, err),
              kBatchRefused);
    EXPECT_THAT(err.str(), HasSubstr(pipeReport.toStdString()));

    for (const QString& pipe : {pipeProject, pipeReport}) {
        struct stat st {};
        ASSERT_EQ(lstat(QFile::encodeName(pipe).constData(), &st), 0);
        EXPECT_TRUE(S_ISFIFO(st.st_mode)) << pipe.toStdString();
    }
    EXPECT_EQ(readAll(project), kOldProject);
    EXPECT_EQ(readAll(report), kOldReport);
}

// A folder where the user may not create files: the writable old files are
// written in place (a failure half-way puts the old contents back), new
// names are refused.
TEST_F(SaveFailure, ReadOnlyFolderWritesWritableFilesInPlace) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root (see the full-disk test)";
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const QString newProject = path("new.wvd");
    const QString newReport = path("new.htm");
    const std::optional<Message> savedNew = writeProjectFile(newProject, input());
    const std::optional<Message> writtenNew = writeHtmlReport(results(), newReport);
    std::optional<Message> saved, written;
    {
        DiskFull full(64); // more than either old file, less than either new one
        ASSERT_TRUE(full.ok());
        saved = writeProjectFile(project, input());
        written = writeHtmlReport(results(), report);
    }
    const QByteArray projectAfterFailure = readAll(project);
    const QByteArray reportAfterFailure = readAll(report);
    const std::optional<Message> savedInPlace = writeProjectFile(project, input());
    const std::optional<Message> writtenInPlace = writeHtmlReport(results(), report);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    expectWarningNaming(savedNew, newProject);
    expectWarningNaming(writtenNew, newReport);
    expectWarningNaming(saved, project);
    expectWarningNaming(written, report);
    EXPECT_EQ(projectAfterFailure, kOldProject);
    EXPECT_EQ(reportAfterFailure, kOldReport);

    EXPECT_EQ(savedInPlace, std::nullopt);
    EXPECT_EQ(writtenInPlace, std::nullopt);
    EXPECT_EQ(readAll(project), projectFileBytes(input()));
    EXPECT_EQ(readAll(report), htmlReportBytes(results()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name),
              (QStringList{QStringLiteral("chimney.htm"), QStringLiteral("chimney.wvd")}));
}

} // namespace
} // namespace tamsor::robustness
