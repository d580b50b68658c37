#pragma once

#include "Message.h"

#include <QString>

#include <functional>

class QSettings;

namespace tamsor {

// The user's settings file (an INI file, userSettingsFile() unless told
// otherwise) and the one guarded way the window reads and writes it: the
// recent files, the remembered names of the title block and the contact of
// the report's footer all go through it. A file that QSettings must not open
// (a pipe, a folder, a device) is never read and counts as empty; an empty
// file name keeps everything in memory only.
class UserSettings {
public:
    UserSettings();
    // Implicit: a settings file's name stands for its settings.
    UserSettings(QString file); // NOLINT(google-explicit-constructor)

    [[nodiscard]] const QString& file() const { return file_; }

    // Runs `get` on the file's settings; false (and `get` not run) when the
    // file cannot be read.
    bool read(const std::function<void(const QSettings&)>& get) const;
    // Stores what `change` sets at once; false when the file could not be
    // written (no rights, a full disk, a pipe, no file).
    bool store(const std::function<void(QSettings&)>& change) const;

    // What the window says, once a run, when the settings could not be stored.
    [[nodiscard]] Message notStored() const;

private:
    QString file_;
};

} // namespace tamsor
