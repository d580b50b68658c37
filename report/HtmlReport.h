#pragma once

#include "Message.h"
#include "ReportDescription.h"
#include "Results.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tamsor {

// What a report without results says: none computed yet, or the last
// computation stopped on a fault.
[[nodiscard]] Message noResultsRefusal();

// Why the results cannot be reported (a value the page shows is not a
// finite number, the resonant component or the corrected load cannot be
// formed), or nothing when they can.
[[nodiscard]] std::optional<Message> reportRefusal(const Results& results);

// The whole page: the sections of the report's description that the page
// shows (ReportDescription.h), GB2312 without a byte-order mark, CR LF line
// ends; the footer names `contact`. Only call it when reportRefusal()
// returned nothing; otherwise, or when the text cannot be encoded, the result
// is empty.
[[nodiscard]] QByteArray htmlReportBytes(const Results& results, const ReportContact& contact = {});

// Checks, builds and writes the page to path through writeFileSafely
// (SafeWrite.h). Returns the message to show when the report is refused or
// cannot be written; an existing file is then untouched, and a folder, device
// or pipe at the path is never replaced.
[[nodiscard]] std::optional<Message> writeHtmlReport(const Results& results, const QString& path,
                                                     const ReportContact& contact = {});

} // namespace tamsor
