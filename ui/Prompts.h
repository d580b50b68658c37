#pragma once

#include "FileChooser.h"
#include "Message.h"
#include "UnsavedWork.h"

#include <QUrl>

#include <functional>
#include <string>

class QWidget;

namespace tamsor {

// Everything the windows ask of the desktop goes through this one small
// interface: message boxes, the save dialogs of the result outputs and
// handing a file to the desktop's default handler. The program uses QtPrompts; GUI tests substitute
// a recorder that returns scripted answers instead of blocking.
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
    // The file chooser dialog of `kind` (a result output: CSV, PDF, PNG,
    // SVG), in the folder `memory` remembers, offering `name`. OK runs `write`
    // with the dialog (the parent of its messages) and the full path while
    // the dialog is open; only when it returns true does the folder become
    // lastDir. True when the file was written; false when cancelled or not.
    using WriteFile = std::function<bool(QWidget* dialog, const QString& path)>;
    virtual bool saveFile(QWidget* parent, FileDialogKind kind, FileDialogMemory& memory,
                          const QString& name, const WriteFile& write) = 0;
};

// The real thing: QMessageBox, FileDialog, QDesktopServices and a hint label
// inside the box's window.
class QtPrompts : public Prompts {
public:
    void inform(QWidget* parent, const Message& message) override;
    bool confirm(QWidget* parent, const Message& message) override;
    bool openUrl(const QUrl& url) override;
    void refuseKey(QWidget* box, const std::string& hint) override;
    SaveAnswer askToSave(QWidget* parent, const Message& message) override;
    // The program's own FileDialog.
    bool saveFile(QWidget* parent, FileDialogKind kind, FileDialogMemory& memory,
                  const QString& name, const WriteFile& write) override;
};

} // namespace tamsor
