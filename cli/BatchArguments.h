#pragma once

// The command line of tamsor-batch: its options, how they are read and the
// usage text.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>

namespace tamsor {

enum class BatchFormat { Text, Json, Csv };

// Paths are kept as given, in NativePath's lossless QString form (main()
// hands the program arguments over in it): a name that is not valid UTF-8
// still names its file. They reach the file system only through the session,
// the writers (writeFileSafely) and SafeRead.h, and messages show them with
// NativePath::display().
struct BatchOptions {
    std::int16_t codeVersion = 0; // 0 = GB50009-201X, 1 = GB50009-2001
    BatchFormat format = BatchFormat::Text;
    QString reportPath; // empty: no report
    QString pdfPath;    // empty: no calculation book
    // Title block fields given on the command line; the others come from the
    // user's settings, as the window remembers them.
    std::optional<QString> projectName, calculatedBy, checkedBy, date;
    QStringList projects;
    bool help = false;
};

// Result of reading the command line: the options, or the reason it was refused.
struct ParsedArguments {
    std::optional<BatchOptions> options;
    std::string error; // UTF-8, set when options is empty
};

// args[0] is the program name. The program's arguments are bytes: main()
// converts them with batchArguments(), never through
// QCoreApplication::arguments(), which turns bytes that are not UTF-8 into
// U+FFFD and so names another file. Refuses (a usage error, before anything
// is read or written) a report or book path that names the project or each
// other, also through hard links and links that do not lead anywhere yet.
// Needs no QCoreApplication.
[[nodiscard]] ParsedArguments parseBatchArguments(const QStringList& args);

// The program's arguments as runBatch takes them: each in NativePath's
// lossless QString form.
[[nodiscard]] QStringList batchArguments(int argc, const char* const* argv);

// Whether the command needs a QGuiApplication (the calculation book needs
// fonts); every other use runs without any application object.
[[nodiscard]] bool needsGuiApplication(const QStringList& args);

// The usage text printed by --help and after a usage error (UTF-8, ends in a
// line end).
[[nodiscard]] std::string batchUsage();

} // namespace tamsor
