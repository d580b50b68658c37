#pragma once

#include "CodeChecks.h"
#include "Edition.h"
#include "InputForm.h"
#include "Message.h"
#include "Plausibility.h"
#include "ReportDescription.h"
#include "ResultNotices.h"
#include "Results.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

namespace tamsor {

// What the compute command came to.
struct ComputeOutcome {
    enum class Status {
        Refused,  // the command gate stopped it (its messages went to the sink)
        Faulted,  // the computation stopped on an arithmetic fault
        Computed, // every result was formed
    };
    Status status = Status::Refused;
    // When Faulted: the fault ("错误提示", the fault's text).
    std::optional<Message> fault;
    // Input that was most likely mistyped (also when Faulted: such input is
    // often what faulted), and when Computed where the results depart from
    // the codes in force and what the checks beside the along-wind results
    // found (a cross-wind resonance or the check's refusal, the two beta_z
    // far apart, a comfort limit exceeded). None changes the status, and
    // only the warnings are about the input.
    std::vector<InputWarning> warnings;
    std::vector<CodeFinding> failedChecks;
    std::vector<ResultNotice> notices;
    // The one message the window shows after the computation: when Faulted,
    // the fault followed by the warnings; when Computed and any list is not
    // empty, the notice ("提    示"), warnings first.
    std::optional<Message> notice;
};

// The notice for a computation's warnings, failed checks and the notices of
// its results, each notice under the caption of its result group; nothing
// when all are empty.
[[nodiscard]] std::optional<Message> computeNotice(const std::vector<InputWarning>& warnings,
                                                   const std::vector<CodeFinding>& failedChecks,
                                                   const std::vector<ResultNotice>& notices = {});
// The fault with the warnings about the input below it.
[[nodiscard]] Message faultNotice(const Message& fault, const std::vector<InputWarning>& warnings);

// The compute command on a form, as the session runs it and the batch
// command without a session: the command gate (its messages go to the
// form's sink), the computation of the form's input under the edition, then
// the checks of the input and of the results. `results` receives the
// results of a computation that succeeded and nothing after a fault; a
// refused command leaves it as it was. The notice is left to whoever shows
// one (computeNotice, faultNotice).
[[nodiscard]] ComputeOutcome computeCommand(InputForm& form, Edition edition, ResultsPtr& results);

// The workflow of one project, shared by the main window, the batch command
// (for the report and the calculation book) and the tests: it owns the input form, the edition of
// the load code and the results of the last computation, and runs New, Open, Save, Compute and the
// report. Every message of the input logic and of the project file's reader
// goes to the sink given at construction, in the order the window shows them.
//
// It also knows the file the project belongs to and whether the project has
// changed since it was last created, opened or saved: "changed" means that
// the present input differs from the saved one in anything the file keeps, so
// typing a text and taking it back again is no change.
class ProjectSession : public QObject {
    Q_OBJECT
public:
    explicit ProjectSession(MessageSink& sink, QObject* parent = nullptr);
    ~ProjectSession() override;

    InputForm& form() { return form_; }
    const InputForm& form() const { return form_; }

    // The project's input as the form holds it.
    const ProjectInput& input() const { return form_.input(); }

    // New, the project part: every box "0", each list on its first entry, no
    // tail, the 201X edition, results stale. The project has no file and is
    // unchanged.
    void newProject();
    // Open with a chosen file: New, then the reader, the loaded input shown in
    // the form, then the reader's message if it stopped. True when the whole
    // file was read; the file is then the project's file. A failed read
    // keeps what it loaded (and no file). Either way the project counts as
    // unchanged.
    bool open(const QString& path);
    // The command gate of every command: re-parse every box, then the checks;
    // the numbers of the input when it passes.
    [[nodiscard]] std::optional<ParsedInput> commandGate();
    // Writes the project file (the caller has passed the gate). On success
    // the file is the project's file and the project is unchanged.
    [[nodiscard]] std::optional<Message> save(const QString& path);
    // The compute command: the gate, then the computation, then the checks
    // of the input and of the results.
    [[nodiscard]] ComputeOutcome compute();
    // The load code edition the computation follows: New and Open set 201X;
    // the options dialog's OK sets the chosen one, and results computed under
    // another no longer count as current. It is no part of the project file.
    [[nodiscard]] Edition edition() const { return edition_; }
    void setEdition(Edition edition);

    // The results of the last computation that succeeded, until the next
    // computation; nothing before the first and after one that faulted.
    // They may belong to other input: ask resultsCurrent().
    [[nodiscard]] const ResultsPtr& results() const { return results_; }
    // True when there are results and they were computed from the present
    // input under the present edition: the one decision whether results may
    // be plotted, reported or written out. Input changed and changed back
    // again has its results back.
    [[nodiscard]] bool resultsCurrent() const;
    // What a command that needs current results says when there are none.
    [[nodiscard]] static Message noCurrentResults();
    // Why the report cannot be written: no current results, or what the
    // report refuses in them; nothing when it can.
    [[nodiscard]] std::optional<Message> reportRefusal() const;
    // Checks and writes the report of the current results (the window's
    // writer).
    [[nodiscard]] std::optional<Message> writeReport(const QString& path,
                                                     const ReportContact& contact = {}) const;

    [[nodiscard]] bool isModified() const { return modified_; }
    // The project's file; empty for a new project or after a failed read.
    [[nodiscard]] const QString& currentFile() const { return currentFile_; }

signals:
    // After every change of the boxes, lists, colours and button states.
    void formChanged();
    void modifiedChanged(bool modified);
    void currentFileChanged(const QString& path);
    // After a computation (its results replaced, whatever its outcome) and
    // whenever resultsCurrent() changes: `current` is its new value.
    void resultsChanged(bool current);

private:
    void formWasChanged();
    // Emits resultsChanged when the results were replaced or resultsCurrent()
    // changed; the form's result buttons follow resultsCurrent().
    void noteResults(bool replaced);
    // What was created, opened or saved: the project is unchanged from here.
    void markUnchanged(const QString& file);

    InputForm form_;
    Edition edition_ = Edition::GB201X;
    ResultsPtr results_;
    ProjectInput saved_; // as created, opened or saved last
    QString currentFile_;
    bool modified_ = false;
    bool resultsCurrent_ = false; // as last announced by resultsChanged
    bool syncingButtons_ = false; // the form's result buttons are being set
};

} // namespace tamsor
