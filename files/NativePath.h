#pragma once

#include <QByteArray>
#include <QString>

namespace tamsor {

// A file path as the system's bytes. File names on Linux are bytes, and not
// every name is valid UTF-8 (GB2312 names from an archive made on Windows):
// Qt's QFile::encodeName(QFile::decodeName(name)) gives another name for
// those, and Qt's folder listings leave them out. A NativePath keeps the
// bytes, so that such a file is opened, compared and written as the very file
// named.
//
// It also travels losslessly through interfaces that take a QString (the
// batch command's options, the session, the report writer): toQString()
// stands each byte that is not part of valid UTF-8 for a code point of
// U+DC80..U+DCFF, which no text decoded from UTF-8 holds, and the QString
// constructor turns those back into the bytes. Such a QString must reach the
// file system only through the functions of SafeRead.h and SafeWrite.h, never
// through QFile, QFileInfo or QDir; to show it, use display().
class NativePath {
public:
    NativePath() = default;
    // A path typed, chosen or built in the program: UTF-8, except for the
    // code points toQString() uses for raw bytes. Implicit, so that every
    // function taking a NativePath takes a QString path as well.
    NativePath(const QString& path); // NOLINT(google-explicit-constructor)

    // A path as the system gives it (a program argument, a folder entry).
    [[nodiscard]] static NativePath fromBytes(QByteArray bytes);

    [[nodiscard]] const QByteArray& bytes() const { return bytes_; }
    // For POSIX calls; never null.
    [[nodiscard]] const char* c_str() const { return bytes_.constData(); }
    [[nodiscard]] bool isEmpty() const { return bytes_.isEmpty(); }
    [[nodiscard]] bool isValidUtf8() const;

    // The lossless QString form: NativePath(p.toQString()) == p.
    [[nodiscard]] QString toQString() const;
    // The path as messages show it: bytes that are not valid UTF-8 become
    // U+FFFD.
    [[nodiscard]] QString display() const;

    // The last part of the path (after the last "/"), and the folder part
    // before it ("." for a bare name, "/" at the root).
    [[nodiscard]] QByteArray fileName() const;
    [[nodiscard]] NativePath folder() const;
    // This folder and a name below it, joined with one "/".
    [[nodiscard]] NativePath child(const QByteArray& name) const;

    friend bool operator==(const NativePath&, const NativePath&) = default;

private:
    QByteArray bytes_;
};

} // namespace tamsor
