#include "DesktopFiles.h"

#include "SafeRead.h"

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

RecentFiles::RecentFiles(UserSettings settings) : settings_(std::move(settings)) {
    reload();
}

QString userSettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tamsor/tamsor.conf");
}

bool settingsFileUsable(const QString& file) {
    // The file lies in the user's own folder: no other program swaps a pipe
    // in between this look and QSettings' read.
    switch (openForReading(file).kind) {
    case ReadTarget::Kind::Folder:
    case ReadTarget::Kind::Pipe:
    case ReadTarget::Kind::Device:
    case ReadTarget::Kind::Socket:
        return false;
    default:
        return true;
    }
}

bool storeSettings(const QString& file, const std::function<void(QSettings&)>& change) {
    if (file.isEmpty() || !settingsFileUsable(file))
        return false;
    QSettings settings(file, QSettings::IniFormat);
    change(settings);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

Message settingsNotStored(const QString& file) {
    return Message{"无法写入设置文件“" + QDir::toNativeSeparators(file).toStdString() +
                       "”：最近打开的文件和计算书标题栏只保留到程序退出。",
                   "警告", Message::Icon::Exclamation};
}

void RecentFiles::reload() {
    // After a failed store the file does not hold the list: keep it.
    QStringList files;
    if (!stored_ || !settings_.read([&files](const QSettings& settings) {
            files = settings.value(kRecentFilesKey).toStringList();
        }))
        return;
    files.removeAll(QString());
    files.removeDuplicates();
    while (files.size() > kMaxEntries)
        files.removeLast();
    files_ = files;
}

bool RecentFiles::add(const QString& path) {
    reload();
    const QString file = absolutePath(path, QDir::currentPath());
    files_.removeAll(file);
    files_.prepend(file);
    while (files_.size() > kMaxEntries)
        files_.removeLast();
    stored_ = store();
    return stored_;
}

bool RecentFiles::remove(const QString& path) {
    reload();
    files_.removeAll(path);
    stored_ = store();
    return stored_;
}

QString RecentFiles::menuText(int index, const QString& path) {
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(QString::number(index + 1), shown);
}

bool RecentFiles::store() const {
    if (settings_.file().isEmpty())
        return true;
    return settings_.store(
        [this](QSettings& settings) { settings.setValue(kRecentFilesKey, files_); });
}

} // namespace tamsor
