#include "FileChooser.h"

#include "NativePath.h"
#include "SafeRead.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <utility>

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

const FileDialogTexts kCsvTexts{QStringLiteral("导出结果表"),
                                QStringLiteral("*.csv"),
                                QStringLiteral(".csv"),
                                QStringLiteral("请输入文件名，扩展名为 csv  !"),
                                false,
                                2640,
                                true};
const FileDialogTexts kBookTexts{QStringLiteral("生成计算书"),
                                 QStringLiteral("*.pdf"),
                                 QStringLiteral(".pdf"),
                                 QStringLiteral("请输入文件名，扩展名为 pdf  !"),
                                 false,
                                 2640,
                                 true};
const FileDialogTexts kPngTexts{QStringLiteral("保存图片"),
                                QStringLiteral("*.png"),
                                QStringLiteral(".png"),
                                QStringLiteral("请输入文件名，扩展名为 png  !"),
                                false,
                                2640,
                                true};
const FileDialogTexts kSvgTexts{QStringLiteral("保存矢量图"),
                                QStringLiteral("*.svg"),
                                QStringLiteral(".svg"),
                                QStringLiteral("请输入文件名，扩展名为 svg  !"),
                                false,
                                2640,
                                true};

} // namespace

const FileDialogTexts& fileDialogTexts(FileDialogKind kind) {
    switch (kind) {
    case FileDialogKind::OpenData:
        return kOpenTexts;
    case FileDialogKind::SaveData:
        return kSaveTexts;
    case FileDialogKind::CsvTable:
        return kCsvTexts;
    case FileDialogKind::Book:
        return kBookTexts;
    case FileDialogKind::PlotImage:
        return kPngTexts;
    case FileDialogKind::PlotDrawing:
        return kSvgTexts;
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
    if (name.startsWith(QLatin1Char('/')))
        return name;
    if (name == QStringLiteral("~") || name.startsWith(QStringLiteral("~/")))
        return QDir::homePath() + name.mid(1);
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

FileChooser::FileChooser(FileDialogKind kind, FileDialogMemory& memory, const QString& offeredName)
    : kind_(kind), memory_(memory), folder_(startFolder(memory)) {
    const FileDialogTexts& t = texts();
    // The open dialog offers the last accepted name; before any dialog was
    // used that is the pattern itself.
    if (t.showsLastFileName && !memory_.lastFileName.isEmpty())
        nameText_ = memory_.lastFileName;
    else if (t.resultOutput && !offeredName.isEmpty())
        nameText_ = offeredName;
    else
        nameText_ = t.pattern;
}

void FileChooser::setFolder(const QString& folder) {
    folder_ = folder;
}

QString fileListDate(const QDateTime& modified) {
    return modified.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString fileListType(const FileListEntry& entry) {
    if (entry.folder)
        return QStringLiteral("文件夹");
    const QString ending = QFileInfo(entry.name).suffix().toUpper();
    return ending.isEmpty() ? QStringLiteral("文件") : ending + QStringLiteral(" 文件");
}

QString fileListSize(const FileListEntry& entry) {
    if (entry.folder)
        return {};
    return QString::number((entry.sizeBytes + 1023) / 1024) + QStringLiteral(" KB");
}

std::vector<FileListEntry> FileChooser::listing() const {
    // Listed from the folder's bytes: Qt's own listing leaves out names that
    // are not valid UTF-8, which then show with U+FFFD. Visible entries only,
    // files (and links to files) by the pattern in any case.
    const QRegularExpression pattern(
        QRegularExpression::wildcardToRegularExpression(texts().pattern),
        QRegularExpression::CaseInsensitiveOption);
    std::vector<FileListEntry> folders;
    std::vector<FileListEntry> files;
    for (const FolderEntry& entry : folderEntries(folder_)) {
        if (entry.name.startsWith('.'))
            continue;
        FileListEntry line{NativePath::fromBytes(entry.name).display(), entry.folder,
                           QDateTime::fromMSecsSinceEpoch(entry.modifiedMSecs, Qt::UTC),
                           entry.sizeBytes};
        if (entry.folder)
            folders.push_back(std::move(line));
        else if (entry.regularFile && pattern.match(line.name).hasMatch())
            files.push_back(std::move(line));
    }
    const auto byName = [](const FileListEntry& a, const FileListEntry& b) {
        return a.name < b.name;
    };
    std::sort(folders.begin(), folders.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    folders.insert(folders.end(), files.begin(), files.end());
    return folders;
}

QStringList FileChooser::matchingFiles() const {
    QStringList names;
    for (const FileListEntry& entry : listing()) {
        if (!entry.folder)
            names << entry.name;
    }
    return names;
}

std::optional<Message> FileChooser::beginAccept() {
    const FileDialogTexts& t = texts();
    if (t.resultOutput && !nameText_.trimmed().isEmpty() && !hasWildcard(nameText_) &&
        QFileInfo(nameText_).suffix().isEmpty())
        nameText_ += t.requiredEnding;
    if (auto refusal = checkFileName(kind_, nameText_))
        return refusal;
    path_ = joinFolderAndName(folder_, nameText_);
    if (!t.resultOutput)
        memory_.lastFileName = QFileInfo(path_).fileName();
    nameText_ = path_;
    return std::nullopt;
}

void FileChooser::finishAccept(bool actionSucceeded) {
    if (actionSucceeded)
        memory_.lastDir = QDir::cleanPath(QFileInfo(path_).absolutePath());
}

} // namespace tamsor
