#pragma once

#include "Message.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace tamsor {

// What the file dialogs remember between uses: the folder the next dialog
// opens in and the name any of them last accepted. The window keeps one for
// all its dialogs; nothing of it is saved.
struct FileDialogMemory {
    QString lastDir;                                // empty: the user's home folder
    QString lastFileName = QStringLiteral("*.wvd"); // offered by the open dialog
};

// The file chooser dialogs share one layout and one behaviour; they differ
// only in the texts and rules below.
enum class FileDialogKind {
    OpenData,    // openDat: load a project file
    SaveData,    // saveDat: save a project file
    Report,      // wind_Report: write the HTML calculation report
    CsvTable,    // the results table as CSV
    Book,        // the calculation book as PDF
    PlotImage,   // a plot as PNG
    PlotDrawing, // a plot as SVG
};

struct FileDialogTexts {
    QString caption;        // window caption
    QString pattern;        // file list pattern, also the name box's first text
    QString requiredEnding; // the name must end with it (case-sensitive)
    QString nameMessage;    // shown (title "警告") when the name is refused
    bool showsLastFileName; // the name box opens with lastFileName instead of the pattern
    int nameBoxTopTwips;    // top of the name box: 2760 (open) or 2640
    // A file written from the results: the name box opens with the name
    // offered, a name without an ending gets the required one, and
    // lastFileName (which the open dialog shows) is left alone.
    bool resultOutput = false;
};

[[nodiscard]] const FileDialogTexts& fileDialogTexts(FileDialogKind kind);

// Title of the name message.
inline constexpr const char* kNameMessageTitle = "警告";

// Whether a name holds the wildcard characters "*" or "?": such a name names
// no one file and is never read, written or created.
[[nodiscard]] bool hasWildcard(const QString& name);

// Checks a name typed into the name box. Refused: an empty name, a single
// blank, a name whose last four characters are not the required ending, and a
// name holding the wildcard characters "*" or "?" (the untouched pattern
// text among them), which would otherwise create or look for a file literally
// called "*.wvd". The refusal is the dialog's name message.
[[nodiscard]] std::optional<Message> checkFileName(FileDialogKind kind, const QString& name);

// The file a name typed into the name box names. An absolute path ("/a/b.wvd")
// is taken as it is, and "~" at its start is the user's home folder ("~" or
// "~/a.wvd"); any other name lies in the dialog's folder, joined with one "/"
// and a folder part in it kept ("sub/a.wvd").
[[nodiscard]] QString joinFolderAndName(const QString& folder, const QString& name);

// Folder in which a dialog opens: lastDir (the folder last used) while it is
// an existing folder, otherwise the user's home folder.
[[nodiscard]] QString startFolder(const FileDialogMemory& memory);

// A project file opened without the open dialog (from the command line, a
// drop or the recent-files list) is remembered as the dialog remembers its
// choice: its name becomes lastFileName, and its folder lastDir when the file
// was read.
void rememberOpenedFile(FileDialogMemory& memory, const QString& path, bool read);

// One line of a dialog's file list: a subfolder or a file that matches the
// pattern.
struct FileListEntry {
    QString name; // bare name; bytes that are not valid UTF-8 show as U+FFFD
    bool folder = false;
    QDateTime modified;
    qint64 sizeBytes = 0;

    friend bool operator==(const FileListEntry&, const FileListEntry&) = default;
};

// The list's columns in the forms of a Chinese desktop: "2026-12-07 13:05"
// (local time, 24 hours), "文件夹" or the ending's file type ("WVD 文件"), and
// the size in whole KB (rounded up; nothing for a folder).
[[nodiscard]] QString fileListDate(const QDateTime& modified);
[[nodiscard]] QString fileListType(const FileListEntry& entry);
[[nodiscard]] QString fileListSize(const FileListEntry& entry);

// The state and decisions of one open file chooser dialog: its folder, the
// text of its name box and the bookkeeping of lastDir and lastFileName. A
// dialog widget is a view over it.
class FileChooser {
public:
    // `offeredName` is the name box's first text in the dialogs of result
    // outputs (the pattern when empty).
    FileChooser(FileDialogKind kind, FileDialogMemory& memory, const QString& offeredName = {});

    FileDialogKind kind() const { return kind_; }
    const FileDialogTexts& texts() const { return fileDialogTexts(kind_); }

    // The folder list's folder (Dir1). Starts at startFolder().
    const QString& folder() const { return folder_; }
    void setFolder(const QString& folder);

    // Bare names of the files in the folder that match the pattern, sorted;
    // a name that is not valid UTF-8 is listed too, with U+FFFD for its bytes
    // (opening it says that it must be renamed).
    [[nodiscard]] QStringList matchingFiles() const;
    // What the file list shows: the visible subfolders, then the matching
    // files, each sorted by name.
    [[nodiscard]] std::vector<FileListEntry> listing() const;

    // The name box (txtNameBmp).
    const QString& nameText() const { return nameText_; }
    void setNameText(const QString& text) { nameText_ = text; }
    // A file of the file list was clicked: its bare name goes into the box.
    void fileClicked(const QString& fileName) { nameText_ = fileName; }

    // The first half of OK. When the name is refused, returns the message to
    // show; the dialog stays open and nothing changes. Otherwise stores the
    // name in lastFileName, replaces the name box text by the full path and
    // returns nothing; the caller then runs the action on path().
    [[nodiscard]] std::optional<Message> beginAccept();
    // The full path built by the last successful beginAccept().
    const QString& path() const { return path_; }
    // The second half of OK: after a successful action the folder of the
    // file becomes lastDir; after a failed one lastDir is kept.
    void finishAccept(bool actionSucceeded);

private:
    FileDialogKind kind_;
    FileDialogMemory& memory_;
    QString folder_;
    QString nameText_;
    QString path_;
};

} // namespace tamsor
