// The project session: whether the project changed since it was created,
// opened or saved, which file it belongs to, and what the compute command
// came to.
#include "ProjectSession.h"

#include "HtmlReport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tamsor {
namespace {

using Status = ComputeOutcome::Status;

const QString kSingle = QStringLiteral(TAMSOR_EXAMPLES_DIR "/single_mass.wvd");
const QString kChimney = QStringLiteral(TAMSOR_EXAMPLES_DIR "/rc_chimney.wvd");

class Session : public ::testing::Test {
protected:
    MessageRecorder messages;
    ProjectSession session{messages};
};

TEST_F(Session, ChangedOnlyWhileTheFileWouldDiffer) {
    QSignalSpy changes(&session, &ProjectSession::modifiedChanged);
    EXPECT_FALSE(session.isModified());

    session.form().setBoxText(Box::Heights, "10");
    EXPECT_TRUE(session.isModified());
    session.form().setBoxText(Box::Heights, "0"); // taken back
    EXPECT_FALSE(session.isModified());
    session.form().selectTerrain(2);
    EXPECT_TRUE(session.isModified());
    EXPECT_EQ(changes.count(), 3);

    // The code edition is not kept in the file, nor are the boxes of modes
    // beyond the mode count.
    session.newProject();
    session.setEdition(Edition::GB2001);
    session.form().setBoxText(Box::ModeShape2, "1");
    EXPECT_FALSE(session.isModified());
    // The tail is.
    session.form().setTailText(kTailFields[0], "6");
    EXPECT_TRUE(session.isModified());
}

TEST_F(Session, OpenAndSaveSetTheFileAndLeaveTheProjectUnchanged) {
    QTemporaryDir dir;
    ASSERT_TRUE(session.open(kSingle));
    EXPECT_EQ(session.currentFile(), kSingle);
    EXPECT_FALSE(session.isModified());

    session.form().setValueText(ValueBox::WindPressure, "0.6");
    EXPECT_TRUE(session.isModified());
    const QString copy = dir.filePath(QStringLiteral("copy.wvd"));
    ASSERT_TRUE(session.commandGate());
    ASSERT_EQ(session.save(copy), std::nullopt);
    EXPECT_EQ(session.currentFile(), copy);
    EXPECT_FALSE(session.isModified());

    // A failed read keeps what it loaded, belongs to no file and is unchanged.
    EXPECT_FALSE(session.open(dir.filePath(QStringLiteral("missing.wvd"))));
    EXPECT_TRUE(session.currentFile().isEmpty());
    EXPECT_FALSE(session.isModified());
    EXPECT_EQ(messages.messages.back().text, "数据文件不存在");
}

// A sink that notes what the form showed when each message came.
struct FormAtMessage : MessageSink {
    const ProjectSession* session = nullptr;
    std::vector<std::pair<std::string, ProjectInput>> seen;
    void show(const Message& message) override {
        seen.emplace_back(message.text, session->input());
    }
};

TEST(SessionOpen, ShowsWhatTheFileHeldBeforeItsMessageAndResetsTheEdition) {
    QTemporaryDir dir;
    const QString bad = dir.filePath(QStringLiteral("bad.wvd"));
    {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("3\r\n0\r\n10;20;30\r\n1;1;1\r\n1\r\n0.5\r\n0.05\r\n1;1;1\r\n0.2;0.6;1\r\n"
                   "9\r\n0.45\r\n1.3\r\n");
    }
    FormAtMessage sink;
    ProjectSession session(sink);
    sink.session = &session;
    session.form().setValueText(ValueBox::WindPressure, "0.7");
    session.setEdition(Edition::GB2001);

    EXPECT_FALSE(session.open(bad));
    ASSERT_EQ(sink.seen.size(), 1u);
    EXPECT_EQ(sink.seen[0].first, "地貌类型不能大于4，小于1");
    // The lines before the terrain on a new project, already in the form.
    ProjectInput expected;
    expected.pointCount = 3;
    expected.heights = "10;20;30";
    expected.areas = "1;1;1";
    expected.frequencies = "0.5";
    expected.dampingRatios = "0.05";
    expected.masses = "1;1;1";
    expected.modeShapes[0] = "0.2;0.6;1";
    EXPECT_EQ(sink.seen[0].second, expected);
    EXPECT_EQ(session.input(), expected);
    EXPECT_EQ(session.edition(), Edition::GB201X);
    EXPECT_FALSE(session.isModified());
}

TEST_F(Session, TailAndUnknownKeysSurviveOpenAndSave) {
    QTemporaryDir dir;
    const QByteArray bytes = "2\r\n0\r\n10;20\r\n1;1\r\n1\r\n0.5\r\n0.05\r\n1;1\r\n0.5;1\r\n"
                             "2\r\n0.45\r\n1.3\r\ndiameter=6\r\nstructure=1\r\nzeta=0.1\r\n";
    const QString original = dir.filePath(QStringLiteral("tail.wvd"));
    {
        QFile file(original);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    ASSERT_TRUE(session.open(original));
    EXPECT_EQ(session.input().diameter, "6");
    ASSERT_TRUE(session.commandGate());
    const QString copy = dir.filePath(QStringLiteral("copy.wvd"));
    ASSERT_EQ(session.save(copy), std::nullopt);
    QFile saved(copy);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), bytes);
}

