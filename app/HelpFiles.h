#pragma once

#include "Message.h"

#include <QString>
#include <QStringList>

namespace tamsor {

// The compiled help file.
inline constexpr const char* kHelpFileName = "wind_Help.chm";
// The same pages as plain HTML, for desktops without a viewer for the
// compiled file: their index page, relative to the help folder.
inline constexpr const char* kHelpIndexName = "help/index.htm";

// Help is looked for in the program's folder, or else in ../share/tamsor
// relative to it (an installed program). Each is empty when neither exists.
[[nodiscard]] QString findHelpFile(const QString& programDir);
[[nodiscard]] QString findHelpIndex(const QString& programDir);

// The desktop's application folders (~/.local/share/applications,
// /usr/share/applications, ...).
[[nodiscard]] QStringList applicationDirs();
// True when a desktop entry in one of the folders (or below them) says that
// it opens compiled help files.
[[nodiscard]] bool chmViewerRegistered(const QStringList& applicationDirs);

// What the help command opens, in the order to try: the compiled help file
// when a viewer for it is registered, the HTML pages in the default browser,
// and the compiled file last even without a known viewer. Empty when no help
// is installed.
[[nodiscard]] QStringList helpTargets(const QString& programDir, bool chmViewer);

// What the help command says when no program could show any of the targets
// (as helpTargets gives them, not empty): where the help is, the HTML pages
// first, so that it can be opened by hand.
[[nodiscard]] Message helpNotShown(const QStringList& targets);

} // namespace tamsor
