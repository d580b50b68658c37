#pragma once

#include "Message.h"
#include "UserSettings.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QSettings;

namespace tamsor {

// Project files that reach the window from the desktop: the command line
// (a double-click in the file manager runs "tamsor FILE.wvd"), a file dropped
// on the window and the recent-files list of the File menu.

// The project file named on the command line (args[0] is the program), as an
// absolute path; relative names are taken from `workingDir`, the folder the
// program was started in. Options (anything starting with "-") are skipped;
// the first other argument counts. Empty when none is given.
[[nodiscard]] QString startupProjectFile(const QStringList& args, const QString& workingDir);

// The project file among the dropped URLs: the first local file whose name
// ends in ".wvd" (in any case, as the desktop's file type does). Empty when
// there is none.
[[nodiscard]] QString droppedProjectFile(const QList<QUrl>& urls);

// The INI file that keeps what the programs remember for the user (the
// recent files, the calculation book's title block):
// ~/.config/tamsor/tamsor.conf, or its place under XDG_CONFIG_HOME (and under
// ~/.qttest when QStandardPaths' test mode is on).
[[nodiscard]] QString userSettingsFile();

// Whether QSettings may open the settings file: nothing is there yet, or a
// file. A pipe (which QSettings would wait on for ever), a folder, a device or
// a socket is found through openForReading (SafeRead.h), never read, and the
// settings count as empty and cannot be stored. Call it before every
// QSettings on the file.
[[nodiscard]] bool settingsFileUsable(const QString& file);

// Stores what `change` sets into the settings file at once; false when the
// file could not be written (settingsFileUsable, no rights, a full disk).
bool storeSettings(const QString& file, const std::function<void(QSettings&)>& change);

// What the window says, once a run, when its settings could not be stored.
[[nodiscard]] Message settingsNotStored(const QString& file);

// The files last opened or saved, newest first, at most kMaxEntries, kept in
// an INI settings file so that every window of the user shares them. Each
// change reads the file again first, so that a second window's entries are
// kept.
class RecentFiles {
public:
    static constexpr int kMaxEntries = 8;

    // Settings without a file keep the list in memory only; so do settings
    // that cannot be used or written, for this run.
    explicit RecentFiles(UserSettings settings);

    const QStringList& files() const { return files_; }
    const QString& settingsFile() const { return settings_.file(); }
    // Reads the list again from the settings file (when it can be used).
    void reload();
    // Puts the file first (as an absolute path), dropping an older entry for
    // it and the oldest entries beyond kMaxEntries. Both return false when
    // the changed list could not be stored (it is kept in memory).
    bool add(const QString& path);
    bool remove(const QString& path);

    // The text of a menu entry: "&1 " and the path, with "&" doubled so the
    // path shows as it is.
    [[nodiscard]] static QString menuText(int index, const QString& path);

private:
    bool store() const;

    UserSettings settings_;
    QStringList files_;
    bool stored_ = true; // the settings file holds files_
};

} // namespace tamsor
