#pragma once

#include "Message.h"
#include "ProjectInput.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tamsor {

// The project file (.wvd): 11 + m lines (m = the mode count, line 5) of the
// boxes' texts as typed and the three list numbers, in GB2312 with CR LF line
// ends, then the tail: key=value lines of further project data.

// What a read gave.
struct ProjectRead {
    // What the file holds, loaded onto a new project: all of it after a
    // complete read; after a failed one, what the lines before the bad one
    // hold, and New's values for the rest.
    ProjectInput input;
    // Why the read stopped (title "错误" or "警告", exclamation icon); nothing
    // when the whole file was read.
    std::optional<Message> failure;

    [[nodiscard]] bool complete() const { return !failure; }
};

// Reads the project file at the path. Only an ordinary, visible file is read.
[[nodiscard]] ProjectRead readProjectFile(const QString& path);

// The reader without the file: the same checks and messages on the file's
// contents. Lines end at CR LF, a lone LF or a lone CR. A UTF-8 byte-order
// mark makes the lines UTF-8 instead of GB2312.
[[nodiscard]] ProjectRead readProjectBytes(const QByteArray& bytes);

// The bytes writeProjectFile stores: lines 1 to 11+m, then the tail's set
// known keys in the order of kTailFields and its other keys in the order they
// were read, each line ended by CR LF, in GB2312. Empty when a text cannot be
// written as one line of GB2312 text (a line break or a character outside
// the code page), or a key of the tail would not read back as that key.
[[nodiscard]] std::optional<QByteArray> projectFileBytes(const ProjectInput& input);

// Writes the project file through writeFileSafely (SafeWrite.h): a failed
// save never destroys an existing file, and a folder, device or pipe at the
// path is refused and left alone. Returns the message to show when the file
// cannot be written.
[[nodiscard]] std::optional<Message> writeProjectFile(const QString& path,
                                                      const ProjectInput& input);

// Whether the two inputs save to the same file: everything but the texts of
// the mode-shape boxes beyond the mode count, which the file does not keep.
[[nodiscard]] bool sameInProjectFile(const ProjectInput& a, const ProjectInput& b);

// The reader keeps at most this many bytes of the lines before the tail; a
// file whose first 11+m lines are longer is refused as too large.
inline constexpr qint64 kProjectFileMaxBytes = qint64{1} << 20;

// The reader takes the tail from at most this many bytes after the lines
// before it. The program writes a few dozen bytes there; a tail this long is
// no project data of the program's. Lines beyond the bound, and a line cut by
// it, are ignored as lines without "=" are, so no value is ever read cut
// short, and a project with a long appendix still reads quickly.
inline constexpr qint64 kProjectTailMaxBytes = qint64{64} << 10;

} // namespace tamsor
