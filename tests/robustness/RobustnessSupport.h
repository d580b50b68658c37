#pragma once

// Shared pieces of the robustness tests: a form that already holds a loaded
// project (the state of the window before the user opens the next file), a
// snapshot of everything the user would see in it, and small file helpers.

#include "InputForm.h"
#include "Message.h"
#include "ProjectFile.h"
#include "ProjectModel.h"
#include "Startup.h"

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

// What the window shows of the input part, and the record's inputs.
struct FormSnapshot {
    std::array<std::string, kListBoxCount> text1;
    std::array<std::string, kValueBoxCount> text2;
    std::array<int, kListBoxCount> colour1{};
    int freedom = 0, modes = 0, terrain = 0;
    std::int16_t nFreedom = 0, nModes = 0, terrainType = 0, codeVersion = 0;
    List zCoord, windArea, mass, modeShape, freq, dampRatio, shapeCoef;
    double structWidth = 0, w0 = 0;

    static FormSnapshot of(const InputForm& form) {
        FormSnapshot s;
        for (int i = 0; i < kListBoxCount; ++i) {
            s.text1[i] = form.text1(i);
            s.colour1[i] = form.text1Colour(i);
        }
        for (int i = 0; i < kValueBoxCount; ++i)
            s.text2[i] = form.text2(i);
        s.freedom = form.freedomPosition();
        s.modes = form.modesPosition();
        s.terrain = form.terrainPosition();
        const ProjectModel& m = form.model();
        s.nFreedom = m.nFreedom;
        s.nModes = m.nModes;
        s.terrainType = m.terrainType;
        s.codeVersion = m.codeVersion;
        s.zCoord = m.zCoord;
        s.windArea = m.windArea;
        s.mass = m.mass;
        s.modeShape = m.modeShape;
        s.freq = m.freq;
        s.dampRatio = m.dampRatio;
        s.shapeCoef = m.shapeCoef;
        s.structWidth = m.structWidth;
        s.w0 = m.w0;
        return s;
    }
    friend bool operator==(const FormSnapshot&, const FormSnapshot&) = default;
};

// A window that holds the computed chimney example, edition 2001 chosen.
class LoadedWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        initializeProject(model);
        form.newProject();
        ASSERT_TRUE(readProjectFile(examplePath("rc_chimney.wvd"), form));
        ASSERT_TRUE(form.commandGate());
        model.codeVersion = 1;
        sink.messages.clear();
        before = FormSnapshot::of(form);
        // A read that blocks (a pipe, a device) ends the test program here
        // instead of hanging the suite.
        alarm(120);
    }
    void TearDown() override { alarm(0); }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    ProjectModel model;
    MessageRecorder sink;
    InputForm form{model, sink};
    QTemporaryDir dir;
    FormSnapshot before;
};

} // namespace tamsor::robustness
