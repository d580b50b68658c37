#include "ProjectFile.h"

#include "InputFields.h"
#include "InputParse.h"
#include "Message.h"

#include "FileTestSupport.h"
#include "ThreePoints.h"

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
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Reads the bytes; the input it gave is kept in `read`.
    bool readBytes(const QByteArray& bytes) {
        read = readProjectBytes(bytes);
        return read.complete();
    }
    bool readFile(const QString& file) {
        read = readProjectFile(file);
        return read.complete();
    }
    const ProjectInput& loaded() const { return read.input; }

    // Nothing was loaded: the input of a new project.
    void expectNothingLoaded() const { EXPECT_EQ(loaded(), ProjectInput{}); }

    void expectOnlyMessage(const Message& expected) const {
        ASSERT_TRUE(read.failure);
        EXPECT_EQ(*read.failure, expected);
    }

    QTemporaryDir dir;
    ProjectInput input;
    ProjectRead read;
};

// --- writing ------------------------------------------------------------------

TEST_F(ProjectFileTest, WritesTwelveCrLfLinesInFileOrder) {
    input = threePoints();
    input.modeShapes[1] = "9;9;9"; // modes 2 and 3 are not stored with one mode
    input.modeShapes[2] = "8";

    const QString file = path("three.wvd");
    EXPECT_EQ(writeProjectFile(file, input), std::nullopt);
    EXPECT_EQ(readAll(file), join(kThreePoints));
    EXPECT_EQ(projectFileBytes(input), join(kThreePoints));

    // A file the program wrote reads back to the same bytes.
    ASSERT_TRUE(readBytes(join(kThreePoints)));
    EXPECT_EQ(projectFileBytes(loaded()), join(kThreePoints));
}

TEST_F(ProjectFileTest, WriterStoresOneShapeLinePerMode) {
    input = threePoints();
    input.modeCount = 2;
    input.modeShapes[1] = "1;0;-1";
    input.modeShapes[2] = "8";
    Lines lines = with(kThreePoints, 5, "2");
    lines.insert(lines.begin() + 9, "1;0;-1");
    EXPECT_EQ(projectFileBytes(input), join(lines));

    // Read back: everything the file keeps, the third shape box not.
    ASSERT_TRUE(readBytes(join(lines)));
    EXPECT_TRUE(sameInProjectFile(loaded(), input));
    EXPECT_EQ(loaded().modeShapes[2], "0");
}

TEST_F(ProjectFileTest, OnePointProjectStillHasTwelveLinesAndTextsAreUnchanged) {
    input.heights = " 10 ";
    input.windPressure = "1.50e0";
    const QString file = path("one.wvd");
    ASSERT_EQ(writeProjectFile(file, input), std::nullopt);
    const QByteArray bytes = readAll(file);
    EXPECT_EQ(bytes, join({"1", "0", " 10 ", "0", "1", "0", "0", "0", "0", "1", "1.50e0", "0"}));
    EXPECT_EQ(bytes.count("\r\n"), 12);
    EXPECT_EQ(bytes.count('\n'), 12);
}

TEST_F(ProjectFileTest, TextsAreWrittenInGb2312) {
    input.heights = "风;振";
    const std::optional<QByteArray> bytes = projectFileBytes(input);
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(bytes->contains(QByteArray("\r\n\xB7\xE7;\xD5\xF1\r\n")));

    const QString file = path("gb.wvd");
    ASSERT_EQ(writeProjectFile(file, input), std::nullopt);
    ASSERT_TRUE(readFile(file));
    EXPECT_EQ(loaded().heights, "风;振");
}

TEST_F(ProjectFileTest, ExistingFileIsReplacedWhole) {
    const QString file = path("old.wvd");
    writeBytes(file, QByteArray(4096, 'x'));
    ASSERT_EQ(writeProjectFile(file, input), std::nullopt);
    EXPECT_EQ(readAll(file), *projectFileBytes(input));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.wvd"});
}

