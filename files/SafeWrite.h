#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

namespace tamsor {

// Why a file could not be written. Whatever the reason, the target is either
// untouched or (for a file written in place) holds its old contents again as
// far as they could be put back.
struct WriteFailure {
    enum class Kind {
        NotRegularFile, // the target exists and is a folder, a device, a pipe or a socket
        CannotOpen,     // neither a temporary file beside the target nor the target itself
                        // could be opened for writing (no rights, no such folder)
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
// reports and whatever comes later.
//
// - An existing target that is not a regular file (after following symbolic
//   links) is refused before anything is opened: a pipe, a device or a socket
//   is never replaced by an ordinary file, and nothing waits on a pipe.
// - The contents go to a temporary file beside the target, which replaces the
//   target only once it is complete (QSaveFile): a failed write leaves an
//   existing file as it was. A symbolic link is followed and its target
//   replaced.
// - When no temporary file can be created beside the target (a folder where
//   the user may not create files) but the target is a writable regular file,
//   the file is written in place; when that fails half-way its old contents
//   are written back.
// - Success is never reported after a short write: every byte is flushed and
//   the file's size checked before the write counts.
[[nodiscard]] std::optional<WriteFailure> writeFileSafely(const QString& path,
                                                          const WriteContents& write);
[[nodiscard]] std::optional<WriteFailure> writeFileSafely(const QString& path,
                                                          const QByteArray& bytes);

} // namespace tamsor
