#pragma once

// tamsor-batch: runs saved projects as the window runs Open followed by the
// compute button, and writes their results in one of the output forms
// (BatchOutput.h) and their messages as lines of text.

#include "BatchArguments.h"
#include "Message.h"
#include "Plausibility.h"
#include "Results.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <iosfwd>
#include <string>

namespace tamsor {

// Exit statuses of tamsor-batch. With several projects the highest status met
// is returned.
inline constexpr int kBatchOk = 0;      // every project computed
inline constexpr int kBatchRefused = 1; // a project was refused (file, parse or gate),
                                        // or a report / the output could not be written
inline constexpr int kBatchUsage = 2;   // bad command line
inline constexpr int kBatchFault = 3;   // a computation stopped on an arithmetic fault

class InputForm;
class ProjectSession;
struct ComputeOutcome;

// One project as the window runs Open with the file at `path` and then the
// compute command: New, the reader, the loaded input shown in the form and
// the reader's message if it stopped; then the compute command
// (computeCommand) under the edition given. Every message goes to the
// form's sink in the order the window shows them. Returns the exit status;
// `outcome` is what the compute command came to (its warnings and failed
// checks), `results` what it computed when the status is kBatchOk.
[[nodiscard]] int runProject(InputForm& form, const QString& path, std::int16_t codeVersion,
                             ComputeOutcome& outcome, ResultsPtr& results);

// The same through a project session, as the window runs it: Open, the
// edition applied after the read, the compute command. On kBatchOk the
// session holds current results, from which the report and the calculation
// book are written.
[[nodiscard]] int runProject(ProjectSession& session, const QString& path, std::int16_t codeVersion,
                             ComputeOutcome* outcome = nullptr);

// "title: text" as the window shows a message (just the text when it has no
// title).
[[nodiscard]] std::string messageLine(const Message& message);

// A warning as a message, title "提示": standard error shows it as
// "提示: " and its text.
[[nodiscard]] Message warningMessage(const InputWarning& warning);

// The whole command: reads the arguments, runs every project in order, writes
// results to `out` and messages to `err` (both UTF-8) and returns the exit
// status. Needs no QCoreApplication, but --pdf needs a QGuiApplication
// (needsGuiApplication) and is refused without one.
[[nodiscard]] int runBatch(const QStringList& args, std::ostream& out, std::ostream& err);

} // namespace tamsor