TEST_F(ProjectFileTest, TextsThatCannotBeStoredAreRefusedAndOldFileKept) {
    const QString file = path("keep.wvd");
    const QByteArray old = join(kThreePoints);
    writeBytes(file, old);
    const Message refused = warning("输入框中含有无法保存的字符，数据未保存");
    const auto refuses = [&](void (*change)(ProjectInput&)) {
        ProjectInput in;
        change(in);
        return writeProjectFile(file, in) == refused && !projectFileBytes(in);
    };

    // A break would shift every later line.
    EXPECT_TRUE(refuses([](ProjectInput& in) { in.areas = "1;2\n3"; }));
    EXPECT_TRUE(refuses([](ProjectInput& in) { in.width = "1\r"; }));
    EXPECT_TRUE(refuses([](ProjectInput& in) { in.w10 = "0.3\n"; }));
    // Outside GB2312.
    EXPECT_TRUE(refuses([](ProjectInput& in) { in.shapeCoefficients = "1.3\xF0\x9F\x98\x80"; }));
    // Tail keys that would read back as another key, or as none.
    EXPECT_TRUE(refuses([](ProjectInput& in) { in.otherTail = {{"a=b", "1"}}; }));
    EXPECT_TRUE(refuses([](ProjectInput& in) { in.otherTail = {{"", "1"}}; }));
    EXPECT_TRUE(refuses([](ProjectInput& in) { in.otherTail = {{" a", "1"}}; }));
    EXPECT_TRUE(refuses([](ProjectInput& in) { in.otherTail = {{"w10", "1"}}; }));

    EXPECT_EQ(readAll(file), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.wvd"});
}

TEST_F(ProjectFileTest, WildcardNamesAreNeverCreated) {
    for (const char* name : {"*.wvd", "a?.wvd", "x*y.wvd"}) {
        const std::optional<Message> message = writeProjectFile(path(name), input);
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
        const std::optional<Message> message = writeProjectFile(target, input);
        ASSERT_TRUE(message) << target.toStdString();
        EXPECT_EQ(message->title, "警告");
        EXPECT_EQ(message->icon, Message::Icon::Exclamation);
        EXPECT_NE(message->text.find("无法写入数据文件"), std::string::npos);
        EXPECT_NE(message->text.find(QDir::toNativeSeparators(target).toStdString()),
                  std::string::npos);
    }
    EXPECT_EQ(readAll(plainFile), "keep");
    EXPECT_TRUE(QFileInfo(path("folder")).isDir());
    EXPECT_EQ(writeProjectFile(QString(), input)->title, "警告");
}

// A write that fails half-way (here: the file size limit of the process,
// which holds for root too) leaves the old file as it was.
TEST_F(ProjectFileTest, FailedWriteKeepsOldFile) {
    const QString file = path("keep.wvd");
    const QByteArray old = "old contents";
    writeBytes(file, old);
    input.heights = std::string(200, '1');

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const std::optional<Message> message = writeProjectFile(file, input);
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
    const std::optional<Message> message = writeProjectFile(file, input);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_TRUE(message);
    EXPECT_EQ(*message,
              warning(("无法写入数据文件“" + file.toStdString() + "”，数据未保存").c_str()));
    EXPECT_EQ(readAll(file), "old");
}

// --- reading: round trip and line structure -------------------------------------

TEST_F(ProjectFileTest, RoundTripGivesBackTextsTrimmedAndSelections) {
    input.pointCount = 4;
    input.terrain = 4;
    const char* texts[kListBoxCount] = {"  1;2;3;4 ",    "4;3;2;1", "1e3;2e3;-3;4",
                                        " 0.1;.2;.3;.4", "7",       "7",
                                        "   1.2   ",     "0.7 ",    " 0.02"};
    for (int i = 0; i < kListBoxCount; ++i)
        listBoxText(input, i) = texts[i];
    input.width = " 0 ";
    input.windPressure = "0.35";

    const QString file = path("round.wvd");
    ASSERT_EQ(writeProjectFile(file, input), std::nullopt);
    ASSERT_TRUE(readFile(file));

    const char* expected[kListBoxCount] = {
        "1;2;3;4", "4;3;2;1", "1e3;2e3;-3;4", "0.1;.2;.3;.4", "0", "0", "1.2", "0.7", "0.02"};
    for (int i = 0; i < kListBoxCount; ++i)
        EXPECT_EQ(listBoxText(loaded(), i), expected[i]) << "box " << i;
    EXPECT_EQ(loaded().width, "0");
    EXPECT_EQ(loaded().windPressure, "0.35");
    EXPECT_EQ(loaded().pointCount, 4);
    EXPECT_EQ(loaded().modeCount, 1);
    EXPECT_EQ(loaded().terrain, 4);
}

TEST_F(ProjectFileTest, ThreeModesWithATailReadParseAndWriteBackUnchanged) {
    const QString file =
        QStringLiteral(TAMSOR_TEST_DATA_DIR) + QStringLiteral("/files/chimney_crosswind.wvd");
    ASSERT_TRUE(readFile(file));
    EXPECT_EQ(loaded().modeCount, 3);
    EXPECT_EQ(loaded().frequencies, "0.25;1;2");
    EXPECT_EQ(loaded().modeShapes[2], "0.23;0.61;0.76;0.53;0.02;-0.48;-0.66;-0.40;0.23;1");
    EXPECT_EQ(loaded().terrain, 2);
    EXPECT_EQ(loaded().shapeCoefficients, "0.6");
    EXPECT_EQ(loaded().diameter, "6");
    EXPECT_EQ(loaded().structureType, "1");
    const std::optional<ParsedInput> numbers = parseProjectInput(loaded());
    ASSERT_TRUE(numbers);
    EXPECT_EQ(numbers->freq, (List{0.25, 1, 2}));
    EXPECT_EQ(numbers->dampRatio, (List{0.05})); // one ratio for every mode
    EXPECT_EQ(numbers->modeShapes[1].size(), 10u);
    EXPECT_EQ(projectFileBytes(loaded()), readAll(file));
}

TEST_F(ProjectFileTest, StoredFileLoadsAndParsesIntoTheRecord) {
    const QString file =
        QStringLiteral(TAMSOR_TEST_DATA_DIR) + QStringLiteral("/files/three_points.wvd");
    ASSERT_EQ(readAll(file), join(kThreePoints));
    ASSERT_TRUE(readFile(file));
    EXPECT_EQ(loaded(), threePoints());
    const std::optional<ParsedInput> numbers = parseProjectInput(loaded());
    ASSERT_TRUE(numbers);
    EXPECT_EQ(numbers->zCoord, (List{10, 20, 30}));
    EXPECT_EQ(numbers->mass, (List{100, 110, 120}));
    EXPECT_EQ(numbers->shapeCoef, (List{1.3, 1.3, 1.3}));
    EXPECT_DOUBLE_EQ(numbers->w0, 450.0);
    EXPECT_EQ(numbers->terrainType, 2);
}

TEST_F(ProjectFileTest, ThreeModesNeedFourteenLines) {
    // The stored chimney, three modes and a tail, cut after its 13th line.
    const QByteArray chimney = readAll(QStringLiteral(TAMSOR_TEST_DATA_DIR) +
                                       QStringLiteral("/files/chimney_crosswind.wvd"));
    QByteArray thirteen;
    for (const QByteArray& line : chimney.split('\n').mid(0, 13))
        thirteen += line + '\n';
    ASSERT_EQ(thirteen.count("\r\n"), 13);
    EXPECT_FALSE(readBytes(thirteen));
    expectOnlyMessage(error("数据文件不完整，数据太少，请补充"));
    expectNothingLoaded();
}

TEST_F(ProjectFileTest, TwelveLinesLoadElevenDoNot) {
    Lines eleven(kThreePoints.begin(), kThreePoints.end() - 1);
    EXPECT_FALSE(readBytes(join(eleven)));
    expectOnlyMessage(error("数据文件不完整，数据太少，请补充"));
    expectNothingLoaded();

    EXPECT_FALSE(readBytes(QByteArray()));
    expectOnlyMessage(error("数据文件不完整，数据太少，请补充"));
    EXPECT_FALSE(readBytes("\r\n\r\n\r\n"));
    expectOnlyMessage(error("数据文件不完整，数据太少，请补充"));
    expectNothingLoaded();

    EXPECT_TRUE(readBytes(join(kThreePoints)));
    EXPECT_EQ(loaded().shapeCoefficients, "1.3");
}

TEST_F(ProjectFileTest, LastLineWithoutEndCountsAndExtraLinesAreIgnored) {
    QByteArray unterminated = join(kThreePoints);
    unterminated.chop(2);
    EXPECT_TRUE(readBytes(unterminated));
    EXPECT_EQ(loaded().shapeCoefficients, "1.3");

    Lines longer = kThreePoints;
    longer.insert(longer.end(), {"garbage", "", "x;y;z"});
    EXPECT_TRUE(readBytes(join(longer)));
    EXPECT_EQ(loaded(), threePoints());
}

TEST_F(ProjectFileTest, LoneLfAndLoneCrEndLinesLikeCrLf) {
    for (const char* end : {"\n", "\r"}) {
        EXPECT_TRUE(readBytes(join(kThreePoints, end))) << "end " << int(end[0]);
        EXPECT_EQ(loaded(), threePoints());
    }
    // Mixed ends: a CR LF pair is one end, LF CR two.
    QByteArray mixed = join(kThreePoints, "\n");
    mixed.replace("12.5\n", "12.5\r\n");
    EXPECT_TRUE(readBytes(mixed));
    EXPECT_EQ(loaded().heights, "10;20;30");
    EXPECT_FALSE(readBytes(join(Lines(kThreePoints.begin(), kThreePoints.begin() + 6), "\n\r")));
    EXPECT_TRUE(read.failure);
}

TEST_F(ProjectFileTest, CrLfSplitAcrossReadChunksIsOneLineEnd) {
    // Line 2 is padded so that its CR is the last byte of the first 64 KiB.
    const std::size_t crOffset = 64 * 1024 - 1;
    const std::string width = std::string(crOffset - 6, ' ') + "7.5"; // after "3\r\n"
    const QString file = path("split.wvd");
    writeBytes(file, join(with(kThreePoints, 2, width)));
    ASSERT_EQ(readAll(file).at(crOffset), '\r');
    ASSERT_EQ(readAll(file).at(crOffset + 1), '\n');
    ASSERT_TRUE(readFile(file));
    EXPECT_EQ(loaded().width, "7.5");
    EXPECT_EQ(loaded().heights, "10;20;30");
    EXPECT_EQ(loaded().shapeCoefficients, "1.3");
}

TEST_F(ProjectFileTest, TrimmingRemovesOnlySpaces) {
    ASSERT_TRUE(readBytes(join(with(with(kThreePoints, 3, "\t1;2;3 "), 12, "   "))));
    EXPECT_EQ(loaded().heights, "\t1;2;3");
    EXPECT_EQ(loaded().shapeCoefficients, "");
}

TEST_F(ProjectFileTest, WrongValueCountInAListLineLoadsWithoutMessage) {
    ASSERT_TRUE(readBytes(join(with(kThreePoints, 3, "10;20"))));
    EXPECT_EQ(loaded().heights, "10;20");
    // The complaint comes from the input parse.
    EXPECT_FALSE(parseProjectInput(loaded()));
    EXPECT_EQ(std::get<std::string_view>(parseListBox(Box::Heights, loaded().heights, 3, 1)),
              "输入的数据数目与自由度数不一致");
}

// --- reading: the numeric lines -----------------------------------------------------

TEST_F(ProjectFileTest, DofCountIsRoundedHalfToEven) {
    const std::pair<const char*, int> cases[] = {
        {"2.5", 2}, {"3.5", 4}, {"10.4", 10}, {"10.5", 10}, {"1.5", 2},
        {" 7 ", 7}, {"+4", 4},  {"1e1", 10},  {"0.5e1", 5}, {"0.6", 1}};
    for (const auto& [line, points] : cases) {
        EXPECT_TRUE(readBytes(join(with(kThreePoints, 1, line)))) << line;
        EXPECT_EQ(loaded().pointCount, points) << line;
    }
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
        EXPECT_FALSE(readBytes(join(with(kThreePoints, 1, line)))) << line;
        expectOnlyMessage(message);
        expectNothingLoaded();
    }
}

