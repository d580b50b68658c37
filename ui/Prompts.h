#pragma once

#include "Message.h"
#include "UnsavedWork.h"

#include <QUrl>

#include <string>

class QWidget;

namespace tamsor {

// Everything the windows ask of the desktop goes through this one small
// interface: message boxes and handing a file to the desktop's default
// handler. The program uses QtPrompts; GUI tests substitute a recorder that
// returns scripted answers instead of blocking.
class Prompts {
public:
    virtual ~Prompts() = default;
    // A modal message box with an OK button.
    virtual void inform(QWidget* parent, const Message& message) = 0;
    // A modal message box with Yes and No; true for Yes.
    virtual bool confirm(QWidget* parent, const Message& message) = 0;
    // Opens a local file or URL with the desktop's default handler, without a
    // shell and without waiting. False when no handler could be started.
    virtual bool openUrl(const QUrl& url) = 0;
    // An input box refused a typed character: a short sound and the hint
    // (UTF-8) at the box, shown until the box takes its next key or loses the
    // focus. Nothing blocks.
    virtual void refuseKey(QWidget* box, const std::string& hint) = 0;
    // A modal message box with 保存, 不保存 and 取消 (also Esc and the close
    // box): the unsaved-changes question.
    virtual SaveAnswer askToSave(QWidget* parent, const Message& message) = 0;
};

// The real thing: QMessageBox, QDesktopServices and a hint label inside the
// box's window.
class QtPrompts : public Prompts {
public:
    void inform(QWidget* parent, const Message& message) override;
    bool confirm(QWidget* parent, const Message& message) override;
    bool openUrl(const QUrl& url) override;
    void refuseKey(QWidget* box, const std::string& hint) override;
    SaveAnswer askToSave(QWidget* parent, const Message& message) override;
};

} // namespace tamsor
