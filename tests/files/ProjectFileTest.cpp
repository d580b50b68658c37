#include "ProjectFile.h"

#include "InputForm.h"
#include "Message.h"
#include "ProjectModel.h"
#include "Startup.h"

#include "FileTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace tamsor {
namespace {

using Lines = std::vector<std::string>;

const Lines kThreePoints = {"3",    "12.5",        "10;20;30",  "5;6;7", "1",    "0.8",
                            "0.05", "100;110;120", "0.2;0.6;1", "2",     "0.45", "1.3"};

QByteArray join(const Lines& lines, const char* end = "\r\n") {
    QByteArray bytes;
    for (const std::string& line : lines) {
        bytes += QByteArray::fromStdString(line);
        bytes += end;
    }
    return bytes;
}

Lines with(Lines lines, std::size_t lineNumber, std::string text) {
    lines.at(lineNumber - 1) = std::move(text);
    return lines;
}

using test::readAll;
using test::writeBytes;

Message warning(std::string text) {
    return {std::move(text), "警告", Message::Icon::Exclamation};
}
Message error(std::string text) {
    return {std::move(text), "错误", Message::Icon::Exclamation};
}

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        initializeProject(model);
        form.newProject();
        model.codeVersion = 1; // a complete read must reset it
        sink.messages.clear();
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    bool readBytes(const QByteArray& bytes) { return readProjectBytes(bytes, form); }

    // The form as New leaves it: every box "0", first entries selected.
    void expectFormUntouched() const {
        for (int i = 0; i < kListBoxCount; ++i)
            EXPECT_EQ(form.text1(i), "0") << "Text1(" << i << ")";
        for (int i = 0; i < kValueBoxCount; ++i)
            EXPECT_EQ(form.text2(i), "0") << "Text2(" << i << ")";
        EXPECT_EQ(form.freedomPosition(), 0);
        EXPECT_EQ(form.terrainPosition(), 0);
        EXPECT_EQ(model.codeVersion, 1);
    }

    void expectOnlyMessage(const Message& expected) const {
        ASSERT_EQ(sink.messages.size(), 1u);
        EXPECT_EQ(sink.messages[0], expected);
    }

    QTemporaryDir dir;
    ProjectModel model;
    MessageRecorder sink;
    InputForm form{model, sink};
};

// --- writing ------------------------------------------------------------------

TEST_F(ProjectFileTest, WritesTwelveCrLfLinesInFileOrder) {
    form.selectFreedom(2);
    form.selectTerrain(1);
    form.setText2(ValueBox::Width, "12.5");
    form.setText1(Box::Heights, "10;20;30");
    form.setText1(Box::Areas, "5;6;7");
    form.setText1(Box::Frequency, "0.8");
    form.setText1(Box::DampingRatio, "0.05");
    form.setText1(Box::Masses, "100;110;120");
    form.setText1(Box::ModeShape1, "0.2;0.6;1");
    form.setText1(Box::ModeShape2, "9;9;9"); // modes 2 and 3 are never stored
    form.setText1(Box::ModeShape3, "8");
    form.setText2(ValueBox::WindPressure, "0.45");
    form.setText1(Box::ShapeCoef, "1.3");

    const QString file = path("three.wvd");
    EXPECT_EQ(writeProjectFile(file, form), std::nullopt);
    EXPECT_EQ(readAll(file), join(kThreePoints));
    EXPECT_EQ(projectFileBytes(form), join(kThreePoints));
}

TEST_F(ProjectFileTest, OnePointProjectStillHasTwelveLinesAndTextsAreUnchanged) {
    form.setText1(Box::Heights, " 10 ");
    form.setText2(ValueBox::WindPressure, "1.50e0");
    const QString file = path("one.wvd");
    ASSERT_EQ(writeProjectFile(file, form), std::nullopt);
    const QByteArray bytes = readAll(file);
    EXPECT_EQ(bytes, join({"1", "0", " 10 ", "0", "1", "0", "0", "0", "0", "1", "1.50e0", "0"}));
    EXPECT_EQ(bytes.count("\r\n"), 12);
    EXPECT_EQ(bytes.count('\n'), 12);
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ProjectFileTest, TextsAreWrittenInGb2312) {
    form.setText1(Box::Heights, "风;振");
    const std::optional<QByteArray> bytes = projectFileBytes(form);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(bytes->contains(QByteArray("\r\n\xB7\xE7;\xD5\xF1\r\n")));

    const QString file = path("gb.wvd");
    ASSERT_EQ(writeProjectFile(file, form), std::nullopt);
    form.newProject();
    ASSERT_TRUE(readProjectFile(file, form));
    EXPECT_EQ(form.text1(Box::Heights), "风;振");
}