TEST_F(ProjectFileTest, ModeCountMustBeExactlyOneTwoOrThree) {
    for (const char* line : {"1.0", "1", " 1e0 ", "+1."}) {
        EXPECT_TRUE(readBytes(join(with(kThreePoints, 5, line)))) << line;
        EXPECT_EQ(loaded().modeCount, 1);
    }
    // Two modes: a second shape line after the first, then the rest.
    Lines twoModes = with(kThreePoints, 5, "2.0");
    twoModes.insert(twoModes.begin() + 9, "1;0;-1");
    ASSERT_TRUE(readBytes(join(twoModes)));
    EXPECT_EQ(loaded().modeCount, 2);
    EXPECT_EQ(loaded().modeShapes[1], "1;0;-1");
    EXPECT_EQ(loaded().shapeCoefficients, "1.3");

    const Message notOne = warning("模态数数请取 1、2 或 3");
    const Message notNumeric = warning("模态数必须为整数");
    const std::pair<const char*, Message> cases[] = {
        {"4", notOne},     {"2.5", notOne},  {"0", notOne},      {"0.9999", notOne},
        {"a", notNumeric}, {"", notNumeric}, {"1 1", notNumeric}};
    for (const auto& [line, message] : cases) {
        EXPECT_FALSE(readBytes(join(with(kThreePoints, 5, line)))) << line;
        expectOnlyMessage(message);
        // Lines 1 to 4 stay loaded, nothing after them.
        ProjectInput expected;
        expected.pointCount = 3;
        expected.width = "12.5";
        expected.heights = "10;20;30";
        expected.areas = "5;6;7";
        EXPECT_EQ(loaded(), expected) << line;
    }
}

