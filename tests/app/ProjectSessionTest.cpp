// The project session: whether the project changed since it was created,
// opened or saved, which file it belongs to, and what the compute command
// came to.
#include "ProjectSession.h"

#include <QSignalSpy>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tamsor {
namespace {

using Status = ComputeOutcome::Status;

const QString kSingle = QStringLiteral(TAMSOR_EXAMPLES_DIR "/single_mass.wvd");

class Session : public ::testing::Test {
protected:
    MessageRecorder messages;
    ProjectSession session{messages};
};

TEST_F(Session, ChangedOnlyWhileTheFileWouldDiffer) {
    QSignalSpy changes(&session, &ProjectSession::modifiedChanged);
    EXPECT_FALSE(session.isModified());

    session.form().setText1(Box::Heights, "10");
    EXPECT_TRUE(session.isModified());
    session.form().setText1(Box::Heights, "0"); // taken back
    EXPECT_FALSE(session.isModified());
    session.form().selectTerrain(2);
    EXPECT_TRUE(session.isModified());
    EXPECT_EQ(changes.count(), 3);

    // The code edition is not kept in the file.
    session.newProject();
    session.setCodeVersion(1);
    EXPECT_FALSE(session.isModified());
}

TEST_F(Session, OpenAndSaveSetTheFileAndLeaveTheProjectUnchanged) {
    QTemporaryDir dir;
    ASSERT_TRUE(session.open(kSingle));
    EXPECT_EQ(session.currentFile(), kSingle);
    EXPECT_FALSE(session.isModified());

    session.form().setText2(ValueBox::WindPressure, "0.6");
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

TEST_F(Session, ComputeIsRefusedFaultsOrGivesCurrentResults) {
    // Every box "0": the gate refuses with its message.
    EXPECT_EQ(session.compute().status, Status::Refused);
    EXPECT_EQ(messages.messages.back().text, "输入的数据有错误");
    EXPECT_FALSE(session.resultsCurrent());

    ASSERT_TRUE(session.open(kSingle));
    EXPECT_EQ(session.compute().status, Status::Computed);
    EXPECT_TRUE(session.resultsCurrent());
    EXPECT_EQ(session.reportRefusal(), std::nullopt);

    // Another edition, or an edited box, makes the results stale.
    session.setCodeVersion(1);
    EXPECT_FALSE(session.resultsCurrent());
    ASSERT_EQ(session.compute().status, Status::Computed);
    session.form().setText1(Box::Masses, "12");
    EXPECT_FALSE(session.resultsCurrent());

    // The gate does not look at the mode shape; a zero one leaves no modal
    // mass, and the mean displacement divides by it.
    session.form().setText1(Box::ModeShape1, "0");
    const ComputeOutcome faulted = session.compute();
    EXPECT_EQ(faulted.status, Status::Faulted);
    ASSERT_TRUE(faulted.fault.has_value());
    EXPECT_EQ(faulted.fault->title, "错误提示");
    EXPECT_THAT(faulted.fault->text, ::testing::StartsWith("计算出错："));
    EXPECT_FALSE(session.resultsCurrent());
}

} // namespace
} // namespace tamsor
