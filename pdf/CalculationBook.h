#pragma once

#include "BookLayout.h"
#include "Message.h"
#include "ReportDescription.h"
#include "Results.h"
#include "TitleBlock.h"

#include <QByteArray>
#include <QString>

#include <optional>

class QPageLayout;
class QPaintDevice;
class QPagedPaintDevice;

namespace tamsor {

// The calculation book (计算书): the report's description (every section of
// it, the page's and the book's own, ReportDescription.h) laid out on paper
// (BookLayout.h), with
// - the title block (工程名称, 计算, 校对, 日期) under the title,
// - after each of the three tables of results the plots name (mean,
//   fluctuating, equivalent static load) the pair of plots that the window's
//   plot command of the same results draws, painted by the window's drawing
//   code,
// - the project's name at the head and "第 N 页 共 M 页" at the foot of every
//   page.
// The footer names `contact` as the page's does.
// Everything here needs a QGuiApplication (fonts); nothing needs widgets.

// Why the book cannot be made from the results (what the report refuses), or
// nothing.
[[nodiscard]] std::optional<Message> calculationBookRefusal(const Results& results);

// The book's pages: A4 upright with its margins. The PDF has it; a printer is
// given it before painting.
[[nodiscard]] QPageLayout calculationBookPageLayout();

// Whether this process can paint the book: a QGuiApplication exists.
[[nodiscard]] bool canPaintCalculationBook();

// The pages of the book as they are painted onto the device: its text area
// less the bands of the page header and the page numbers. No pages when that
// leaves no room. Call it only for results the book does not refuse.
[[nodiscard]] BookLayout calculationBookLayout(const QPaintDevice& device, const Results& results,
                                               const TitleBlock& block,
                                               const ReportContact& contact = {});

// Paints every page onto the device (a PDF writer or a printer with its page
// layout set; the margins are the device's). Returns the number of pages: 0
// when the results are refused, no QGuiApplication exists or the device cannot
// be painted on.
int paintCalculationBook(QPagedPaintDevice& device, const Results& results, const TitleBlock& block,
                         const ReportContact& contact = {});

// The book as an A4 PDF with its fonts embedded and its text searchable;
// empty when it cannot be made.
[[nodiscard]] QByteArray calculationBookPdf(const Results& results, const TitleBlock& block,
                                            const ReportContact& contact = {});

// Checks, makes and writes the PDF to path, replacing the file only once the
// new one is complete. The message to show when it is refused or cannot be
// written; an existing file is then untouched.
[[nodiscard]] std::optional<Message> writeCalculationBookPdf(const Results& results,
                                                             const TitleBlock& block,
                                                             const QString& path,
                                                             const ReportContact& contact = {});

} // namespace tamsor