TEST_F(ProjectFileTest, TerrainIsRoundedHalfToEven) {
    const std::pair<const char*, int> cases[] = {{"4.5", 4}, {"2.5", 2}, {"1.5", 2}, {"1", 1}};
    for (const auto& [line, category] : cases) {
        EXPECT_TRUE(readBytes(join(with(kThreePoints, 10, line)))) << line;
        EXPECT_EQ(loaded().terrain, category) << line;
    }
}

TEST_F(ProjectFileTest, BadTerrainLineKeepsEarlierBoxes) {
    const Message range = warning("地貌类型不能大于4，小于1");
    const Message notNumeric = warning("地貌类型必须为整数");
    const std::pair<const char*, Message> cases[] = {{"0.5", range},    {"5", range},
                                                     {"4.51", range},   {"-1e20", range},
                                                     {"D", notNumeric}, {"", notNumeric}};
    // Everything before the terrain line; New's terrain, pressure and shape
    // coefficients.
    ProjectInput expected = threePoints();
    expected.terrain = 1;
    expected.windPressure = "0";
    expected.shapeCoefficients = "0";
    for (const auto& [line, message] : cases) {
        EXPECT_FALSE(readBytes(join(with(kThreePoints, 10, line)))) << line;
        expectOnlyMessage(message);
        EXPECT_EQ(loaded(), expected) << line;
    }
}

