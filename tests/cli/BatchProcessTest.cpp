// tamsor-batch run as a program: exit statuses, UTF-8 streams and the
// QCoreApplication set-up of main().
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

const QString kExamples = QStringLiteral(TAMSOR_EXAMPLES_DIR);

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ProcessResult runProgram(const QString& program, const QStringList& args,
                         const QString& locale = QStringLiteral("C.UTF-8"),
                         const QString& configHome = QString()) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    if (!configHome.isEmpty())
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    process.setProcessEnvironment(env);
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit); // no crash
    ProcessResult run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

ProcessResult runExe(const QStringList& args, const QString& locale = QStringLiteral("C.UTF-8")) {
    return runProgram(QStringLiteral(TAMSOR_BATCH_EXE), args, locale);
}

// A path as printf's octal escapes: QProcess hands its arguments over as
// text, the shell's printf gives them back as the very bytes.
QString escaped(const QByteArray& path) {
    QString text;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        text += byte < 0x80 ? QString(QLatin1Char(c))
                            : QStringLiteral("\\%1").arg(byte, 3, 8, QLatin1Char('0'));
    }
    return text;
}

// The names in a folder, as bytes (Qt's listing leaves out names that are
// not valid UTF-8).
std::vector<QByteArray> namesIn(const QByteArray& folder) {
    std::vector<QByteArray> names;
    if (DIR* dir = opendir(folder.constData())) {
        while (const dirent* entry = readdir(dir))
            if (QByteArray(entry->d_name) != "." && QByteArray(entry->d_name) != "..")
                names.emplace_back(entry->d_name);
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

class BatchProcess : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "batch_process_test";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            static QCoreApplication app(argc, argv);
    }
};

TEST_F(BatchProcess, ComputesTheWorkedExample) {
    // A comma-decimal locale must not change the numbers.
    const ProcessResult run = runExe({QStringLiteral("--format"), QStringLiteral("csv"),
                                      kExamples + QStringLiteral("/single_mass.wvd")},
                                     QStringLiteral("de_DE.UTF-8"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, IsEmpty());
    EXPECT_THAT(run.out, StartsWith("file,point,zCoord,meanLoad,"));
    EXPECT_THAT(run.out, HasSubstr("/single_mass.wvd,1,10,6.5,"));
    EXPECT_THAT(run.out, HasSubstr(",1.9560996"));
}

TEST_F(BatchProcess, ExitStatuses) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.wvd"));

    ProcessResult run = runExe({missing});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "错误: 数据文件不存在\n"); // UTF-8 on standard error

    run = runExe({QStringLiteral("--format"), QStringLiteral("yaml"), missing});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, HasSubstr("用法: tamsor-batch"));

    run = runExe({});
    EXPECT_EQ(run.exitCode, 2);

    run = runExe({QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_THAT(run.out, StartsWith("用法: tamsor-batch"));

    run = runExe({kExamples + QStringLiteral("/steel_tower.wvd"),
                  kExamples + QStringLiteral("/rc_chimney.wvd")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("质点数: 10"));
    EXPECT_THAT(run.out, HasSubstr("质点数: 6"));
}

TEST_F(BatchProcess, NamesThatAreNotUtf8AreTheFilesGiven) {
    // "塔.wvd" and "报告.htm" in GB2312, as an archive made on Windows unpacks
    // them: the project is read and the report written under these bytes, and
    // only the output shows U+FFFD.
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray project = folder + "/\xCB\xFE.wvd";
    const QByteArray report = folder + "/\xB1\xA8\xB8\xE6.htm";
    QFile example(kExamples + QStringLiteral("/single_mass.wvd"));
    ASSERT_TRUE(example.open(QIODevice::ReadOnly));
    const QByteArray contents = example.readAll();
    const int fd = open(project.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(write(fd, contents.constData(), contents.size()), contents.size());
    close(fd);

    const ProcessResult run = runProgram(
        QStringLiteral("sh"),
        {QStringLiteral("-c"),
         QStringLiteral(
             "exec \"$0\" --format csv --report \"$(printf \"$1\")\" \"$(printf \"$2\")\""),
         QStringLiteral(TAMSOR_BATCH_EXE), escaped(report), escaped(project)});
    const std::vector<QByteArray> names = namesIn(folder);
    // QTemporaryDir cannot remove them: Qt's listing leaves them out.
    unlink(project.constData());
    unlink(report.constData());

    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, IsEmpty());
    EXPECT_THAT(run.out, HasSubstr(folder.toStdString() + "/\uFFFD\uFFFD.wvd,1,10,6.5,"));
    EXPECT_EQ(names, (std::vector<QByteArray>{"\xB1\xA8\xB8\xE6.htm", "\xCB\xFE.wvd"}));
}

TEST_F(BatchProcess, SettingsFileThatIsAPipeIsNeverWaitedOn) {
    // The calculation book reads the remembered title block; a pipe in the
    // settings file's place would make it wait for a writer for ever.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("config/tamsor")));
    const QByteArray pipe =
        QFile::encodeName(dir.filePath(QStringLiteral("config/tamsor/tamsor.conf")));
    ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
    const QString book = dir.filePath(QStringLiteral("book.pdf"));
    const ProcessResult run =
        runProgram(QStringLiteral(TAMSOR_BATCH_EXE),
                   {QStringLiteral("--pdf"), book, kExamples + QStringLiteral("/single_mass.wvd")},
                   QStringLiteral("C.UTF-8"), dir.filePath(QStringLiteral("config")));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(QFileInfo(book).isFile());
    struct stat st {};
    ASSERT_EQ(lstat(pipe.constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

} // namespace
