#pragma once

#include "Message.h"
#include "Plausibility.h"
#include "ResultFields.h"
#include "Results.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tamsor {

// Exit statuses of tamsor-batch. With several projects the highest status met
// is returned.
inline constexpr int kBatchOk = 0;      // every project computed
inline constexpr int kBatchRefused = 1; // a project was refused (file, parse or gate),
                                        // or a report / the output could not be written
inline constexpr int kBatchUsage = 2;   // bad command line
inline constexpr int kBatchFault = 3;   // a computation stopped on an arithmetic fault

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

class ProjectSession;
struct ComputeOutcome;

// One project run as the window runs Open followed by the compute button:
// Open with the file at `path`, the code edition applied after the read, then
// the compute command. Every message goes to the session's sink in the order
// the window shows them. Returns the exit status; on kBatchOk the session
// holds current results, and `outcome`, when given, what the compute
// command came to (its warnings and failed checks).
[[nodiscard]] int runProject(ProjectSession& session, const QString& path, std::int16_t codeVersion,
                             ComputeOutcome* outcome = nullptr);

// "title: text" as the window shows a message (just the text when it has no
// title).
[[nodiscard]] std::string messageLine(const Message& message);

// The output forms of one computed project: its results and what its
// compute command came to.
[[nodiscard]] QJsonObject resultJson(const Results& results, const ComputeOutcome& outcome,
                                     const QString& file);
[[nodiscard]] std::string resultText(const Results& results, const ComputeOutcome& outcome,
                                     const QString& file);
[[nodiscard]] std::string csvHeader();
[[nodiscard]] std::string resultCsv(const Results& results, const ComputeOutcome& outcome,
                                    const QString& file);

// The fields of a result field table in JSON: each field under its key at
// the top or in its group's object (null when the group is absent), a value
// per mass point as an array, per-mode values in the group's array "modes"
// of one object per mode. A number that is not finite, and a value that
// does not apply, is null; a yes or no is a boolean, a name a string.
[[nodiscard]] QJsonObject fieldsJson(std::span<const ResultField> fields,
                                     std::span<const ResultGroup> groups, const Results& results);
// A warning as a message, title "提示": standard error shows it as
// "提示: " and its text.
[[nodiscard]] Message warningMessage(const InputWarning& warning);

// The whole command: reads the arguments, runs every project in order, writes
// results to `out` and messages to `err` (both UTF-8) and returns the exit
// status. Needs no QCoreApplication, but --pdf needs a QGuiApplication
// (needsGuiApplication) and is refused without one.
[[nodiscard]] int runBatch(const QStringList& args, std::ostream& out, std::ostream& err);

} // namespace tamsor
