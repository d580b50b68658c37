#include "DesktopOpener.h"

#include <QObject>
#include <QProcess>
#include <QStandardPaths>

namespace tamsor {

QString desktopOpener() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return {};
#else
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
#endif
}

bool openWithOpener(const QString& opener, const QString& file, std::chrono::milliseconds wait) {
    auto* process = new QProcess;
    process->setProgram(opener);
    process->setArguments({file});
    // Nothing to read from the program and nothing kept from it: a pipe left
    // unread would stop a chatty viewer once it filled.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    if (process->waitForFinished(static_cast<int>(wait.count()))) {
        const bool shown =
            process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
        delete process;
        return shown;
    }
    // Showing the file in the opener's foreground. Deleting the process would
    // end the viewer; it goes once the viewer is closed, and a viewer still
    // open when the program ends stays open.
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return true;
}

} // namespace tamsor
