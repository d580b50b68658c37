#include "NativePath.h"

#include <QByteArrayView>

#include <algorithm>

#include <utility>

namespace tamsor {

namespace {

// The code points that stand for raw bytes 0x80..0xFF in the QString form.
constexpr char16_t kRawByteBase = 0xDC00;

bool isRawByte(char16_t c) {
    return c >= kRawByteBase + 0x80 && c <= kRawByteBase + 0xFF;
}

// Length of the UTF-8 sequence a lead byte starts; 0 for a byte that starts
// none. Whether the sequence is valid is left to Qt.
qsizetype sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

} // namespace

NativePath::NativePath(const QString& path) {
    const auto raw = [](QChar c) { return isRawByte(c.unicode()); };
    if (std::none_of(path.begin(), path.end(), raw)) {
        bytes_ = path.toUtf8();
        return;
    }
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path[i];
        // The low half of a surrogate pair is a character, not a byte.
        if (c.isHighSurrogate() && i + 1 < path.size() && path[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (!raw(c))
            continue;
        bytes_ += QStringView(path).mid(runStart, i - runStart).toUtf8();
        bytes_ += static_cast<char>(c.unicode() - kRawByteBase);
        runStart = i + 1;
    }
    bytes_ += QStringView(path).mid(runStart).toUtf8();
}

NativePath NativePath::fromBytes(QByteArray bytes) {
    NativePath path;
    path.bytes_ = std::move(bytes);
    return path;
}

bool NativePath::isValidUtf8() const {
    return QByteArrayView(bytes_).isValidUtf8();
}

QString NativePath::toQString() const {
    if (isValidUtf8())
        return QString::fromUtf8(bytes_);
    QString text;
    const qsizetype size = bytes_.size();
    for (qsizetype i = 0; i < size;) {
        const auto lead = static_cast<unsigned char>(bytes_[i]);
        const qsizetype length = sequenceLength(lead);
        const bool whole = length > 0 && i + length <= size;
        const QByteArrayView sequence =
            whole ? QByteArrayView(bytes_).sliced(i, length) : QByteArrayView();
        if (whole && sequence.isValidUtf8()) {
            text += QString::fromUtf8(sequence);
            i += length;
        } else {
            text += QChar(static_cast<char16_t>(kRawByteBase + lead));
            ++i;
        }
    }
    return text;
}

QString NativePath::display() const {
    return QString::fromUtf8(bytes_);
}

QByteArray NativePath::fileName() const {
    return bytes_.mid(bytes_.lastIndexOf('/') + 1);
}

NativePath NativePath::folder() const {
    const qsizetype slash = bytes_.lastIndexOf('/');
    if (slash < 0)
        return fromBytes(QByteArrayLiteral("."));
    if (slash == 0)
        return fromBytes(QByteArrayLiteral("/"));
    return fromBytes(bytes_.left(slash));
}

NativePath NativePath::child(const QByteArray& name) const {
    if (bytes_.endsWith('/'))
        return fromBytes(bytes_ + name);
    return fromBytes(bytes_ + '/' + name);
}

} // namespace tamsor
