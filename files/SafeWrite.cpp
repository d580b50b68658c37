#include "SafeWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tamsor {

namespace {

// A file written in place keeps its old contents in memory up to this size,
// to put them back when the new ones cannot be written whole.
constexpr qint64 kMaxRestoreBytes = qint64{64} << 20;

// Runs the writer and makes sure that all it wrote reached the file. A full
// disk often shows only when the buffer is flushed, and QSaveFile::commit()
// does not check its final flush, so flush here and compare the file's size
// with what was written. With cutTail the file was not truncated before the
// write, and whatever lies beyond the new end is cut off.
bool writeWhole(QFileDevice& file, const WriteContents& write, bool cutTail) {
    if (!write(file) || !file.flush() || file.error() != QFileDevice::NoError)
        return false;
    const qint64 written = file.pos();
    if (cutTail && !file.resize(written))
        return false;
    return file.size() == written;
}

// The folder refuses new files, but the file itself may be written: the new
// contents go over the old ones, which are put back when that fails half-way.
std::optional<WriteFailure> writeInPlace(const QString& path, const WriteContents& write) {
    QFile file(path);
    QByteArray old;
    bool restorable = false;
    // Unbuffered, so that a failed write leaves nothing pending that a later
    // flush could still put into the file.
    if (file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        if (file.size() <= kMaxRestoreBytes) {
            old = file.readAll();
            restorable = file.error() == QFileDevice::NoError && old.size() == file.size();
        }
        if (!file.seek(0))
            return WriteFailure{WriteFailure::Kind::CannotWrite, file.errorString()};
    } else if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        // Neither readable nor writable after all.
        return WriteFailure{WriteFailure::Kind::CannotOpen, file.errorString()};
    }

    if (writeWhole(file, write, true))
        return std::nullopt;
    const QString reason = file.errorString();
    if (restorable) {
        file.unsetError();
        if (file.seek(0) && file.write(old) == old.size())
            file.resize(old.size());
    }
    return WriteFailure{WriteFailure::Kind::CannotWrite, reason};
}

} // namespace

std::optional<WriteFailure> writeFileSafely(const QString& path, const WriteContents& write) {
    // exists() and isFile() follow symbolic links: a link counts as what it
    // points to. Checked before anything is opened, since opening a pipe for
    // writing waits for a reader.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return WriteFailure{WriteFailure::Kind::NotRegularFile, {}};

    QSaveFile file(path);
    // QSaveFile's own direct-write fallback truncates the old file first; the
    // fallback below can put the old contents back.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        // QSaveFile refuses an existing file that is not writable by itself,
        // so what failed here is the temporary file beside the target.
        if (target.isFile() && target.isWritable())
            return writeInPlace(path, write);
        return WriteFailure{WriteFailure::Kind::CannotOpen, file.errorString()};
    }
    if (!writeWhole(file, write, false)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return WriteFailure{WriteFailure::Kind::CannotWrite, reason};
    }
    if (!file.commit())
        return WriteFailure{WriteFailure::Kind::CannotWrite, file.errorString()};
    return std::nullopt;
}

std::optional<WriteFailure> writeFileSafely(const QString& path, const QByteArray& bytes) {
    return writeFileSafely(
        path, [&bytes](QIODevice& device) { return device.write(bytes) == bytes.size(); });
}

} // namespace tamsor
