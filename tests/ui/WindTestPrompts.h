#pragma once

#include "Prompts.h"

#include <QUrl>

#include <functional>
#include <string>
#include <vector>

// Prompts that never block, for every window and dialog test: records every
// message box, key hint and desktop launch instead of showing it, answering
// confirmations, save questions and launches as scripted.
class WindTestPrompts : public tamsor::Prompts {
public:
    void inform(QWidget*, const tamsor::Message& message) override {
        if (onInform)
            onInform(message);
        informed.push_back(message);
    }
    bool confirm(QWidget*, const tamsor::Message& message) override {
        confirmed.push_back(message);
        return confirmAnswer;
    }
    bool openUrl(const QUrl& url) override {
        opened.push_back(url);
        return openResult;
    }
    void refuseKey(QWidget* box, const std::string& hint) override {
        keyHints.push_back(KeyHint{box, hint});
    }
    tamsor::SaveAnswer askToSave(QWidget*, const tamsor::Message& message) override {
        askedToSave.push_back(message);
        return saveAnswer;
    }
    // The save dialog of a result output: recorded, then answered with
    // savePath (Cancel when it is empty), the write run on it as OK runs it.
    bool saveFile(QWidget*, tamsor::FileDialogKind kind, tamsor::FileDialogMemory&,
                  const QString& name, const WriteFile& write) override {
        saveDialogs.push_back(SaveDialog{kind, name});
        return !savePath.isEmpty() && write(nullptr, savePath);
    }
    void clear() {
        informed.clear();
        confirmed.clear();
        opened.clear();
        keyHints.clear();
        askedToSave.clear();
        saveDialogs.clear();
    }

    struct KeyHint {
        QWidget* box;
        std::string hint;
    };

    std::vector<tamsor::Message> informed;
    std::vector<tamsor::Message> confirmed;
    std::vector<QUrl> opened;
    std::vector<KeyHint> keyHints;
    // Called as each box would open, to look at the window behind it.
    std::function<void(const tamsor::Message&)> onInform;
    bool confirmAnswer = true;
    bool openResult = true;
    std::vector<tamsor::Message> askedToSave;
    struct SaveDialog {
        tamsor::FileDialogKind kind;
        QString name; // offered in the name box
    };
    std::vector<SaveDialog> saveDialogs;
    QString savePath;
    // Cancel unless a test says otherwise: nothing is lost by default.
    tamsor::SaveAnswer saveAnswer = tamsor::SaveAnswer::Cancel;
};
