#include "ResultOutputs.h"

#include "CalculationBook.h"
#include "ProjectSession.h"
#include "ResultTable.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace tamsor {

namespace {

const QString kGroup = QStringLiteral("titleBlock");
const QString kCalculatedBy = QStringLiteral("calculatedBy");
const QString kCheckedBy = QStringLiteral("checkedBy");
// Kept by older versions, which remembered the whole block.
const QString kProjectName = QStringLiteral("projectName");
const QString kDate = QStringLiteral("date");

} // namespace

FileDialogKind outputDialog(ResultOutput output) {
    switch (output) {
    case ResultOutput::Csv:
        return FileDialogKind::CsvTable;
    case ResultOutput::Book:
        return FileDialogKind::Book;
    case ResultOutput::PlotPng:
        return FileDialogKind::PlotImage;
    case ResultOutput::PlotSvg:
        break;
    }
    return FileDialogKind::PlotDrawing;
}

QString offeredOutputName(ResultOutput output, const QString& projectFile) {
    QString name = QFileInfo(projectFile).completeBaseName();
    if (name.isEmpty()) {
        switch (output) {
        case ResultOutput::Csv:
            name = QStringLiteral("结果表");
            break;
        case ResultOutput::Book:
            name = QStringLiteral("计算书");
            break;
        case ResultOutput::PlotPng:
        case ResultOutput::PlotSvg:
            name = QStringLiteral("结果图");
            break;
        }
    }
    return name + fileDialogTexts(outputDialog(output)).requiredEnding;
}

std::optional<Message> outputRefusal(const ProjectSession& session, ResultOutput output) {
    if (!session.resultsCurrent())
        return ProjectSession::noCurrentResults();
    if (output == ResultOutput::Book)
        return calculationBookRefusal(*session.results());
    return std::nullopt;
}

std::optional<Message> writeResultCsv(const ProjectSession& session, const QString& path) {
    if (auto refusal = outputRefusal(session, ResultOutput::Csv))
        return refusal;
    return writeResultTableCsv(*session.results(), path);
}

std::optional<Message> writeResultBook(const ProjectSession& session, const QString& path,
                                       const TitleBlock& block) {
    if (auto refusal = outputRefusal(session, ResultOutput::Book))
        return refusal;
    return writeCalculationBookPdf(*session.results(), block, path);
}

Message bookNotShown(const QString& path) {
    return Message{"计算书已写入“" + QDir::toNativeSeparators(path).toStdString() +
                       "”，但找不到能显示它的程序，请用PDF阅读器打开它。",
                   "警告", Message::Icon::Exclamation};
}

TitleBlock newTitleBlock(const TitleBlock& remembered, const QString& projectFile,
                         const QDate& today) {
    TitleBlock block;
    block.projectName = QFileInfo(projectFile).completeBaseName();
    block.calculatedBy = remembered.calculatedBy;
    block.checkedBy = remembered.checkedBy;
    return withDate(block, today);
}

TitleBlock TitleBlockMemory::remembered() const {
    if (unstored_)
        return *unstored_;
    TitleBlock block;
    settings_.read([&block](const QSettings& settings) {
        block.calculatedBy = settings.value(kGroup + '/' + kCalculatedBy).toString();
        block.checkedBy = settings.value(kGroup + '/' + kCheckedBy).toString();
    });
    return block;
}

bool TitleBlockMemory::remember(const TitleBlock& block) {
    TitleBlock names;
    names.calculatedBy = block.calculatedBy;
    names.checkedBy = block.checkedBy;
    const bool stored = settings_.store([&names](QSettings& settings) {
        settings.beginGroup(kGroup);
        settings.setValue(kCalculatedBy, names.calculatedBy);
        settings.setValue(kCheckedBy, names.checkedBy);
        settings.remove(kProjectName);
        settings.remove(kDate);
        settings.endGroup();
    });
    if (stored)
        unstored_.reset();
    else
        unstored_ = names;
    return stored;
}

} // namespace tamsor
