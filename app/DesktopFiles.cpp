#include "DesktopFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <utility>

namespace tamsor {

namespace {

const QString kRecentFilesKey = QStringLiteral("recentFiles");

QString absolutePath(const QString& path, const QString& base) {
    return QDir::cleanPath(QDir(base).absoluteFilePath(path));
}

} // namespace

QString startupProjectFile(const QStringList& args, const QString& workingDir) {
    bool optionsEnded = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!optionsEnded && arg == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (arg.isEmpty() || (!optionsEnded && arg.startsWith(QLatin1Char('-'))))
            continue;
        // A launcher may hand over a file URL instead of a path.
        const QUrl url(arg);
        if (arg.startsWith(QStringLiteral("file:")) && url.isLocalFile())
            return absolutePath(url.toLocalFile(), workingDir);
        return absolutePath(arg, workingDir);
    }
    return {};
}

QString droppedProjectFile(const QList<QUrl>& urls) {
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (path.endsWith(QStringLiteral(".wvd"), Qt::CaseInsensitive))
            return QDir::cleanPath(path);
    }
    return {};
}

RecentFiles::RecentFiles(QString settingsFile) : settingsFile_(std::move(settingsFile)) {
    reload();
}

QString userSettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tamsor/tamsor.conf");
}

QString RecentFiles::defaultSettingsFile() {
    return userSettingsFile();
}

void RecentFiles::reload() {
    if (settingsFile_.isEmpty())
        return;
    const QSettings settings(settingsFile_, QSettings::IniFormat);
    QStringList files = settings.value(kRecentFilesKey).toStringList();
    files.removeAll(QString());
    files.removeDuplicates();
    while (files.size() > kMaxEntries)
        files.removeLast();
    files_ = files;
}

void RecentFiles::add(const QString& path) {
    reload();
    const QString file = absolutePath(path, QDir::currentPath());
    files_.removeAll(file);
    files_.prepend(file);
    while (files_.size() > kMaxEntries)
        files_.removeLast();
    store();
}

void RecentFiles::remove(const QString& path) {
    reload();
    files_.removeAll(path);
    store();
}

QString RecentFiles::menuText(int index, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(QString::number(index + 1), shown);
}

void RecentFiles::store() const {
    if (settingsFile_.isEmpty())
        return;
    QSettings settings(settingsFile_, QSettings::IniFormat);
    settings.setValue(kRecentFilesKey, files_);
    settings.sync();
}

} // namespace tamsor
