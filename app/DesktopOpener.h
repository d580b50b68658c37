#pragma once

#include <QString>

#include <chrono>

namespace tamsor {

// Showing a written file (a report, a calculation book, the help) in the
// program that the desktop has for its type.

// The desktop's opener for local files ("xdg-open" on the PATH); empty
// where there is none, and on systems whose desktop has its own way.
[[nodiscard]] QString desktopOpener();

// Hands `file` to `opener`, started without a shell with the file as its one
// argument, and tells whether a program took it. The opener exits with 0 once
// it has handed the file on and with another status when it found no program
// (xdg-open: 3, or 4 where the desktop's own tool failed); that is waited for
// up to `wait`. Where the opener runs the program in its own foreground (a
// desktop that xdg-open does not know), it is still running then: the file
// is being shown, and the opener is left to run on.
[[nodiscard]] bool openWithOpener(const QString& opener, const QString& file,
                                  std::chrono::milliseconds wait);

} // namespace tamsor