TEST_F(Session, ComputeIsRefusedFaultsOrGivesCurrentResults) {
    // Every box "0": the gate refuses with its message.
    EXPECT_EQ(session.compute().status, Status::Refused);
    EXPECT_EQ(messages.messages.back().text, "输入的数据有错误");
    EXPECT_FALSE(session.resultsCurrent());

    ASSERT_TRUE(session.open(kSingle));
    EXPECT_EQ(session.compute().status, Status::Computed);
    EXPECT_TRUE(session.resultsCurrent());
    EXPECT_EQ(session.reportRefusal(), std::nullopt);

    // Another edition, or an edited box, makes the results stale; back at
    // the edition and the texts they were computed from, they are current
    // again, and the result buttons follow.
    session.setEdition(Edition::GB2001);
    EXPECT_FALSE(session.resultsCurrent());
    EXPECT_FALSE(session.form().resultButtonsEnabled());
    session.setEdition(Edition::GB201X);
    EXPECT_TRUE(session.resultsCurrent());
    EXPECT_TRUE(session.form().resultButtonsEnabled());
    session.form().setBoxText(Box::Masses, "12");
    EXPECT_FALSE(session.resultsCurrent());
    session.form().setBoxText(Box::Masses, "10");
    EXPECT_TRUE(session.resultsCurrent());
    EXPECT_TRUE(session.form().resultButtonsEnabled());
    session.form().selectPointCount(2);
    EXPECT_FALSE(session.resultsCurrent());
    EXPECT_FALSE(session.form().resultButtonsEnabled());
    EXPECT_EQ(session.reportRefusal(), noResultsRefusal());
    session.form().selectPointCount(1);
    EXPECT_TRUE(session.resultsCurrent());

    // The gate does not look at the mode shape; a zero one leaves no modal
    // mass, and the mean displacement divides by it.
    session.form().setBoxText(Box::ModeShape1, "0");
    const ComputeOutcome faulted = session.compute();
    EXPECT_EQ(faulted.status, Status::Faulted);
    ASSERT_TRUE(faulted.fault.has_value());
    EXPECT_EQ(faulted.fault->title, "错误提示");
    EXPECT_THAT(faulted.fault->text, ::testing::StartsWith("计算出错："));
    EXPECT_EQ(faulted.notice, faulted.fault); // nothing more to say
    EXPECT_FALSE(session.resultsCurrent());

    // A height below 0 passes the gate and faults; the warning that names it
    // comes with the fault, in the one message the window shows.
    session.form().setBoxText(Box::ModeShape1, "1");
    session.form().setBoxText(Box::Heights, "-10");
    const ComputeOutcome below = session.compute();
    ASSERT_EQ(below.status, Status::Faulted);
    ASSERT_EQ(below.warnings.size(), 1u);
    EXPECT_EQ(below.warnings[0].kind, InputWarning::Kind::HeightNotPositive);
    EXPECT_EQ(below.notice, (Message{below.fault->text + "\n\n以下输入数据可能有误，请核对：\n· " +
                                         below.warnings[0].text,
                                     "错误提示", Message::Icon::None}));
}

