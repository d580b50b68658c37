#pragma once

#include "model/InputForm.h"
#include "model/Message.h"

#include <QString>

#include <optional>

namespace tamsor {

// Writes the 12-line project file (CR LF) from the form's box texts and list
// positions. The file is written to a temporary file and moved into place only
// when complete, so a failed save never destroys an existing file. Returns the
// message to show when the file cannot be written.
[[nodiscard]] std::optional<Message> writeProjectFile(const QString& path, const InputForm& form);

// Reads a project file into the form's boxes and lists, showing every failure
// through form.sink(). True when the whole file was read (codeVersion is then
// set to 0); on failure whatever earlier steps loaded stays in the form.
[[nodiscard]] bool readProjectFile(const QString& path, InputForm& form);

} // namespace tamsor
