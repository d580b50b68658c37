#pragma once

#include "Message.h"
#include "NativePath.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QIODevice;

namespace tamsor {

// Why a file could not be written. Whatever the reason, the target is left
// as it was: nothing is written where the old contents could not be put
// back, and a file written in place that fails half-way gets them back.
struct WriteFailure {
    enum class Kind {
        NotRegularFile, // the target exists and is a folder, a device, a pipe or a socket
        CannotOpen,     // neither a temporary file beside the target nor the target itself
                        // could be opened for writing (no rights, no such folder), or the
                        // target could only be written in place, where its old contents
                        // could not be kept (not readable, or too large); nothing written
        CannotWrite,    // the contents could not be written whole (a full disk)
    };
    Kind kind;
    QString reason; // the system's own description, in English; may be empty

    friend bool operator==(const WriteFailure&, const WriteFailure&) = default;
};

// Writes the complete contents of a file from the start, in order; false when
// it could not (the file is then not replaced).
using WriteContents = std::function<bool(QIODevice& device)>;

// The one way the programs write a file that the user named: project files,
// reports and whatever comes later. The path is used as bytes (NativePath: a
// QString path converts implicitly), through POSIX calls and descriptors
// handed to QFile.
//
// - An existing target that is not a regular file (after following symbolic
//   links) is refused before anything is opened: a pipe, a device or a socket
//   is never replaced by an ordinary file, and nothing waits on a pipe. An
//   existing file the user may not write is refused too.
// - The contents go to a temporary file beside the target, which replaces the
//   target only once it is complete and on the disk: a failed write leaves an
//   existing file as it was. A symbolic link is followed and its target
//   replaced (a dangling link: the file it points to is created). The new
//   file keeps the old one's permissions and, where the system allows it, its
//   owner and group.
// - When no temporary file can be created beside the target (a folder where
//   the user may not create files) but the target is a writable regular file,
//   the file is written in place: only when its old contents could be read
//   and kept (at most kMaxInPlaceBytes) and the disk space for the new ones
//   was reserved first; should a write fail all the same, the old contents
//   are written back.
// - Success is never reported after a short write: every byte is flushed and
//   the file's size checked before the write counts.
[[nodiscard]] std::optional<WriteFailure> writeFileSafely(const NativePath& path,
                                                          const WriteContents& write);
[[nodiscard]] std::optional<WriteFailure> writeFileSafely(const NativePath& path,
                                                          const QByteArray& bytes);

// The one text of a failed write of a file the programs write from the
// results (the report, the results table, the calculation book, a plot):
// "无法写入" with `what` ("报告书文件") and the path, then why: a folder, a
// device or a pipe, or what to check. Title "警告", exclamation icon.
[[nodiscard]] Message writeFailureMessage(const std::string& what, const QString& path,
                                          const WriteFailure& failure);

// The largest file written in place, whose old contents are kept in memory
// to be put back.
inline constexpr qint64 kMaxInPlaceBytes = qint64{64} << 20;

} // namespace tamsor
