// Project files a user might really pick in the Open dialog or hand to the
// batch command: empty, binary, huge, in another encoding, not a file at all,
// unreadable, or gone by the time it is read. Each ends in one clear message
// (never a crash or a hang), and nothing of such a file is loaded unless the
// partial-load rule says otherwise.

#include "Batch.h"
#include "RobustnessSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace tamsor::robustness {
namespace {

using ::testing::HasSubstr;

const Message kMissing{"数据文件不存在", "错误", Message::Icon::Exclamation};
const Message kTooShort{"数据文件不完整，数据太少，请补充", "错误", Message::Icon::Exclamation};
const Message kDofNotInteger{"自由度数必须为整数", "警告", Message::Icon::Exclamation};
const Message kTerrainNotInteger{"地貌类型必须为整数", "警告", Message::Icon::Exclamation};

// What a path that is no file gets: the missing-file text, then what it is.
Message notAFile(const QString& path, const std::string& what) {
    return Message{"数据文件不存在：“" + path.toStdString() + "”是" + what + "，不是普通文件",
                   "错误", Message::Icon::Exclamation};
}

const std::array<std::string, 12> kThreePoints = {"3",          "0",    "20;40;60", "12;11;9",
                                                  "1",          "0.85", "0.05",     "80;60;40",
                                                  "0.15;0.5;1", "3",    "0.55",     "0.7"};

struct BatchRun {
    int status = -1;
    std::string out, err;
};

BatchRun runBatchOn(const QString& file) {
    std::ostringstream out, err;
    BatchRun run;
    run.status = runBatch(QStringList{QStringLiteral("tamsor-batch"), file}, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

class HostileFile : public LoadedWindow {
protected:
    // Open in the window: exactly one message and a new project, nothing of
    // the file loaded; then the batch command: status 1 and the same message
    // on stderr.
    void expectRefusedUntouched(const QString& file, const Message& expected) {
        const ProjectRead read = readProjectFile(file);
        ASSERT_TRUE(read.failure);
        EXPECT_EQ(*read.failure, expected);
        EXPECT_EQ(read.input, ProjectInput{}) << "something of the file was loaded";
        EXPECT_FALSE(session.open(file));
        EXPECT_EQ(sink.messages, std::vector<Message>{expected});
        EXPECT_EQ(input(), ProjectInput{});

        const BatchRun run = runBatchOn(file);
        EXPECT_EQ(run.status, kBatchRefused);
        EXPECT_THAT(run.err, HasSubstr(expected.text));
        EXPECT_EQ(run.out, "");
    }
};

TEST_F(HostileFile, EmptyFile) {
    const QString file = path("empty.wvd");
    writeAll(file, QByteArray());
    expectRefusedUntouched(file, kTooShort);
}

TEST_F(HostileFile, PictureChosenByMistake) {
    // A PNG: its signature holds CR LF and LF, the rest is compressed data.
    const QByteArray png = readAll(QStringLiteral(TAMSOR_SOURCE_DIR "/dist/icons/tamsor-256.png"));
    ASSERT_TRUE(png.startsWith("\x89PNG\r\n"));
    const QString file = path("tower.wvd");
    writeAll(file, png);
    const ProjectRead read = readProjectFile(file);
    ASSERT_TRUE(read.failure);
    EXPECT_TRUE(*read.failure == kTooShort || *read.failure == kDofNotInteger)
        << read.failure->text;
    EXPECT_EQ(read.input, ProjectInput{});
    EXPECT_EQ(runBatchOn(file).status, kBatchRefused);
}

TEST_F(HostileFile, FiftyMegabytesOnOneLine) {
    const QString file = path("huge.wvd");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        const QByteArray block(1 << 20, '7');
        for (int i = 0; i < 50; ++i)
            ASSERT_EQ(out.write(block), block.size());
    }
    ASSERT_EQ(QFileInfo(file).size(), qint64{50} << 20);
    expectRefusedUntouched(file, kTooShort);
}

TEST_F(HostileFile, ProjectFollowedByFiftyMegabytesOfJunkStillLoads) {
    // Only the start of what follows the twelfth line is read: a project file
    // with something appended (a concatenation gone wrong) loads quickly.
    const QString file = path("appended.wvd");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(projectBytes(kThreePoints));
        const QByteArray block(1 << 20, '\0');
        for (int i = 0; i < 50; ++i)
            ASSERT_EQ(out.write(block), block.size());
    }
    const ProjectRead read = readProjectFile(file);
    EXPECT_TRUE(read.complete());
    EXPECT_EQ(read.input.heights, "20;40;60");
    EXPECT_EQ(runBatchOn(file).status, kBatchOk);
}

TEST_F(HostileFile, Utf8WithByteOrderMarkReadsAsUtf8) {
    // "UTF-8 with BOM" as some editors save: the mark sits before line 1 and
    // is not part of the DOF count; a Chinese character after it is UTF-8.
    std::array<std::string, 12> lines = kThreePoints;
    lines[1] = "宽";
    const QString file = path("bom.wvd");
    writeAll(file, "\xEF\xBB\xBF" + projectBytes(lines));
    const ProjectRead read = readProjectFile(file);
    ASSERT_TRUE(read.complete());
    EXPECT_EQ(read.input.pointCount, 3);
    EXPECT_EQ(read.input.width, "宽");
    EXPECT_EQ(read.input.heights, "20;40;60");
}

// Text that is not plain numbers reaches the boxes as the characters it
// stands for; the input check then refuses it with the list-syntax message.
TEST_F(HostileFile, ChineseTextInGb2312AndUtf8IsRefusedByTheInputCheck) {
    std::array<std::string, 12> lines = kThreePoints;
    lines[2] = "20；40；60"; // full-width semicolons
    QStringEncoder toGb2312("GB2312");
    const QByteArray gbLine = toGb2312.encode(QString::fromStdString(lines[2]));
    ASSERT_FALSE(toGb2312.hasError());

    for (const bool gb2312 : {true, false}) {
        SCOPED_TRACE(gb2312 ? "GB2312" : "UTF-8");
        QByteArray bytes = projectBytes(lines);
        if (gb2312)
            bytes.replace(QByteArray::fromStdString(lines[2]), gbLine);
        const QString file = path(gb2312 ? "gb.wvd" : "utf8.wvd");
        writeAll(file, bytes);

        sink.messages.clear();
        ASSERT_TRUE(session.open(file));
        EXPECT_TRUE(sink.messages.empty());
        if (gb2312)
            EXPECT_EQ(input().heights, "20；40；60"); // the same characters
        else
            EXPECT_NE(input().heights.find('2'), std::string::npos); // decoded, not dropped
        EXPECT_FALSE(session.commandGate());
        ASSERT_FALSE(sink.messages.empty());
        EXPECT_EQ(sink.messages[0].text, kListSyntaxMessage);
        EXPECT_TRUE(session.form().boxRefused(Box::Heights));

        const BatchRun run = runBatchOn(file);
        EXPECT_EQ(run.status, kBatchRefused);
        EXPECT_THAT(run.err, HasSubstr(std::string(kListSyntaxMessage)));
    }
}

TEST_F(HostileFile, NulBytesInsideALineAreRefusedByTheInputCheck) {
    std::array<std::string, 12> lines = kThreePoints;
    lines[7] = std::string("80;6\0"
                           "0;40",
                           9);
    const QString file = path("nul.wvd");
    writeAll(file, projectBytes(lines));
    ASSERT_TRUE(session.open(file));
    EXPECT_FALSE(session.commandGate());
    ASSERT_FALSE(sink.messages.empty());
    EXPECT_EQ(sink.messages[0].text, kListSyntaxMessage);
    EXPECT_EQ(runBatchOn(file).status, kBatchRefused);
}

TEST_F(HostileFile, GarbageTerrainLineKeepsTheRestOfTheWindow) {
    // The partial-load rule: what came before the terrain line is loaded
    // onto a new project; the terrain, the wind pressure and the shape
    // coefficients are New's.
    std::array<std::string, 12> lines = kThreePoints;
    lines[9] = "\x01\x02\xff\xfe";
    const QString file = path("terrain.wvd");
    writeAll(file, projectBytes(lines));
    EXPECT_FALSE(session.open(file));
    EXPECT_EQ(sink.messages, std::vector<Message>{kTerrainNotInteger});
    EXPECT_EQ(input().heights, "20;40;60");
    EXPECT_EQ(input().modeShapes[0], "0.15;0.5;1");
    EXPECT_EQ(input().pointCount, 3);
    EXPECT_EQ(input().terrain, 1);
    EXPECT_EQ(input().windPressure, "0");
    EXPECT_EQ(input().shapeCoefficients, "0");
    EXPECT_EQ(runBatchOn(file).status, kBatchRefused);
}

// --- paths that are not an ordinary file ---------------------------------------

TEST_F(HostileFile, FolderNamedLikeAProject) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("tower.wvd")));
    expectRefusedUntouched(path("tower.wvd"), notAFile(path("tower.wvd"), "文件夹"));
}

