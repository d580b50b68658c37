#pragma once

#include "Prompts.h"

#include <QUrl>

#include <vector>

// Records every message box and desktop launch of the window instead of
// showing it, answering confirmations and launches as scripted.
class WindTestPrompts : public tamsor::Prompts {
public:
    void inform(QWidget*, const tamsor::Message& message) override { informed.push_back(message); }
    bool confirm(QWidget*, const tamsor::Message& message) override {
        confirmed.push_back(message);
        return confirmAnswer;
    }
    bool openUrl(const QUrl& url) override {
        opened.push_back(url);
        return openResult;
    }
    void clear() {
        informed.clear();
        confirmed.clear();
        opened.clear();
    }

    std::vector<tamsor::Message> informed;
    std::vector<tamsor::Message> confirmed;
    std::vector<QUrl> opened;
    bool confirmAnswer = true;
    bool openResult = true;
};
