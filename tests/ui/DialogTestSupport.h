#pragma once

#include "Prompts.h"

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <string>
#include <vector>

namespace tamsor::test {

// Prompts that never block: messages, key hints and viewer launches are recorded,
// confirmations and save questions answered from a script.
class RecordingPrompts : public Prompts {
public:
    void inform(QWidget*, const Message& message) override { messages.push_back(message); }
    bool confirm(QWidget*, const Message& message) override {
        confirms.push_back(message);
        return confirmAnswer;
    }
    bool openUrl(const QUrl& url) override {
        urls.push_back(url);
        return openUrlResult;
    }
    void refuseKey(QWidget*, const std::string& hint) override { keyHints.push_back(hint); }
    SaveAnswer askToSave(QWidget*, const Message& message) override {
        saveQuestions.push_back(message);
        return saveAnswer;
    }

    std::vector<Message> messages;
    std::vector<Message> confirms;
    QList<QUrl> urls;
    std::vector<std::string> keyHints;
    bool confirmAnswer = true;
    bool openUrlResult = true;
    std::vector<Message> saveQuestions;
    // Cancel unless a test says otherwise: nothing is lost by default.
    SaveAnswer saveAnswer = SaveAnswer::Cancel;
};

// Runs `drive` on the next modal dialog once its event loop runs. Whatever the
// driver does, a dialog it leaves open is rejected afterwards so that a
// failing test cannot hang in exec(). `seen` tells whether a dialog came up.
template <typename DialogType>
void driveNextDialog(std::function<void(DialogType&)> drive, bool* seen = nullptr,
                     int attempts = 50) {
    QTimer::singleShot(0, [drive, seen, attempts] {
        auto* dialog = qobject_cast<DialogType*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (attempts > 0)
                driveNextDialog<DialogType>(drive, seen, attempts - 1);
            return;
        }
        if (seen)
            *seen = true;
        drive(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace tamsor::test