TEST_F(HostileFile, NamedPipeIsNeverOpened) {
    // Opening a pipe for reading would wait for a writer for ever.
    const QString fifo = path("pipe.wvd");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    expectRefusedUntouched(fifo, notAFile(fifo, "管道（FIFO）"));
}

// Another program swaps a pipe in for the project file and back, over and
// over: whatever the reader checks, the file it opens may be the pipe, and
// opening a pipe for reading waits for a writer. A read that has waited a
// second is released by opening the pipe for writing, and counted.
TEST_F(HostileFile, PipeSwappedInWhileOpeningNeverBlocks) {
    const QByteArray regular = QFile::encodeName(path("regular"));
    const QByteArray pipe = QFile::encodeName(path("pipe"));
    const QByteArray spare = QFile::encodeName(path("spare"));
    const QString target = path("swapped.wvd");
    const QByteArray name = QFile::encodeName(target);
    writeAll(path("regular"), projectBytes(kThreePoints));
    ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
    ASSERT_EQ(link(regular.constData(), name.constData()), 0);

    using Clock = std::chrono::steady_clock;
    const auto now = [] { return Clock::now().time_since_epoch().count(); };
    const Clock::rep second =
        std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)).count();
    std::atomic<bool> done{false};
    std::atomic<int> swaps{0};
    std::atomic<Clock::rep> readSince{0}; // when the read in progress began; 0: none
    std::atomic<int> blocked{0};
    std::thread swapper([&] {
        while (!done) {
            for (const QByteArray& source : {pipe, regular}) {
                link(source.constData(), spare.constData());
                rename(spare.constData(), name.constData());
            }
            ++swaps;
            // Opening the pipe for writing succeeds only while a reader
            // holds it open.
            Clock::rep since = readSince;
            if (since != 0 && now() - since > second) {
                const int fd = open(pipe.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    if (readSince.compare_exchange_strong(since, 0))
                        ++blocked;
                    close(fd);
                }
            }
        }
    });
    while (swaps < 10)
        std::this_thread::yield();
    // Two seconds of reads, each checking and opening the path once.
    int reads = 0, loaded = 0;
    for (const Clock::rep end = now() + 2 * second; now() < end; ++reads) {
        readSince = now();
        loaded += readProjectFile(target).complete() ? 1 : 0;
        readSince = 0;
    }
    done = true;
    swapper.join();
    EXPECT_EQ(blocked, 0) << "reads of " << reads << " that waited on the pipe";
    EXPECT_GT(loaded, 0) << "the regular file was never read";
}