// --- reading: the tail ------------------------------------------------------------------

TEST_F(ProjectFileTest, TailKeepsKnownAndOtherKeysAndWritesTheKnownFirst) {
    // Lines without "=" and empty lines are ignored; blanks around keys and
    // values go; other keys keep their order.
    Lines lines = kThreePoints;
    lines.insert(lines.end(),
                 {" note = first ", "w10=0.35", "", "no key here", "=5", "diameter=6", "x=a=b"});
    ASSERT_TRUE(readBytes(join(lines)));
    ProjectInput expected = threePoints();
    expected.diameter = "6";
    expected.w10 = "0.35";
    expected.otherTail = {{"note", "first"}, {"x", "a=b"}};
    EXPECT_EQ(loaded(), expected);

    Lines written = kThreePoints;
    written.insert(written.end(), {"diameter=6", "w10=0.35", "note=first", "x=a=b"});
    EXPECT_EQ(projectFileBytes(loaded()), join(written));
    ASSERT_TRUE(readBytes(join(written)));
    EXPECT_EQ(loaded(), expected);
}

TEST_F(ProjectFileTest, KnownTailKeyWithABadValueIsRefusedNamingLineAndKey) {
    Lines lines = kThreePoints;
    lines.insert(lines.end(), {"a=1", "diameter=six", "w10=0.3"});
    EXPECT_FALSE(readBytes(join(lines)));
    expectOnlyMessage(warning("数据文件第14行：diameter的值必须为数字"));
    // What came before the bad line stays loaded.
    ProjectInput expected = threePoints();
    expected.otherTail = {{"a", "1"}};
    EXPECT_EQ(loaded(), expected);

    EXPECT_FALSE(readBytes(join(with(kThreePoints, 12, "1.3\r\nw10="))));
    expectOnlyMessage(warning("数据文件第13行：w10的值必须为数字"));
    for (const char* type : {"3", "1.5", "0"}) {
        EXPECT_FALSE(
            readBytes(join(with(kThreePoints, 12, std::string("1.3\r\nstructure=") + type))));
        expectOnlyMessage(warning("数据文件第13行：structure的值只能取 1 或 2"));
    }
    EXPECT_TRUE(readBytes(join(with(kThreePoints, 12, "1.3\r\nstructure=2.0"))));
    EXPECT_EQ(loaded().structureType, "2.0");
}

TEST_F(ProjectFileTest, TailBeyondItsBoundIsNotRead) {
    // A value cut by the bound is never read short: the line is left out.
    const std::string cut = "w10=" + std::string(kProjectTailMaxBytes, '5');
    ASSERT_TRUE(readBytes(join(with(kThreePoints, 12, "1.3\r\na=1\r\n" + cut + "\r\ndiameter=6"))));
    ProjectInput expected = threePoints();
    expected.otherTail = {{"a", "1"}};
    EXPECT_EQ(loaded(), expected);
}

