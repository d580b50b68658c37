#include "HelpFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>

namespace tamsor {

namespace {

// `relative` in the program's folder, or in ../share/tamsor beside it.
QString findBesideProgram(const QString& programDir, const QString& relative) {
    const QDir dir(programDir);
    const QString beside = dir.filePath(relative);
    if (QFileInfo(beside).isFile())
        return beside;
    const QString installed =
        QDir::cleanPath(dir.filePath(QStringLiteral("../share/tamsor/") + relative));
    if (QFileInfo(installed).isFile())
        return installed;
    return {};
}

// The MIME type names a desktop entry may give for compiled help files.
QStringList chmTypes() {
    QStringList types{QStringLiteral("application/vnd.ms-htmlhelp"),
                      QStringLiteral("application/x-chm")};
    const QMimeType type =
        QMimeDatabase().mimeTypeForFile(QStringLiteral("x.chm"), QMimeDatabase::MatchExtension);
    if (type.isValid() && !type.isDefault())
        types << type.name() << type.aliases();
    types.removeDuplicates();
    return types;
}

// Whether a desktop entry opens one of the types (and is not hidden).
bool opensAnyOf(const QString& desktopFile, const QStringList& types) {
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    bool inEntry = false;
    bool hidden = false;
    bool opens = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        if (!inEntry)
            continue;
        if (line == QStringLiteral("Hidden=true"))
            hidden = true;
        if (line.startsWith(QStringLiteral("MimeType="))) {
            const QStringList declared = line.mid(9).split(QLatin1Char(';'), Qt::SkipEmptyParts);
            for (const QString& type : declared)
                opens = opens || types.contains(type.trimmed());
        }
    }
    return opens && !hidden;
}

} // namespace

QString findHelpFile(const QString& programDir) {
    return findBesideProgram(programDir, QString::fromUtf8(kHelpFileName));
}

QString findHelpIndex(const QString& programDir) {
    return findBesideProgram(programDir, QString::fromUtf8(kHelpIndexName));
}

QStringList applicationDirs() {
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

bool chmViewerRegistered(const QStringList& applicationDirs) {
    const QStringList types = chmTypes();
    for (const QString& dir : applicationDirs) {
        QDirIterator it(dir, QStringList{QStringLiteral("*.desktop")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            if (opensAnyOf(it.next(), types))
                return true;
        }
    }
    return false;
}

QStringList helpTargets(const QString& programDir, bool chmViewer) {
    const QString chm = findHelpFile(programDir);
    const QString index = findHelpIndex(programDir);
    QStringList targets;
    if (chmViewer && !chm.isEmpty())
        targets << chm;
    if (!index.isEmpty())
        targets << index;
    if (!chmViewer && !chm.isEmpty())
        targets << chm;
    return targets;
}

Message helpNotShown(const QStringList& targets) {
    QString pages;
    for (const QString& target : targets) {
        if (target.endsWith(QString::fromUtf8(kHelpIndexName)))
            pages = target;
    }
    const bool html = !pages.isEmpty();
    if (!html)
        pages = targets.value(0);
    const std::string where = "“" + QDir::toNativeSeparators(pages).toStdString() + "”";
    return Message{html ? "找不到能显示帮助的程序。帮助页在" + where + "，请用浏览器打开它。"
                        : "找不到能显示帮助文件的程序。帮助文件在" + where +
                              "，请用CHM阅读器打开它。",
                   "警告", Message::Icon::Exclamation};
}

} // namespace tamsor
