#pragma once

// Shared pieces of the robustness tests: a session that already holds a
// loaded project (the state of the window before the user opens the next
// file), and small file helpers.

#include "Message.h"
#include "ProjectFile.h"
#include "ProjectSession.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <unistd.h>

namespace tamsor::robustness {

inline QString examplePath(const char* name) {
    return QStringLiteral(TAMSOR_EXAMPLES_DIR "/") + QString::fromUtf8(name);
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The twelve lines of a project, joined with CR LF.
inline QByteArray projectBytes(const std::array<std::string, 12>& lines) {
    QByteArray bytes;
    for (const std::string& line : lines)
        bytes += QByteArray::fromStdString(line) + "\r\n";
    return bytes;
}

// A window that holds the chimney example, read and computed under the 2001
// edition chosen in the options.
class LoadedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(session.open(examplePath("rc_chimney.wvd")));
        session.setEdition(Edition::GB2001);
        ASSERT_EQ(session.compute().status, ComputeOutcome::Status::Computed);
        sink.messages.clear();
        before = session.input();
        // A read that blocks (a pipe, a device) ends the test program here
        // instead of hanging the suite.
        alarm(120);
    }
    void TearDown() override { alarm(0); }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    const ProjectInput& input() const { return session.input(); }
    const Results& results() const { return *session.results(); }

    MessageRecorder sink;
    ProjectSession session{sink};
    QTemporaryDir dir;
    ProjectInput before;
};

} // namespace tamsor::robustness