TEST_F(ProjectFileTest, ExistingFileIsReplacedWhole) {
    const QString file = path("old.wvd");
    writeBytes(file, QByteArray(4096, 'x'));
    ASSERT_EQ(writeProjectFile(file, form), std::nullopt);
    EXPECT_EQ(readAll(file), *projectFileBytes(form));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.wvd"});
}

TEST_F(ProjectFileTest, TextsThatCannotBeStoredAreRefusedAndOldFileKept) {
    const QString file = path("keep.wvd");
    const QByteArray old = join(kThreePoints);
    writeBytes(file, old);
    const Message refused = warning("输入框中含有无法保存的字符，数据未保存");

    form.setText1(Box::Areas, "1;2\n3"); // a break would shift every later line
    EXPECT_EQ(writeProjectFile(file, form), refused);
    form.setText1(Box::Areas, "0");
    form.setText2(ValueBox::Width, "1\r");
    EXPECT_EQ(writeProjectFile(file, form), refused);
    form.setText2(ValueBox::Width, "0");
    form.setText1(Box::ShapeCoef, "1.3\xF0\x9F\x98\x80"); // outside GB2312
    EXPECT_EQ(writeProjectFile(file, form), refused);
    EXPECT_EQ(projectFileBytes(form), std::nullopt);

    EXPECT_EQ(readAll(file), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.wvd"});
}

TEST_F(ProjectFileTest, WildcardNamesAreNeverCreated) {
    for (const char* name : {"*.wvd", "a?.wvd", "x*y.wvd"}) {
        const std::optional<Message> message = writeProjectFile(path(name), form);
        ASSERT_TRUE(message) << name;
        EXPECT_EQ(*message, warning("文件名中不能含有“*”或“?”，数据未保存"));
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(ProjectFileTest, UnwritablePathsGiveAWarning) {
    const QString plainFile = path("plain");
    writeBytes(plainFile, "keep");
    QDir(dir.path()).mkdir("folder");

    const QString targets[] = {plainFile + "/x.wvd", path("missing/x.wvd"), path("folder")};
    for (const QString& target : targets) {
        const std::optional<Message> message = writeProjectFile(target, form);
        ASSERT_TRUE(message) << target.toStdString();
        EXPECT_EQ(message->title, "警告");
        EXPECT_EQ(message->icon, Message::Icon::Exclamation);
        EXPECT_NE(message->text.find("无法写入数据文件"), std::string::npos);
        EXPECT_NE(message->text.find(QDir::toNativeSeparators(target).toStdString()),
                  std::string::npos);
    }
    EXPECT_EQ(readAll(plainFile), "keep");
    EXPECT_TRUE(QFileInfo(path("folder")).isDir());
    EXPECT_EQ(writeProjectFile(QString(), form)->title, "警告");
}

// A write that fails half-way (here: the file size limit of the process,
// which holds for root too) leaves the old file as it was.
TEST_F(ProjectFileTest, FailedWriteKeepsOldFile) {
    const QString file = path("keep.wvd");
    const QByteArray old = "old contents";
    writeBytes(file, old);
    form.setText1(Box::Heights, std::string(200, '1'));

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const std::optional<Message> message = writeProjectFile(file, form);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_TRUE(message);
    EXPECT_EQ(message->title, "警告");
    EXPECT_EQ(readAll(file), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"keep.wvd"});
}

// A writable file in a read-only folder is written in place (see the
// robustness tests); a file that may not be written either is kept.
TEST_F(ProjectFileTest, ReadOnlyFileInReadOnlyFolderIsKept) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    const QString file = path("keep.wvd");
    writeBytes(file, "old");
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const std::optional<Message> message = writeProjectFile(file, form);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(message);
    EXPECT_EQ(*message,
              warning(("无法写入数据文件“" + file.toStdString() + "”，数据未保存").c_str()));
    EXPECT_EQ(readAll(file), "old");
}

// --- reading: round trip and line structure -------------------------------------

TEST_F(ProjectFileTest, RoundTripGivesBackTextsTrimmedAndSelections) {
    ProjectModel sourceModel;
    initializeProject(sourceModel);
    MessageRecorder sourceSink;
    InputForm source(sourceModel, sourceSink);
    source.newProject();
    source.selectFreedom(3);
    source.selectTerrain(3);
    const char* texts1[kListBoxCount] = {"  1;2;3;4 ",    "4;3;2;1", "1e3;2e3;-3;4",
                                         " 0.1;.2;.3;.4", "7",       "7",
                                         "   1.2   ",     "0.7 ",    " 0.02"};
    for (int i = 0; i < kListBoxCount; ++i)
        source.setText1(i, texts1[i]);
    source.setText2(ValueBox::Width, " 0 ");
    source.setText2(ValueBox::WindPressure, "0.35");

    const QString file = path("round.wvd");
    ASSERT_EQ(writeProjectFile(file, source), std::nullopt);
    ASSERT_TRUE(readProjectFile(file, form));

    EXPECT_TRUE(sink.messages.empty());
    const char* expected1[kListBoxCount] = {
        "1;2;3;4", "4;3;2;1", "1e3;2e3;-3;4", "0.1;.2;.3;.4", "0", "0", "1.2", "0.7", "0.02"};
    for (int i = 0; i < kListBoxCount; ++i)
        EXPECT_EQ(form.text1(i), expected1[i]) << "Text1(" << i << ")";
    EXPECT_EQ(form.text2(ValueBox::Width), "0");
    EXPECT_EQ(form.text2(ValueBox::WindPressure), "0.35");
    EXPECT_EQ(form.freedomPosition(), 3);
    EXPECT_EQ(form.modesPosition(), 0);
    EXPECT_EQ(form.terrainPosition(), 3);
    EXPECT_EQ(model.nFreedom, 4);
    EXPECT_EQ(model.nModes, 1);
    EXPECT_EQ(model.terrainType, 4);
    EXPECT_EQ(model.codeVersion, 0);
    EXPECT_FALSE(form.resultButtonsEnabled());
}

TEST_F(ProjectFileTest, StoredFileLoadsAndParsesIntoTheRecord) {
    const QString file =
        QStringLiteral(TAMSOR_TEST_DATA_DIR) + QStringLiteral("/files/three_points.wvd");
    ASSERT_EQ(readAll(file), join(kThreePoints));
    ASSERT_TRUE(readProjectFile(file, form));
    form.applyAllInputs();
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_TRUE(form.inputsComplete());
    EXPECT_TRUE(form.listsAccepted());
    EXPECT_EQ(model.zCoord, (List{10, 20, 30}));
    EXPECT_EQ(model.mass, (List{100, 110, 120}));
    EXPECT_EQ(model.shapeCoef, (List{1.3, 1.3, 1.3}));
    EXPECT_DOUBLE_EQ(model.w0, 450.0);
    EXPECT_EQ(model.terrainType, 2);
}

TEST_F(ProjectFileTest, TwelveLinesLoadElevenDoNot) {
    Lines eleven(kThreePoints.begin(), kThreePoints.end() - 1);
    EXPECT_FALSE(readBytes(join(eleven)));
    expectOnlyMessage(error("数据文件不完整，数据太少，请补充"));
    expectFormUntouched();

    sink.messages.clear();
    EXPECT_FALSE(readBytes(QByteArray()));
    EXPECT_FALSE(readBytes("\r\n\r\n\r\n"));
    EXPECT_EQ(sink.messages.size(), 2u);
    expectFormUntouched();

    sink.messages.clear();
    EXPECT_TRUE(readBytes(join(kThreePoints)));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(form.text1(Box::ShapeCoef), "1.3");
}

TEST_F(ProjectFileTest, LastLineWithoutEndCountsAndExtraLinesAreIgnored) {
    QByteArray unterminated = join(kThreePoints);
    unterminated.chop(2);
    EXPECT_TRUE(readBytes(unterminated));
    EXPECT_EQ(form.text1(Box::ShapeCoef), "1.3");

    Lines longer = kThreePoints;
    longer.insert(longer.end(), {"garbage", "", "x;y;z"});
    form.newProject();
    EXPECT_TRUE(readBytes(join(longer)));
    EXPECT_EQ(form.text1(Box::ShapeCoef), "1.3");
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ProjectFileTest, LoneLfAndLoneCrEndLinesLikeCrLf) {
    for (const char* end : {"\n", "\r"}) {
        form.newProject();
        model.codeVersion = 1;
        EXPECT_TRUE(readBytes(join(kThreePoints, end))) << "end " << int(end[0]);
        EXPECT_EQ(form.text2(ValueBox::Width), "12.5");
        EXPECT_EQ(form.text1(Box::ModeShape1), "0.2;0.6;1");
        EXPECT_EQ(form.text1(Box::ShapeCoef), "1.3");
        EXPECT_EQ(model.codeVersion, 0);
    }
    // Mixed ends: a CR LF pair is one end, LF CR two.
    QByteArray mixed = join(kThreePoints, "\n");
    mixed.replace("12.5\n", "12.5\r\n");
    EXPECT_TRUE(readBytes(mixed));
    EXPECT_EQ(form.text1(Box::Heights), "10;20;30");
    EXPECT_FALSE(readBytes(join(Lines(kThreePoints.begin(), kThreePoints.begin() + 6), "\n\r")));
    EXPECT_EQ(sink.messages.size(), 1u);
}

TEST_F(ProjectFileTest, CrLfSplitAcrossReadChunksIsOneLineEnd) {
    // Line 2 is padded so that its CR is the last byte of the first 64 KiB.
    const std::size_t crOffset = 64 * 1024 - 1;
    const std::string width = std::string(crOffset - 6, ' ') + "7.5"; // after "3\r\n"
    const QString file = path("split.wvd");
    writeBytes(file, join(with(kThreePoints, 2, width)));
    ASSERT_EQ(readAll(file).at(crOffset), '\r');
    ASSERT_EQ(readAll(file).at(crOffset + 1), '\n');
    ASSERT_TRUE(readProjectFile(file, form));
    EXPECT_EQ(form.text2(ValueBox::Width), "7.5");
    EXPECT_EQ(form.text1(Box::Heights), "10;20;30");
    EXPECT_EQ(form.text1(Box::ShapeCoef), "1.3");
}

TEST_F(ProjectFileTest, TrimmingRemovesOnlySpaces) {
    ASSERT_TRUE(readBytes(join(with(with(kThreePoints, 3, "\t1;2;3 "), 12, "   "))));
    EXPECT_EQ(form.text1(Box::Heights), "\t1;2;3");
    EXPECT_EQ(form.text1(Box::ShapeCoef), "");
}

TEST_F(ProjectFileTest, WrongValueCountInAListLineLoadsWithoutMessage) {
    ASSERT_TRUE(readBytes(join(with(kThreePoints, 3, "10;20"))));
    EXPECT_TRUE(sink.messages.empty());
    EXPECT_EQ(form.text1(Box::Heights), "10;20");
    form.applyAllInputs();
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, "输入的数据数目与自由度数不一致");
}