TEST_F(HostileFile, LinkToAnEndlessDeviceIsNeverRead) {
    const QString link = path("zero.wvd");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), link));
    expectRefusedUntouched(link, notAFile(link, "设备"));
}

TEST_F(HostileFile, DanglingLink) {
    const QString link = path("gone.wvd");
    ASSERT_TRUE(QFile::link(path("nowhere.wvd"), link));
    expectRefusedUntouched(link, kMissing);
}

TEST_F(HostileFile, FileDeletedBetweenTheDialogAndTheRead) {
    const QString file = path("moment.wvd");
    writeAll(file, projectBytes(kThreePoints));
    ASSERT_TRUE(QFileInfo::exists(file)); // the dialog saw it
    ASSERT_TRUE(QFile::remove(file));     // another program removed it
    expectRefusedUntouched(file, kMissing);
}

TEST_F(HostileFile, UnreadableFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    const QString file = path("locked.wvd");
    writeAll(file, projectBytes(kThreePoints));
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::WriteOwner));
    const ProjectRead read = readProjectFile(file);
    ASSERT_TRUE(read.failure);
    EXPECT_EQ(read.failure->title, "警告");
    EXPECT_THAT(read.failure->text, HasSubstr("无法打开数据文件"));
    EXPECT_EQ(read.input, ProjectInput{});
    EXPECT_EQ(runBatchOn(file).status, kBatchRefused);
}

} // namespace
} // namespace tamsor::robustness