TEST_F(ProjectFileTest, SameFileIgnoresOnlyWhatTheFileDoesNotKeep) {
    const ProjectInput base = threePoints();
    ProjectInput other = base;
    other.modeShapes[1] = "1;2;3"; // mode 2 is not stored with one mode
    EXPECT_TRUE(sameInProjectFile(base, other));
    other.modeCount = 2;
    EXPECT_FALSE(sameInProjectFile(base, other));
    for (void (*change)(ProjectInput&) :
         {+[](ProjectInput& in) { in.heights += " "; }, +[](ProjectInput& in) { in.terrain = 3; },
          +[](ProjectInput& in) { in.w10 = "0.3"; },
          +[](ProjectInput& in) {
              in.otherTail = {{"a", "1"}};
          }}) {
        ProjectInput changed = base;
        change(changed);
        EXPECT_FALSE(sameInProjectFile(base, changed));
    }
}

// --- reading: the file itself ---------------------------------------------------------

TEST_F(ProjectFileTest, MissingAndWildcardPathsDoNotExistAndHiddenFilesSaySo) {
    writeBytes(path(".hidden.wvd"), join(kThreePoints));
    writeBytes(path("*.wvd"), join(kThreePoints));
    for (const QString& p : {path("missing.wvd"), path("*.wvd"), QString()}) {
        EXPECT_FALSE(readFile(p)) << p.toStdString();
        expectOnlyMessage(error("数据文件不存在"));
        expectNothingLoaded();
    }
    EXPECT_FALSE(readFile(path(".hidden.wvd")));
    expectOnlyMessage(error("数据文件不存在：“" + path(".hidden.wvd").toStdString() +
                            "”是隐藏文件（文件名以“.”开头）"));
    expectNothingLoaded();
}

TEST_F(ProjectFileTest, UnreadableFileGivesAWarning) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop root";
    const QString file = path("locked.wvd");
    writeBytes(file, join(kThreePoints));
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    EXPECT_FALSE(readFile(file));
    ASSERT_TRUE(read.failure);
    EXPECT_EQ(read.failure->title, "警告");
    EXPECT_EQ(read.failure->icon, Message::Icon::Exclamation);
    EXPECT_NE(read.failure->text.find("无法打开数据文件"), std::string::npos);
    expectNothingLoaded();
}

TEST_F(ProjectFileTest, BinaryFilesFailCleanly) {
    // Every byte value in turn: line 1 holds the control bytes before LF.
    QByteArray allBytes;
    for (int repeat = 0; repeat < 64; ++repeat)
        for (int b = 0; b < 256; ++b)
            allBytes.append(static_cast<char>(b));
    const QString file = path("bytes.wvd");
    writeBytes(file, allBytes);
    EXPECT_FALSE(readFile(file));
    expectOnlyMessage(warning("自由度数必须为整数"));
    expectNothingLoaded();

    std::mt19937 random(12345);
    QByteArray noise(1 << 20, '\0');
    for (char& c : noise)
        c = static_cast<char>(random() & 0xFF);
    writeBytes(file, noise);
    EXPECT_FALSE(readFile(file));
    ASSERT_TRUE(read.failure);
    EXPECT_EQ(read.failure->icon, Message::Icon::Exclamation);
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
    EXPECT_FALSE(readFile(file));
    expectOnlyMessage(error("数据文件不完整，数据太少，请补充"));
    expectNothingLoaded();
}

TEST_F(ProjectFileTest, OverlongLinesAreRefusedAsTooLarge) {
    const std::string huge(static_cast<std::size_t>(kProjectFileMaxBytes), '1');
    const QString file = path("long.wvd");
    writeBytes(file, join(with(kThreePoints, 3, huge)));
    EXPECT_FALSE(readFile(file));
    expectOnlyMessage(warning("数据文件过大，不是有效的数据文件"));
    expectNothingLoaded();

    // The same in memory; lines beyond the twelfth do not count.
    EXPECT_FALSE(readBytes(join(with(kThreePoints, 12, huge))));
    expectOnlyMessage(warning("数据文件过大，不是有效的数据文件"));
    Lines longer = kThreePoints;
    longer.push_back(huge);
    EXPECT_TRUE(readBytes(join(longer)));
}

} // namespace
} // namespace tamsor
