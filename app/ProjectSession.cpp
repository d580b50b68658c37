#include "ProjectSession.h"

#include "CodeChecks.h"
#include "HtmlReport.h"
#include "ProjectFile.h"
#include "ResultFields.h"

#include <string>
#include <utility>

namespace tamsor {

ProjectSession::ProjectSession(MessageSink& sink, QObject* parent) : QObject(parent), form_(sink) {
    saved_ = form_.input();
    form_.changed = [this] { formWasChanged(); };
}

ProjectSession::~ProjectSession() {
    form_.changed = nullptr;
}

void ProjectSession::formWasChanged() {
    const bool modified = !sameInProjectFile(form_.input(), saved_);
    if (modified != modified_) {
        modified_ = modified;
        emit modifiedChanged(modified_);
    }
    emit formChanged();
    if (!syncingButtons_)
        noteResults(false);
}

void ProjectSession::noteResults(bool replaced) {
    const bool current = resultsCurrent();
    if (form_.resultButtonsEnabled() != current) {
        syncingButtons_ = true;
        form_.setResultButtonsEnabled(current);
        syncingButtons_ = false;
    }
    if (replaced || current != resultsCurrent_) {
        resultsCurrent_ = current;
        emit resultsChanged(current);
    }
}

void ProjectSession::markUnchanged(const QString& file) {
    saved_ = form_.input();
    if (currentFile_ != file) {
        currentFile_ = file;
        emit currentFileChanged(currentFile_);
    }
    formWasChanged();
}

void ProjectSession::newProject() {
    edition_ = Edition::GB201X;
    form_.newProject();
    markUnchanged(QString());
}

bool ProjectSession::open(const QString& path) {
    // New, then what the file holds; a failed read shows what it loaded, with
    // New's values for the rest, before its message.
    edition_ = Edition::GB201X;
    const ProjectRead read = readProjectFile(path);
    form_.show(read.input);
    markUnchanged(read.complete() ? path : QString());
    if (read.failure)
        form_.sink().show(*read.failure);
    return read.complete();
}

std::optional<ParsedInput> ProjectSession::commandGate() {
    return form_.commandGate();
}

std::optional<Message> ProjectSession::save(const QString& path) {
    if (std::optional<Message> failure = writeProjectFile(path, form_.input()))
        return failure;
    markUnchanged(path);
    return std::nullopt;
}

ComputeOutcome computeCommand(InputForm& form, Edition edition, ResultsPtr& results) {
    const std::optional<ParsedInput> numbers = form.commandGate();
    if (!numbers)
        return ComputeOutcome{};
    Outcome<ResultsPtr> computed = tamsor::compute(form.input(), *numbers, edition);
    ComputeOutcome outcome;
    if (const ComputeFault* fault = std::get_if<ComputeFault>(&computed)) {
        // Partial results are neither plotted nor reported: a fault leaves none.
        results = nullptr;
        outcome.status = ComputeOutcome::Status::Faulted;
        outcome.fault = inputError(fault->message());
        outcome.warnings = checkPlausibility(*numbers);
        return outcome;
    }
    results = std::move(std::get<ResultsPtr>(computed));
    outcome.status = ComputeOutcome::Status::Computed;
    outcome.warnings = checkPlausibility(*numbers);
    outcome.failedChecks = checkAgainstCodes(*results);
    outcome.notices = resultNotices(*results);
    return outcome;
}

ComputeOutcome ProjectSession::compute() {
    ComputeOutcome outcome = computeCommand(form_, edition_, results_);
    if (outcome.status == ComputeOutcome::Status::Refused)
        return outcome;
    // Whoever follows the results hears of them once, when they are complete.
    noteResults(true);
    outcome.notice = outcome.fault
                         ? faultNotice(*outcome.fault, outcome.warnings)
                         : computeNotice(outcome.warnings, outcome.failedChecks, outcome.notices);
    return outcome;
}

namespace {

void appendWarnings(std::string& text, const std::vector<InputWarning>& warnings) {
    if (warnings.empty())
        return;
    if (!text.empty())
        text += "\n\n";
    text += "以下输入数据可能有误，请核对：";
    for (const InputWarning& warning : warnings)
        text += "\n· " + warning.text;
}

} // namespace

Message faultNotice(const Message& fault, const std::vector<InputWarning>& warnings) {
    Message notice = fault;
    appendWarnings(notice.text, warnings);
    return notice;
}

std::optional<Message> computeNotice(const std::vector<InputWarning>& warnings,
                                     const std::vector<CodeFinding>& failedChecks,
                                     const std::vector<ResultNotice>& notices) {
    if (warnings.empty() && failedChecks.empty() && notices.empty())
        return std::nullopt;
    std::string text;
    appendWarnings(text, warnings);
    if (!failedChecks.empty()) {
        if (!text.empty())
            text += "\n\n";
        text += "与现行规范对照：";
        for (const CodeFinding& finding : failedChecks)
            text += "\n· " + finding.text();
    }
    for (const ResultGroup& group : kResultGroups) {
        bool headed = false;
        for (const ResultNotice& notice : notices) {
            if (notice.group != group.key)
                continue;
            if (!headed) {
                if (!text.empty())
                    text += "\n\n";
                text.append(group.caption).append("：");
                headed = true;
            }
            text += "\n· " + notice.text;
        }
    }
    return Message{std::move(text), "提    示", Message::Icon::Exclamation};
}

void ProjectSession::setEdition(Edition edition) {
    edition_ = edition;
    noteResults(false);
}

bool ProjectSession::resultsCurrent() const {
    return results_ != nullptr && results_->edition() == edition_ &&
           results_->input() == form_.input();
}

Message ProjectSession::noCurrentResults() {
    return inputError("没有与当前输入相符的计算结果，请先计算风振响应。");
}

std::optional<Message> ProjectSession::reportRefusal() const {
    if (!resultsCurrent())
        return noResultsRefusal();
    return tamsor::reportRefusal(*results_);
}

std::optional<Message> ProjectSession::writeReport(const QString& path,
                                                   const ReportContact& contact) const {
    if (!resultsCurrent())
        return noResultsRefusal();
    return writeHtmlReport(*results_, path, contact);
}

} // namespace tamsor