TEST_F(Session, ComputeGathersWarningsAndFailedChecksInOneNotice) {
    // Nothing to say about the one-point example.
    ASSERT_TRUE(session.open(kSingle));
    const ComputeOutcome single = session.compute();
    ASSERT_EQ(single.status, Status::Computed);
    EXPECT_TRUE(single.warnings.empty());
    EXPECT_TRUE(single.failedChecks.empty());
    EXPECT_FALSE(single.notice.has_value());

    // The chimney's lowest point (10 m, terrain C, 201X) fails both checks.
    ASSERT_TRUE(session.open(kChimney));
    const ComputeOutcome chimney = session.compute();
    ASSERT_EQ(chimney.status, Status::Computed);
    EXPECT_TRUE(chimney.warnings.empty());
    ASSERT_EQ(chimney.failedChecks.size(), 2u);
    EXPECT_EQ(chimney.failedChecks[0].check, CodeFinding::Check::WindVibCoefBelowMin);
    EXPECT_EQ(chimney.failedChecks[1].check, CodeFinding::Check::BelowCutoffHeight);
    EXPECT_EQ(chimney.failedChecks[1].point, 1);
    ASSERT_TRUE(chimney.notice.has_value());
    EXPECT_EQ(chimney.notice->title, "提    示");
    EXPECT_EQ(chimney.notice->text, "与现行规范对照：\n· " + chimney.failedChecks[0].text() +
                                        "\n· " + chimney.failedChecks[1].text());

    // A damping ratio typed as a percentage comes first in the same notice;
    // neither goes to the sink, and the results are current.
    session.form().setBoxText(Box::DampingRatio, "2");
    const ComputeOutcome slip = session.compute();
    ASSERT_EQ(slip.status, Status::Computed);
    EXPECT_TRUE(session.resultsCurrent());
    ASSERT_EQ(slip.warnings.size(), 1u);
    EXPECT_EQ(slip.warnings[0].kind, InputWarning::Kind::DampingRatio);
    ASSERT_TRUE(slip.notice.has_value());
    EXPECT_THAT(slip.notice->text,
                ::testing::StartsWith("以下输入数据可能有误，请核对：\n· " + slip.warnings[0].text +
                                      "\n\n与现行规范对照：\n· "));
    EXPECT_TRUE(messages.messages.empty());
}

// The chimney of tests/data/files/chimney_crosswind.wvd computes and reports
// as the same chimney with its first mode alone: the along-wind results are
// the first mode's. The tail is cleared so that the page has no cross-wind
// section either; only the mode count tells the two pages apart.
TEST(SessionModes, HigherModesChangeNoAlongWindNumberAndThePageShowsTheModeCount) {
    QTemporaryDir dir;
    const auto page = [&](const ProjectInput& input, const char* name) {
        MessageRecorder sink;
        ProjectSession session(sink);
        session.form().show(input);
        EXPECT_EQ(session.compute().status, Status::Computed) << name;
        const QString path = dir.filePath(QString::fromUtf8(name));
        EXPECT_EQ(session.writeReport(path), std::nullopt);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll().split('\n');
    };
    MessageRecorder sink;
    ProjectSession opened(sink);
    ASSERT_TRUE(opened.open(QStringLiteral(TAMSOR_TEST_DATA_DIR "/files/chimney_crosswind.wvd")));
    ProjectInput three = opened.input();
    ASSERT_EQ(three.modeCount, 3);
    three.diameter.clear();
    three.structureType.clear();
    ProjectInput one = three;
    one.modeCount = 1;
    one.frequencies = "0.25";

    const QByteArrayList threeLines = page(three, "three.htm");
    const QByteArrayList oneLines = page(one, "one.htm");
    ASSERT_EQ(threeLines.size(), oneLines.size());
    QByteArrayList differing;
    for (qsizetype i = 1; i < threeLines.size(); ++i)
        if (threeLines[i] != oneLines[i])
            differing << threeLines[i - 1] << oneLines[i] << threeLines[i];
    ASSERT_EQ(differing.size(), 3);
    EXPECT_TRUE(differing[0].contains("\xC4\xE2\xC8\xA1\xD5\xF1\xD0\xCD\xCA\xFD")); // 拟取振型数
    EXPECT_TRUE(differing[1].endsWith(">1</td>\r"));
    EXPECT_TRUE(differing[2].endsWith(">3</td>\r"));
}

