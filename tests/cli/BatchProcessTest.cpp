// tamsor-batch run as a program: exit statuses, UTF-8 streams and the
// QCoreApplication set-up of main().
#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

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

ProcessResult runExe(const QStringList& args, const QString& locale = QStringLiteral("C.UTF-8")) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(TAMSOR_BATCH_EXE), args);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit); // no crash
    ProcessResult run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
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

} // namespace
