#pragma once

#include "InputForm.h"
#include "Message.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tamsor {

// Writes the 12-line project file (CR LF) from the form's box texts and list
// positions through writeFileSafely (SafeWrite.h): a failed save never
// destroys an existing file, and a folder, device or pipe at the path is
// refused and left alone. Returns the message to show when the file cannot be
// written.
[[nodiscard]] std::optional<Message> writeProjectFile(const QString& path, const InputForm& form);

// Reads a project file into the form's boxes and lists, showing every failure
// through form.sink(). True when the whole file was read (codeVersion is then
// set to 0); on failure whatever earlier steps loaded stays in the form.
[[nodiscard]] bool readProjectFile(const QString& path, InputForm& form);

// The bytes writeProjectFile stores: 12 lines, each ended by CR LF, in GB2312.
// Empty when a stored box text cannot be written as one line of GB2312 text
// (a line break or a character outside the code page).
[[nodiscard]] std::optional<QByteArray> projectFileBytes(const InputForm& form);

// The reader without the file: loads the given file contents into the form
// with the same checks and messages as readProjectFile after it has found the
// file. Lines end at CR LF, a lone LF or a lone CR.
[[nodiscard]] bool readProjectBytes(const QByteArray& bytes, InputForm& form);

// The reader keeps at most this many bytes of the first 12 lines; a file whose
// first 12 lines are longer is refused as too large.
inline constexpr qint64 kProjectFileMaxBytes = qint64{1} << 20;

} // namespace tamsor
