#include "FileChooser.h"

#include "NativePath.h"
#include "SafeRead.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace tamsor {

namespace {

const FileDialogTexts kOpenTexts{QStringLiteral("从文件导入数据(*.wvd)"),
                                 QStringLiteral("*.wvd"),
                                 QStringLiteral(".wvd"),
                                 QStringLiteral("请输入文件名，扩展名为 wvd  !"),
                                 true,
                                 2760};
const FileDialogTexts kSaveTexts{QStringLiteral("导出保存数据到文件(*.wvd)"),
                                 QStringLiteral("*.wvd"),
                                 QStringLiteral(".wvd"),
                                 QStringLiteral("请输入文件名，扩展名为 wvd  !"),
                                 false,
                                 2640};
const FileDialogTexts kReportTexts{QStringLiteral("将计算结果生成网页"),
                                   QStringLiteral("*.htm"),
                                   QStringLiteral(".htm"),
                                   QStringLiteral("请输入文件名，扩展名必须是htm !"),
                                   false,
                                   2640};

} // namespace

const FileDialogTexts& fileDialogTexts(FileDialogKind kind) {
    switch (kind) {
    case FileDialogKind::OpenData:
        return kOpenTexts;
    case FileDialogKind::SaveData:
        return kSaveTexts;
    case FileDialogKind::Report:
        break;
    }
    return kReportTexts;
}

bool hasWildcard(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

std::optional<Message> checkFileName(FileDialogKind kind, const QString& name) {
    const FileDialogTexts& texts = fileDialogTexts(kind);
    const bool refused = name.isEmpty() || name == QStringLiteral(" ") ||
                         name.right(4) != texts.requiredEnding || hasWildcard(name);
    if (!refused)
        return std::nullopt;
    return Message{texts.nameMessage.toStdString(), kNameMessageTitle, Message::Icon::Exclamation};
}

QString joinFolderAndName(const QString& folder, const QString& name) {
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString startFolder(const FileDialogMemory& memory) {
    const QString& last = memory.lastDir;
    if (!last.isEmpty()) {
        const QFileInfo info(last);
        if (info.isDir())
            return QDir::cleanPath(info.absoluteFilePath());
    }
    return QDir::homePath();
}

void rememberOpenedFile(FileDialogMemory& memory, const QString& path, bool read) {
    const QFileInfo info(path);
    memory.lastFileName = info.fileName();
    if (read)
        memory.lastDir = QDir::cleanPath(info.absolutePath());
}

FileChooser::FileChooser(FileDialogKind kind, FileDialogMemory& memory)
    : kind_(kind), memory_(memory), folder_(startFolder(memory)) {
    const FileDialogTexts& t = texts();
    // The open dialog offers the last accepted name; before any dialog was
    // used that is the pattern itself.
    if (t.showsLastFileName && !memory_.lastFileName.isEmpty())
        nameText_ = memory_.lastFileName;
    else
        nameText_ = t.pattern;
}

void FileChooser::setFolder(const QString& folder) {
    folder_ = folder;
}

QStringList FileChooser::matchingFiles() const {
    // Listed from the folder's bytes: Qt's own listing leaves out names that
    // are not valid UTF-8, which then show with U+FFFD. Visible files (and
    // links to files) only, the pattern in any case, sorted by name.
    const QRegularExpression pattern(
        QRegularExpression::wildcardToRegularExpression(texts().pattern),
        QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (const FolderEntry& entry : folderEntries(folder_)) {
        const QString name = NativePath::fromBytes(entry.name).display();
        if (entry.regularFile && !entry.name.startsWith('.') && pattern.match(name).hasMatch())
            names << name;
    }
    names.sort();
    return names;
}

std::optional<Message> FileChooser::beginAccept() {
    if (auto refusal = checkFileName(kind_, nameText_))
        return refusal;
    memory_.lastFileName = nameText_;
    path_ = joinFolderAndName(folder_, nameText_);
    nameText_ = path_;
    return std::nullopt;
}

void FileChooser::finishAccept(bool actionSucceeded) {
    if (actionSucceeded)
        memory_.lastDir = folder_;
}

} // namespace tamsor
