#include "SafeRead.h"

#include <QDir>

#include <array>

#include <cerrno>
#include <cstddef>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tamsor {

namespace {

// As many links as the kernel follows in one path.
constexpr int kMaxLinkHops = 40;

ReadTarget::Kind kindOf(mode_t mode) {
    if (S_ISREG(mode))
        return ReadTarget::Kind::Regular;
    if (S_ISDIR(mode))
        return ReadTarget::Kind::Folder;
    if (S_ISFIFO(mode))
        return ReadTarget::Kind::Pipe;
    if (S_ISSOCK(mode))
        return ReadTarget::Kind::Socket;
    return ReadTarget::Kind::Device;
}

ReadTarget::Kind kindOfFailure(const NativePath& path, int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return path.bytes().contains("\xEF\xBF\xBD") ? ReadTarget::Kind::NameNotUtf8
                                                     : ReadTarget::Kind::Missing;
    case EACCES:
    case EPERM:
        return ReadTarget::Kind::NoAccess;
    case ENXIO: {
        // A socket, or a device without its driver: say which.
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0)
            return kindOf(st.st_mode);
        return ReadTarget::Kind::Failed;
    }
    default:
        return ReadTarget::Kind::Failed;
    }
}

// A path's identity for sameFile.
struct Identity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    QByteArray name; // of a file that does not exist, in the folder given by device and inode
    QByteArray path; // only when not even its folder exists: the cleaned absolute path

    friend bool operator==(const Identity&, const Identity&) = default;
};

Identity identify(const NativePath& path) {
    const NativePath target = followLinks(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        return Identity{true, st.st_dev, st.st_ino, {}, {}};
    if (::stat(target.folder().c_str(), &st) == 0)
        return Identity{false, st.st_dev, st.st_ino, target.fileName(), {}};
    // Nothing can be written there; compare the spelling.
    return Identity{
        false,
        0,
        0,
        {},
        NativePath(QDir::cleanPath(QDir::current().absoluteFilePath(target.toQString()))).bytes()};
}

} // namespace

ReadTarget openForReading(const NativePath& path) {
    ReadTarget target;
    if (path.isEmpty()) {
        target.error = ENOENT;
        return target;
    }
    // O_NONBLOCK: opening a pipe without a writer, or some devices, would
    // otherwise wait. O_NOCTTY: a terminal never becomes ours.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        target.error = errno;
        target.kind = kindOfFailure(path, target.error);
        return target;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        target.error = errno;
        target.kind = ReadTarget::Kind::Failed;
        ::close(fd);
        return target;
    }
    target.kind = kindOf(st.st_mode);
    if (target.kind != ReadTarget::Kind::Regular) {
        ::close(fd);
        return target;
    }
    // Reads of a regular file do not block either way; clear the flag so
    // that nothing downstream sees EAGAIN. It was opened with no other
    // status flag that F_SETFL sets.
    ::fcntl(fd, F_SETFL, 0);
    target.file = ReadHandle(fd);
    target.size = static_cast<long long>(st.st_size);
    return target;
}

ReadHandle::ReadHandle(ReadHandle&& other) noexcept : descriptor_(other.descriptor_) {
    other.descriptor_ = -1;
}

ReadHandle& ReadHandle::operator=(ReadHandle&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = other.descriptor_;
        other.descriptor_ = -1;
    }
    return *this;
}

ReadHandle::~ReadHandle() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

long long ReadHandle::read(char* data, long long size) {
    if (descriptor_ < 0)
        return -1;
    for (;;) {
        const ssize_t n = ::read(descriptor_, data, static_cast<std::size_t>(size));
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

const char* nonFileKindName(ReadTarget::Kind kind) {
    switch (kind) {
    case ReadTarget::Kind::Folder:
        return "文件夹";
    case ReadTarget::Kind::Pipe:
        return "管道（FIFO）";
    case ReadTarget::Kind::Device:
        return "设备";
    case ReadTarget::Kind::Socket:
        return "套接字";
    default:
        return "";
    }
}

bool isRegularFile(const NativePath& path) {
    struct stat st {};
    return !path.isEmpty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

NativePath followLinks(const NativePath& path) {
    NativePath current = path;
    std::array<char, 4096> buffer{};
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        const ssize_t length = ::readlink(current.c_str(), buffer.data(), buffer.size());
        if (length < 0 || static_cast<std::size_t>(length) >= buffer.size())
            break; // not a link (or nothing there)
        const QByteArray link(buffer.data(), length);
        current = link.startsWith('/') ? NativePath::fromBytes(link) : current.folder().child(link);
    }
    return current;
}

bool sameFile(const NativePath& a, const NativePath& b) {
    return identify(a) == identify(b);
}

std::vector<FolderEntry> folderEntries(const NativePath& folder) {
    std::vector<FolderEntry> entries;
    DIR* dir = ::opendir(folder.isEmpty() ? "." : folder.c_str());
    if (!dir)
        return entries;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        const bool known = ::fstatat(dirFd, entry->d_name, &st, 0) == 0;
        const bool regular = known && S_ISREG(st.st_mode);
        entries.push_back(FolderEntry{
            name, regular, known && S_ISDIR(st.st_mode), regular ? qint64{st.st_size} : 0,
            known ? qint64{st.st_mtim.tv_sec} * 1000 + st.st_mtim.tv_nsec / 1000000 : 0});
    }
    ::closedir(dir);
    return entries;
}

} // namespace tamsor
