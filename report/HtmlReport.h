#pragma once

#include "Message.h"
#include "ProjectModel.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <string_view>

namespace tamsor {

// The results of the result field table (ResultFields.h) that the page shows,
// by key (muR and bgFactor each under one edition); the calculation book
// adds the others after the page's results.
inline constexpr std::array<std::string_view, 27> kReportedResults{{
    // per mass point
    "zCoord",
    "meanLoad",
    "meanDisp",
    "windVibForce",
    "dispStd",
    "windVibCoef",
    "eqStaticLoad",
    "muR",
    "bgFactor",
    "lrcBackground",
    "lrcLoad",
    "lrcResonant",
    "totalDisp",
    "gbjLoad",
    // the whole structure
    "dynFactor",
    "exactBaseShear",
    "corrC",
    "alpha",
    "i10",
    "meanBaseShear",
    "meanBaseMoment",
    "fluctBaseShear",
    "fluctBaseMoment",
    "totalBaseShear",
    "totalBaseMoment",
    "lrcBaseShear",
    "lrcBaseMoment",
}};

// Why the model cannot be reported (lists shorter than nFreedom, terrainType
// outside 1..4, results missing or from a faulted computation, ...), or
// nothing when it can.
[[nodiscard]] std::optional<Message> reportRefusal(const ProjectModel& model);

// The whole page: GB2312 without a byte-order mark, CR LF line ends. Only
// call it when reportRefusal() returned nothing; otherwise, or when the text
// cannot be encoded, the result is empty.
[[nodiscard]] QByteArray htmlReportBytes(const ProjectModel& model);

// Checks, builds and writes the page to path through writeFileSafely
// (SafeWrite.h). Returns the message to show when the report is refused or
// cannot be written; an existing file is then untouched, and a folder, device
// or pipe at the path is never replaced.
[[nodiscard]] std::optional<Message> writeHtmlReport(const ProjectModel& model,
                                                     const QString& path);

} // namespace tamsor
