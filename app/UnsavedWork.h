#pragma once

#include "Message.h"

#include <QString>

#include <functional>

namespace tamsor {

class ProjectSession;

// The user's answer to the unsaved-changes question (保存 / 不保存 / 取消).
enum class SaveAnswer { Save, DontSave, Cancel };

// Asked before New, Open, opening a dropped or recent file, and Exit when the
// project has changes that no file holds yet. Names the project's file when
// it has one.
[[nodiscard]] Message unsavedChangesQuestion(const QString& currentFile);
// Asked before the window closes when nothing would be lost.
[[nodiscard]] Message exitQuestion();

// What a command that sets the current project aside does first. Without
// unsaved changes it may go on at once. Otherwise `ask` shows the question:
// Save runs `save` (the save command with its checks and dialog; true when
// the project was written) and the command goes on only when that saved it;
// DontSave goes on; Cancel stops. True when the command may go on.
[[nodiscard]] bool settleUnsavedChanges(const ProjectSession& session,
                                        const std::function<SaveAnswer(const Message&)>& ask,
                                        const std::function<bool()>& save);

// The main window's caption with Qt's "[*]" placeholder for the modified
// mark: "Tamsorv1.10[*]" for a project without a file, otherwise the file's
// name first, "chimney.wvd[*] - Tamsorv1.10".
[[nodiscard]] QString windowCaption(const QString& currentFile);

} // namespace tamsor
