#pragma once

#include "NativePath.h"

#include <QByteArray>

#include <vector>

namespace tamsor {

// How the programs find and open the files a user names for reading (project
// files, the settings file) and compare the files they are told to write: on
// the path's bytes (NativePath), without ever waiting on a pipe or a device.

// A file opened for reading, as the system's descriptor; closed when it
// goes.
class ReadHandle {
public:
    ReadHandle() = default;
    explicit ReadHandle(int descriptor) : descriptor_(descriptor) {}
    ReadHandle(ReadHandle&& other) noexcept;
    ReadHandle& operator=(ReadHandle&& other) noexcept;
    ReadHandle(const ReadHandle&) = delete;
    ReadHandle& operator=(const ReadHandle&) = delete;
    ~ReadHandle();

    [[nodiscard]] bool isOpen() const { return descriptor_ >= 0; }
    // Reads at most `size` bytes into `data`, again when a signal interrupts
    // the read: the number of bytes read, 0 at the end of the file, -1 when
    // the system failed to read.
    [[nodiscard]] long long read(char* data, long long size);

private:
    int descriptor_ = -1;
};

// What a path led to when it was opened for reading.
struct ReadTarget {
    enum class Kind {
        Regular,     // a regular file, opened: `file` reads it
        Missing,     // nothing there (also a dangling link, or a folder part that is a file)
        NameNotUtf8, // nothing there, and the path holds U+FFFD: most likely a name that
                     // is not valid UTF-8, shown and handed on in a decoded form that
                     // no longer names the file
        Folder,      // a folder
        Pipe,        // a named pipe (FIFO)
        Device,      // a character or block device
        Socket,      // a socket
        NoAccess,    // the user may not read it
        Failed,      // any other failure of the system; `error` says which
    };
    Kind kind = Kind::Missing;
    int error = 0; // errno when the path could not be opened
    // Open for reading when kind is Regular.
    ReadHandle file;
    // The file's size in bytes when it was opened (Regular): once that many
    // bytes have come, a read that gives fewer than asked for ends the file,
    // unless it grew since.
    long long size = 0;
};

// Opens the path (symbolic links followed) for reading without blocking and
// judges the opened descriptor, not the path: whatever another program puts
// at the path between any earlier check and this open, a pipe or a device is
// closed again unread and never waited on.
[[nodiscard]] ReadTarget openForReading(const NativePath& path);

// What a kind that is not a file is, for messages ("文件夹", "管道（FIFO）",
// "设备", "套接字"); empty for the other kinds.
[[nodiscard]] const char* nonFileKindName(ReadTarget::Kind kind);

// Whether the file at the path is a regular file, symbolic links followed
// (stat, which never opens the file).
[[nodiscard]] bool isRegularFile(const NativePath& path);

// Where a write to the path lands: its symbolic links followed as far as they
// lead, also when the last one dangles (then the path of the file a write
// would create).
[[nodiscard]] NativePath followLinks(const NativePath& path);

// Whether writing to one of the paths could change the file the other names:
// after followLinks, the same device and inode for existing files (hard links
// included), the same folder (device and inode) and name for files that do
// not exist yet.
[[nodiscard]] bool sameFile(const NativePath& a, const NativePath& b);

// The names in a folder (without "." and ".."), as bytes, whether or not they
// are valid UTF-8 (Qt's own listings leave those out). regularFile: a regular
// file, symbolic links followed. Empty when the folder cannot be read.
struct FolderEntry {
    QByteArray name;
    bool regularFile = false;
    bool folder = false;      // a folder, or a link to one
    qint64 sizeBytes = 0;     // of a regular file
    qint64 modifiedMSecs = 0; // last change, milliseconds since 1970 (UTC)
};
[[nodiscard]] std::vector<FolderEntry> folderEntries(const NativePath& folder);

} // namespace tamsor
