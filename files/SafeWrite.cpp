#include "SafeWrite.h"

#include "SafeRead.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tamsor {

namespace {

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

WriteFailure failure(WriteFailure::Kind kind, int error) {
    return WriteFailure{kind, systemError(error)};
}

// Runs the writer and makes sure that all it wrote reached the file: a full
// disk often shows only when the buffer is flushed, so flush here and compare
// the file's size with what was written.
bool writeWhole(QFileDevice& file, const WriteContents& write) {
    if (!write(file) || !file.flush() || file.error() != QFileDevice::NoError)
        return false;
    return file.size() == file.pos();
}

// A new file beside the target, with a name no one else uses: ".NAME.XXXXXX".
// O_EXCL: never an existing file, nor a link planted under that name.
int createTemporary(const NativePath& target, mode_t mode, NativePath& temporary) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const NativePath folder = target.folder();
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = '.' + target.fileName() + '.';
        for (int i = 0; i < 6; ++i)
            name += kLetters[QRandomGenerator::global()->bounded(int{sizeof kLetters} - 1)];
        temporary = folder.child(name);
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The new file takes the old one's owner and group where the system lets it
// (root; a group the user belongs to), then its permissions (a change of
// owner clears the set-id bits).
void keepOwnerAndMode(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // The process's own owner and group, as for a new file.
    }
    ::fchmod(fd, old.st_mode & 07777);
}

bool readWhole(int fd, QByteArray& contents, qint64 size) {
    contents.resize(size);
    qint64 done = 0;
    while (done < size) {
        const ssize_t n =
            ::pread(fd, contents.data() + done, static_cast<size_t>(size - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool writeWholeAt(int fd, const QByteArray& contents) {
    qint64 done = 0;
    while (done < contents.size()) {
        const ssize_t n = ::pwrite(fd, contents.constData() + done,
                                   static_cast<size_t>(contents.size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Puts contents as the whole file: written from the start, cut after them,
// on the disk.
bool replaceContents(int fd, const QByteArray& contents) {
    return writeWholeAt(fd, contents) && ::ftruncate(fd, contents.size()) == 0 &&
           ::fdatasync(fd) == 0;
}

// The folder refuses new files, but the file itself may be written: the new
// contents go over the old ones. Refused before anything is written when the
// old contents cannot be kept (a write-only file, a file too large to keep)
// or the disk has no room for the new ones; should the write fail all the
// same, the old contents are put back.
std::optional<WriteFailure> writeInPlace(const NativePath& target, const WriteContents& write) {
    // The new contents first, in memory: a writer that fails half-way leaves
    // the file untouched.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer))
        return WriteFailure{WriteFailure::Kind::CannotWrite, {}};
    const QByteArray contents = buffer.data();

    const int fd = ::open(target.c_str(), O_RDWR | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == EACCES)
            return WriteFailure{WriteFailure::Kind::CannotOpen,
                                QStringLiteral("the file cannot be read back to keep its contents "
                                               "while it is written in place")};
        return failure(WriteFailure::Kind::CannotOpen, errno);
    }
    const auto fail = [fd](WriteFailure::Kind kind, int error) {
        ::close(fd);
        return failure(kind, error);
    };
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return fail(WriteFailure::Kind::CannotOpen, errno);
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return WriteFailure{WriteFailure::Kind::NotRegularFile, {}};
    }
    if (st.st_size > kMaxInPlaceBytes) {
        ::close(fd);
        return WriteFailure{WriteFailure::Kind::CannotOpen,
                            QStringLiteral("the file is too large to keep its contents while it "
                                           "is written in place")};
    }
    QByteArray old;
    if (!readWhole(fd, old, st.st_size))
        return fail(WriteFailure::Kind::CannotOpen, errno);
    // Room for the new contents, before any old byte is overwritten.
    if (contents.size() > st.st_size) {
        const int error = ::posix_fallocate(fd, 0, contents.size());
        if (error != 0) {
            // A partial reservation may have grown the file.
            const bool cut = ::ftruncate(fd, st.st_size) == 0;
            WriteFailure failed = fail(WriteFailure::Kind::CannotWrite, error);
            if (!cut)
                failed.reason += QStringLiteral("; its old size could not be restored");
            return failed;
        }
    }
    if (replaceContents(fd, contents)) {
        ::close(fd);
        return std::nullopt;
    }
    const int error = errno;
    WriteFailure failed = failure(WriteFailure::Kind::CannotWrite, error);
    if (!replaceContents(fd, old))
        failed.reason += QStringLiteral("; its old contents could not be written back");
    ::close(fd);
    return failed;
}

} // namespace

std::optional<WriteFailure> writeFileSafely(const NativePath& path, const WriteContents& write) {
    if (path.isEmpty())
        return failure(WriteFailure::Kind::CannotOpen, ENOENT);
    const NativePath target = followLinks(path);
    // Checked before anything is opened, since opening a pipe for writing
    // waits for a reader.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return WriteFailure{WriteFailure::Kind::NotRegularFile, {}};
    if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return failure(WriteFailure::Kind::CannotOpen, errno);

    // A replacement is private until it is complete; a new file gets the
    // usual permissions (the umask applies).
    NativePath temporary;
    const int fd = createTemporary(target, exists ? 0600 : 0666, temporary);
    if (fd < 0) {
        const int error = errno;
        if (exists)
            return writeInPlace(target, write);
        return failure(WriteFailure::Kind::CannotOpen, error);
    }
    if (exists)
        keepOwnerAndMode(fd, old);

    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return WriteFailure{WriteFailure::Kind::CannotOpen, file.errorString()};
    }
    const auto discard = [&](WriteFailure failed) {
        file.close();
        ::unlink(temporary.c_str());
        return failed;
    };
    if (!writeWhole(file, write))
        return discard(WriteFailure{WriteFailure::Kind::CannotWrite, file.errorString()});
    if (::fdatasync(fd) != 0)
        return discard(failure(WriteFailure::Kind::CannotWrite, errno));
    file.close();
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return failure(WriteFailure::Kind::CannotWrite, error);
    }
    return std::nullopt;
}

std::optional<WriteFailure> writeFileSafely(const NativePath& path, const QByteArray& bytes) {
    return writeFileSafely(
        path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

Message writeFailureMessage(const std::string& what, const QString& path,
                            const WriteFailure& failure) {
    std::string text = "无法写入" + what + "“" + NativePath(path).display().toStdString() + "”";
    if (failure.kind == WriteFailure::Kind::NotRegularFile)
        text += "：它是文件夹、设备或管道，不是普通文件！";
    else
        text += "，请检查文件夹是否存在、是否有写入权限以及磁盘空间是否足够！";
    return Message{std::move(text), "警告", Message::Icon::Exclamation};
}

} // namespace tamsor
