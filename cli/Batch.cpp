#include "Batch.h"

#include "BatchOutput.h"
#include "CalculationBook.h"
#include "DesktopFiles.h"
#include "InputForm.h"
#include "NativePath.h"
#include "ProjectFile.h"
#include "ProjectSession.h"
#include "ResultOutputs.h"
#include "TitleBlock.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <memory>
#include <ostream>
#include <thread>
#include <utility>
#include <vector>

namespace tamsor {

namespace {

std::string utf8(const QString& s) {
    const QByteArray bytes = s.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

namespace {

// The exit status of what the compute command came to; a fault's message
// goes to the sink, as the window shows it.
int commandStatus(const ComputeOutcome& outcome, MessageSink& sink) {
    switch (outcome.status) {
    case ComputeOutcome::Status::Refused:
        return kBatchRefused;
    case ComputeOutcome::Status::Faulted:
        sink.show(*outcome.fault);
        return kBatchFault;
    case ComputeOutcome::Status::Computed:
        break;
    }
    return kBatchOk;
}

Edition editionOf(std::int16_t codeVersion) {
    return codeVersion == 0 ? Edition::GB201X : Edition::GB2001;
}

} // namespace

int runProject(InputForm& form, const QString& path, std::int16_t codeVersion,
               ComputeOutcome& outcome, ResultsPtr& results) {
    // Open: New, the reader, what it loaded shown, then its message.
    const ProjectRead read = readProjectFile(path);
    form.show(read.input);
    if (read.failure) {
        form.sink().show(*read.failure);
        return kBatchRefused;
    }
    outcome = computeCommand(form, editionOf(codeVersion), results);
    return commandStatus(outcome, form.sink());
}

int runProject(ProjectSession& session, const QString& path, std::int16_t codeVersion,
               ComputeOutcome* computed) {
    if (!session.open(path))
        return kBatchRefused;
    // A complete read resets the edition to 201X; the chosen one applies from
    // here on, as if picked in the options dialog after opening.
    session.setEdition(editionOf(codeVersion));
    ComputeOutcome outcome = session.compute();
    if (computed)
        *computed = outcome;
    const int status = commandStatus(outcome, session.form().sink());
    if (status == kBatchOk && !session.resultsCurrent()) {
        session.form().sink().show(ProjectSession::noCurrentResults());
        return kBatchRefused;
    }
    return status;
}

std::string messageLine(const Message& message) {
    if (message.title.empty())
        return message.text;
    return message.title + ": " + message.text;
}

Message warningMessage(const InputWarning& warning) {
    return Message{warning.text, "提示", Message::Icon::None};
}

namespace {

// What one project gives: its status, its results in the chosen form (empty
// when it was refused) and its message lines.
struct ProjectResult {
    int status = kBatchOk;
    std::string out;
    std::string err;
};

// The calculation book of a computed project, with the title block the
// window remembers and the fields given on the command line. It runs on the
// calling thread: --pdf takes one project, which runAll runs there.
std::optional<Message> writeBook(const ProjectSession& session, const BatchOptions& options) {
    if (!canPaintCalculationBook())
        return Message{"生成PDF计算书需要图形库(QGuiApplication)", "错误", Message::Icon::Critical};
    // As the window's dialog starts: the remembered names, the project
    // file's name, today.
    const UserSettings settings;
    TitleBlock block = newTitleBlock(TitleBlockMemory(settings).remembered(), session.currentFile(),
                                     QDate::currentDate());
    const std::pair<const std::optional<QString>*, QString*> fields[] = {
        {&options.projectName, &block.projectName},
        {&options.calculatedBy, &block.calculatedBy},
        {&options.checkedBy, &block.checkedBy},
        {&options.date, &block.date}};
    for (const auto& [given, field] : fields)
        if (*given)
            *field = **given;
    return writeCalculationBookPdf(*session.results(), withDate(block, QDate::currentDate()),
                                   options.pdfPath, rememberedContact(settings));
}

ProjectResult runOne(const QString& path, const BatchOptions& options, bool nameFiles) {
    // A new form for every project, as a new window would have: a form that
    // showed another project keeps numbers of it.
    MessageRecorder recorder;
    ProjectResult result;
    ComputeOutcome outcome;
    ResultsPtr results;
    // The report and the calculation book are written from the current
    // results of a project session, as the window writes them (they take one
    // project); the other outputs need no session.
    std::unique_ptr<ProjectSession> session;
    if (options.reportPath.isEmpty() && options.pdfPath.isEmpty()) {
        InputForm form(recorder);
        result.status = runProject(form, path, options.codeVersion, outcome, results);
    } else {
        session = std::make_unique<ProjectSession>(recorder);
        result.status = runProject(*session, path, options.codeVersion, &outcome);
        results = session->results();
    }
    // Warnings follow the messages of the computation; they are no refusal.
    for (const InputWarning& warning : outcome.warnings)
        recorder.messages.push_back(warningMessage(warning));
    // The writers show the file's name; the path itself may hold raw bytes.
    const std::string shownPath = utf8(NativePath(path).display());
    if (result.status == kBatchOk) {
        switch (options.format) {
        case BatchFormat::Text:
            result.out = resultText(*results, outcome, shownPath);
            break;
        case BatchFormat::Json:
            result.out = resultJson(*results, outcome, shownPath);
            result.out += '\n';
            break;
        case BatchFormat::Csv:
            result.out = resultCsv(*results, outcome, shownPath);
            break;
        }
        if (!options.reportPath.isEmpty()) {
            if (const std::optional<Message> refusal =
                    session->writeReport(options.reportPath, rememberedContact(UserSettings()))) {
                recorder.messages.push_back(*refusal);
                result.status = kBatchRefused;
            }
        }
        if (!options.pdfPath.isEmpty()) {
            if (const std::optional<Message> refusal = writeBook(*session, options)) {
                recorder.messages.push_back(*refusal);
                result.status = kBatchRefused;
            }
        }
    }
    // Like grep: with several projects every message names its file.
    const std::string prefix = nameFiles ? shownPath + ": " : std::string();
    for (const Message& message : recorder.messages)
        result.err += prefix + messageLine(message) + "\n";
    return result;
}

// Projects are independent: they are run a block at a time on every core,
// and each block's results are handed on together in the order of the
// projects, so the output is the same as one after the other.
constexpr qsizetype kBlockSize = 256;

template <typename Consume>
void runAll(const BatchOptions& options, bool nameFiles, Consume&& consume) {
    const qsizetype count = options.projects.size();
    const auto cores = static_cast<qsizetype>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<ProjectResult> block;
    for (qsizetype first = 0; first < count; first += kBlockSize) {
        const qsizetype size = std::min(kBlockSize, count - first);
        block.assign(static_cast<std::size_t>(size), ProjectResult{});
        std::atomic<qsizetype> next{0};
        const auto work = [&] {
            for (qsizetype i = next++; i < size; i = next++)
                block[static_cast<std::size_t>(i)] =
                    runOne(options.projects[first + i], options, nameFiles);
        };
        std::vector<std::thread> helpers;
        for (qsizetype t = 1; t < std::min(cores, size); ++t)
            helpers.emplace_back(work);
        work();
        for (std::thread& helper : helpers)
            helper.join();
        consume(std::as_const(block));
    }
}

} // namespace

int runBatch(const QStringList& args, std::ostream& out, std::ostream& err) {
    const ParsedArguments parsed = parseBatchArguments(args);
    if (!parsed.options) {
        err << "用法错误: " << parsed.error << "\n\n" << batchUsage();
        err.flush();
        return kBatchUsage;
    }
    const BatchOptions& options = *parsed.options;
    if (options.help) {
        out << batchUsage();
        out.flush();
        return out ? kBatchOk : kBatchRefused;
    }

    int worst = kBatchOk;
    bool firstText = true;
    if (options.format == BatchFormat::Csv)
        out << csvHeader();
    // Results and messages are gathered and written some 64 KiB at a time:
    // a stream writes anything longer than a kilobyte through a system call
    // of its own.
    constexpr std::size_t kWriteBytes = std::size_t{64} << 10;
    std::string outText;
    std::string errText;
    const auto write = [](std::ostream& stream, std::string& text) {
        stream.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    };
    runAll(options, options.projects.size() > 1, [&](const std::vector<ProjectResult>& block) {
        for (const ProjectResult& result : block) {
            if (!result.out.empty()) {
                // A blank line between the tables of the text form.
                if (options.format == BatchFormat::Text && !firstText)
                    outText += '\n';
                firstText = false;
                outText += result.out;
            }
            errText += result.err;
            worst = std::max(worst, result.status);
            if (outText.size() >= kWriteBytes)
                write(out, outText);
            if (errText.size() >= kWriteBytes)
                write(err, errText);
        }
    });
    write(out, outText);
    write(err, errText);

    out.flush();
    if (!out) {
        err << "错误: 计算结果无法写出\n";
        worst = std::max(worst, kBatchRefused);
    }
    err.flush();
    return worst;
}

} // namespace tamsor