// --- reading: the numeric lines -----------------------------------------------------

TEST_F(ProjectFileTest, DofCountIsRoundedHalfToEven) {
    const std::pair<const char*, int> cases[] = {
        {"2.5", 2}, {"3.5", 4}, {"10.4", 10}, {"10.5", 10}, {"1.5", 2},
        {" 7 ", 7}, {"+4", 4},  {"1e1", 10},  {"0.5e1", 5}, {"0.6", 1}};
    for (const auto& [line, points] : cases) {
        form.newProject();
        EXPECT_TRUE(readBytes(join(with(kThreePoints, 1, line)))) << line;
        EXPECT_EQ(form.freedomPosition(), points - 1) << line;
        EXPECT_EQ(model.nFreedom, points) << line;
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ProjectFileTest, DofCountOutsideRangeOrNotNumericLoadsNothing) {
    const Message range = warning("自由度数不能多于10或小于1");
    const Message notNumeric = warning("自由度数必须为整数");
    const std::pair<const char*, Message> cases[] = {{"0.4", range},      {"11", range},
                                                     {"-0.5", range},     {"-3", range},
                                                     {"10.51", range},    {"1e300", range},
                                                     {"-1e308", range},   {"abc", notNumeric},
                                                     {"", notNumeric},    {"3 points", notNumeric},
                                                     {"0x5", notNumeric}, {"1e999", notNumeric},
                                                     {"1,5", notNumeric}, {"nan", notNumeric}};
    for (const auto& [line, message] : cases) {
        sink.messages.clear();
        EXPECT_FALSE(readBytes(join(with(kThreePoints, 1, line)))) << line;
        ASSERT_EQ(sink.messages.size(), 1u) << line;
        EXPECT_EQ(sink.messages[0], message) << line;
        expectFormUntouched();
    }
}

TEST_F(ProjectFileTest, ModeCountMustBeExactlyOne) {
    for (const char* line : {"1.0", "1", " 1e0 ", "+1."}) {
        form.newProject();
        EXPECT_TRUE(readBytes(join(with(kThreePoints, 5, line)))) << line;
    }
    EXPECT_TRUE(sink.messages.empty());

    const Message notOne = warning("模态数数请取 1");
    const Message notNumeric = warning("模态数必须为整数");
    const std::pair<const char*, Message> cases[] = {
        {"2", notOne},     {"1.2", notOne},  {"0", notOne},      {"0.9999", notOne},
        {"a", notNumeric}, {"", notNumeric}, {"1 1", notNumeric}};
    for (const auto& [line, message] : cases) {
        form.newProject();
        model.codeVersion = 1;
        sink.messages.clear();
        EXPECT_FALSE(readBytes(join(with(kThreePoints, 5, line)))) << line;
        expectOnlyMessage(message);
        // Lines 1 to 4 stay loaded, nothing after them.
        EXPECT_EQ(model.nFreedom, 3);
        EXPECT_EQ(form.text2(ValueBox::Width), "12.5");
        EXPECT_EQ(form.text1(Box::Heights), "10;20;30");
        EXPECT_EQ(form.text1(Box::Areas), "5;6;7");
        EXPECT_EQ(form.text1(Box::Frequency), "0");
        EXPECT_EQ(form.text1(Box::ShapeCoef), "0");
        EXPECT_EQ(model.codeVersion, 1);
    }
}

TEST_F(ProjectFileTest, TerrainIsRoundedHalfToEven) {
    const std::pair<const char*, int> cases[] = {{"4.5", 4}, {"2.5", 2}, {"1.5", 2}, {"1", 1}};
    for (const auto& [line, category] : cases) {
        form.newProject();
        EXPECT_TRUE(readBytes(join(with(kThreePoints, 10, line)))) << line;
        EXPECT_EQ(model.terrainType, category) << line;
    }
    EXPECT_TRUE(sink.messages.empty());
}

TEST_F(ProjectFileTest, BadTerrainLineKeepsEarlierBoxesAndCodeVersion) {
    const Message range = warning("地貌类型不能大于4，小于1");
    const Message notNumeric = warning("地貌类型必须为整数");
    const std::pair<const char*, Message> cases[] = {{"0.5", range},    {"5", range},
                                                     {"4.51", range},   {"-1e20", range},
                                                     {"D", notNumeric}, {"", notNumeric}};
    for (const auto& [line, message] : cases) {
        form.newProject();
        model.codeVersion = 1;
        sink.messages.clear();
        EXPECT_FALSE(readBytes(join(with(kThreePoints, 10, line)))) << line;
        expectOnlyMessage(message);
        EXPECT_EQ(form.freedomPosition(), 2);
        EXPECT_EQ(form.text2(ValueBox::Width), "12.5");
        EXPECT_EQ(form.text1(Box::Heights), "10;20;30");
        EXPECT_EQ(form.text1(Box::Areas), "5;6;7");
        EXPECT_EQ(form.text1(Box::Frequency), "0.8");
        EXPECT_EQ(form.text1(Box::DampingRatio), "0.05");
        EXPECT_EQ(form.text1(Box::Masses), "100;110;120");
        EXPECT_EQ(form.text1(Box::ModeShape1), "0.2;0.6;1");
        EXPECT_EQ(form.terrainPosition(), 0);
        EXPECT_EQ(form.text2(ValueBox::WindPressure), "0");
        EXPECT_EQ(form.text1(Box::ShapeCoef), "0");
        EXPECT_EQ(model.codeVersion, 1);
    }
}

// --- reading: the file itself ---------------------------------------------------------

TEST_F(ProjectFileTest, MissingAndWildcardPathsDoNotExistAndHiddenFilesSaySo) {
    writeBytes(path(".hidden.wvd"), join(kThreePoints));
    writeBytes(path("*.wvd"), join(kThreePoints));
    for (const QString& p : {path("missing.wvd"), path("*.wvd"), QString()}) {
        sink.messages.clear();
        EXPECT_FALSE(readProjectFile(p, form)) << p.toStdString();
        expectOnlyMessage(error("数据文件不存在"));
    }
    sink.messages.clear();
    EXPECT_FALSE(readProjectFile(path(".hidden.wvd"), form));
    expectOnlyMessage(error("数据文件不存在：“" + path(".hidden.wvd").toStdString() +
                            "”是隐藏文件（文件名以“.”开头）"));
    expectFormUntouched();
}

TEST_F(ProjectFileTest, UnreadableFileGivesAWarning) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    const QString file = path("locked.wvd");
    writeBytes(file, join(kThreePoints));
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    EXPECT_FALSE(readProjectFile(file, form));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].title, "警告");
    EXPECT_EQ(sink.messages[0].icon, Message::Icon::Exclamation);
    EXPECT_NE(sink.messages[0].text.find("无法打开数据文件"), std::string::npos);
    expectFormUntouched();
}

