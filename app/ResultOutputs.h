#pragma once

#include "FileChooser.h"
#include "Message.h"
#include "ReportDescription.h"
#include "TitleBlock.h"
#include "UserSettings.h"

#include <QDate>
#include <QString>

#include <optional>

namespace tamsor {

class ProjectSession;

// The files written from the results besides the report, and what the window
// decides about them before and after its save dialog: the dialog, the name
// it offers, whether the results allow the file, the write and its message.
enum class ResultOutput {
    Csv,     // the results table
    Book,    // the calculation book (PDF)
    PlotPng, // a plot as an image
    PlotSvg, // a plot as a drawing
};

[[nodiscard]] FileDialogKind outputDialog(ResultOutput output);

// The name the save dialog offers: the project file's name with the output's
// ending ("塔.csv"), or for a project without a file "结果表.csv",
// "计算书.pdf", "结果图.png" or "结果图.svg".
[[nodiscard]] QString offeredOutputName(ResultOutput output, const QString& projectFile);

// Why the output cannot be written from the session's results: they do not
// belong to the present input ("needs current results"), or, for the book,
// what the report refuses in them. Nothing when it can.
[[nodiscard]] std::optional<Message> outputRefusal(const ProjectSession& session,
                                                   ResultOutput output);

// Writes the session's current results as CSV or as the calculation book;
// the refusal or the failure to show, an existing file untouched then.
[[nodiscard]] std::optional<Message> writeResultCsv(const ProjectSession& session,
                                                    const QString& path);
[[nodiscard]] std::optional<Message> writeResultBook(const ProjectSession& session,
                                                     const QString& path, const TitleBlock& block,
                                                     const ReportContact& contact);

// The report page or the book was written, but no program could be started
// to show it: where it is, and what to open it with.
enum class WrittenDocument { Report, Book };
[[nodiscard]] Message documentNotShown(WrittenDocument document, const QString& path);

// The title block: who computes and who checks is remembered for the next
// book; the project's name and the date belong to each book. A new book's
// block has the remembered names, the project file's name without ".wvd" and
// today's date; every field stays editable.
[[nodiscard]] TitleBlock newTitleBlock(const TitleBlock& remembered, const QString& projectFile,
                                       const QDate& today);

// The contact the report's footer names (organisation, e-mail), as the user
// set it in the title block dialog; empty fields when none.
[[nodiscard]] ReportContact rememberedContact(const UserSettings& settings);

// Why a contact cannot go into the report: a field with a character GB2312
// does not hold, or a line break. Nothing when it can.
[[nodiscard]] std::optional<Message> contactRefusal(const ReportContact& contact);

// The remembered names (计算, 校对) and the footer's contact in the user's
// settings; the project name
// and date that older settings files hold are ignored, and removed at the
// next store. When they cannot be stored they are kept for this run.
class TitleBlockMemory {
public:
    explicit TitleBlockMemory(UserSettings settings) : settings_(std::move(settings)) {}

    // Only calculatedBy and checkedBy are filled in.
    [[nodiscard]] TitleBlock remembered() const;
    [[nodiscard]] ReportContact contact() const;
    // False when the settings could not be stored.
    bool remember(const TitleBlock& block, const ReportContact& contact = {});

private:
    UserSettings settings_;
    std::optional<TitleBlock> unstored_;
    std::optional<ReportContact> unstoredContact_;
};

} // namespace tamsor