TEST_F(Session, GateRefusesAW10OfZeroFromAFileButNotANegativeDiameter) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tail.wvd"));
    const auto openWithTail = [&](const QByteArray& tail) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("2\r\n0\r\n10;20\r\n1;1\r\n1\r\n0.5\r\n0.05\r\n1;1\r\n0.5;1\r\n"
                   "2\r\n0.45\r\n1.3\r\n" +
                   tail);
        file.close();
        return session.open(path);
    };
    // The reader takes it; the gate says why it cannot be computed.
    ASSERT_TRUE(openWithTail("w10=0\r\n"));
    EXPECT_EQ(session.compute().status, Status::Refused);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].title, "错误提示");
    EXPECT_THAT(messages.messages[0].text,
                ::testing::StartsWith("10年一遇基本风压w10为0 kPa，应大于0。"));

    // The cross-wind check refuses a negative diameter itself; the
    // along-wind results are given, and the notice says why the check was
    // not made.
    messages.messages.clear();
    ASSERT_TRUE(openWithTail("diameter=-6\r\n"));
    const ComputeOutcome refused = session.compute();
    EXPECT_EQ(refused.status, Status::Computed);
    EXPECT_TRUE(messages.messages.empty());
    ASSERT_TRUE(refused.notice.has_value());
    EXPECT_EQ(refused.notice->text,
              "横风向风振(旋涡脱落)验算：\n· 横风向风振验算未进行：圆截面直径D=-6 m为负数。");

    // A w10 above the design pressure is computed, with a warning.
    ASSERT_TRUE(openWithTail("w10=0.6\r\n"));
    const ComputeOutcome swapped = session.compute();
    ASSERT_EQ(swapped.status, Status::Computed);
    ASSERT_EQ(swapped.warnings.size(), 1u);
    EXPECT_EQ(swapped.warnings[0].kind, InputWarning::Kind::W10AboveW0);
}

TEST_F(Session, ComputeNamesWhatTheChecksBesideTheAlongWindResultsFound) {
    // The one-point example as a round section of 6 m: v_cr = 6 / (1 * 0.2) =
    // 30 m/s, Re = 1.242e7, below 1.2 v_H = 1.2 sqrt(800) = 33.94 m/s at 10 m
    // over terrain B: the first mode resonates. No input warning, the
    // results stand and the notice names it under the check's caption.
    ASSERT_TRUE(session.open(kSingle));
    session.form().setTailText(kTailFields[0], "6");
    const ComputeOutcome resonant = session.compute();
    ASSERT_EQ(resonant.status, Status::Computed);
    EXPECT_TRUE(session.resultsCurrent());
    EXPECT_TRUE(resonant.warnings.empty());
    ASSERT_EQ(resonant.notices.size(), 1u);
    EXPECT_EQ(resonant.notices[0].group, "crossWind");
    EXPECT_THAT(resonant.notices[0].text, ::testing::StartsWith("第1阶振型发生跨临界强风共振"));
    EXPECT_EQ(resonant.notice, (Message{"横风向风振(旋涡脱落)验算：\n· " + resonant.notices[0].text,
                                        "提    示", Message::Icon::Exclamation}));
}

TEST_F(Session, ResultsChangedOncePerComputationAndWhenTheyGoStale) {
    ASSERT_TRUE(session.open(kSingle));
    std::vector<std::pair<bool, double>> heard; // announced state, mean load then
    QObject::connect(&session, &ProjectSession::resultsChanged, [&](bool current) {
        heard.emplace_back(current, session.results() ? session.results()->raw().meanLoad[0] : 0.0);
    });
    ASSERT_EQ(session.compute().status, Status::Computed);
    session.form().setValueText(ValueBox::WindPressure, "0.50"); // another text
    session.form().setValueText(ValueBox::WindPressure, "0.5");  // taken back
    session.form().setValueText(ValueBox::WindPressure, "1");    // twice the pressure
    session.form().setBoxText(Box::Masses, "12");                // stale already: nothing new
    ASSERT_EQ(session.compute().status, Status::Computed);
    session.form().setBoxText(Box::ModeShape1, "0");
    EXPECT_EQ(session.compute().status, Status::Faulted);

    // single_mass.wvd: meanLoad = 6.5 kN at w0 = 0.5 kPa (examples/README.md),
    // so 13 kN at 1 kPa. Each computation is heard once, with its results
    // complete; a faulted one too, as not current and without results; and
    // each change between current and stale.
    using Heard = std::pair<bool, double>;
    EXPECT_EQ(heard, (std::vector<Heard>{{true, 6.5},
                                         {false, 6.5},
                                         {true, 6.5},
                                         {false, 6.5},
                                         {true, 13.0},
                                         {false, 13.0},
                                         {false, 0.0}}));
}

} // namespace
} // namespace tamsor
