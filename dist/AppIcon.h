#pragma once

// The program icon, compiled into the `tamsor` executable from dist/tamsor.qrc.
// main() passes it to QApplication::setWindowIcon; the main window, the dialogs
// and the About box then show it.

#include <QFile>
#include <QIcon>
#include <QSize>
#include <QString>

namespace tamsor {

inline constexpr int kAppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

inline QIcon applicationIcon() {
    QIcon icon;
    for (int size : kAppIconSizes) {
        const QString file = QStringLiteral(":/tamsor/icons/tamsor-%1.png").arg(size);
        if (QFile::exists(file)) {
            icon.addFile(file, QSize(size, size));
        }
    }
    // Not linked into this program (a test, say): the installed theme icon.
    if (icon.isNull()) {
        icon = QIcon::fromTheme(QStringLiteral("tamsor"));
    }
    return icon;
}

} // namespace tamsor