TEST_F(ProjectFileTest, BinaryFilesFailCleanly) {
    // Every byte value in turn: line 1 holds the control bytes before LF.
    QByteArray allBytes;
    for (int repeat = 0; repeat < 64; ++repeat)
        for (int b = 0; b < 256; ++b)
            allBytes.append(static_cast<char>(b));
    const QString file = path("bytes.wvd");
    writeBytes(file, allBytes);
    EXPECT_FALSE(readProjectFile(file, form));
    expectOnlyMessage(warning("自由度数必须为整数"));
    expectFormUntouched();

    std::mt19937 random(12345);
    QByteArray noise(1 << 20, '\0');
    for (char& c : noise)
        c = static_cast<char>(random() & 0xFF);
    writeBytes(file, noise);
    sink.messages.clear();
    EXPECT_FALSE(readProjectFile(file, form));
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].icon, Message::Icon::Exclamation);
}

TEST_F(ProjectFileTest, BigSingleLineFileIsIncompleteAndReadQuickly) {
    const QString file = path("big.wvd");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        const QByteArray block(1 << 20, '1');
        for (int i = 0; i < 50; ++i)
            ASSERT_EQ(out.write(block), block.size());
    }
    // A hang shows as the test's time-out; the reader only needs 12 lines.
    EXPECT_FALSE(readProjectFile(file, form));
    expectOnlyMessage(error("数据文件不完整，数据太少，请补充"));
    expectFormUntouched();
}

TEST_F(ProjectFileTest, OverlongLinesAreRefusedAsTooLarge) {
    const std::string huge(static_cast<std::size_t>(kProjectFileMaxBytes), '1');
    const QString file = path("long.wvd");
    writeBytes(file, join(with(kThreePoints, 3, huge)));
    EXPECT_FALSE(readProjectFile(file, form));
    expectOnlyMessage(warning("数据文件过大，不是有效的数据文件"));
    expectFormUntouched();

    // The same in memory; lines beyond the twelfth do not count.
    sink.messages.clear();
    EXPECT_FALSE(readBytes(join(with(kThreePoints, 12, huge))));
    expectOnlyMessage(warning("数据文件过大，不是有效的数据文件"));
    sink.messages.clear();
    Lines longer = kThreePoints;
    longer.push_back(huge);
    EXPECT_TRUE(readBytes(join(longer)));
    EXPECT_TRUE(sink.messages.empty());
}

} // namespace
} // namespace tamsor
