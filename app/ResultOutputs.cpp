#include "ResultOutputs.h"

#include "CalculationBook.h"
#include "ProjectSession.h"
#include "ResultTable.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringEncoder>

#include <utility>

namespace tamsor {

namespace {

const QString kGroup = QStringLiteral("titleBlock");
const QString kCalculatedBy = QStringLiteral("calculatedBy");
const QString kCheckedBy = QStringLiteral("checkedBy");
// Kept by older versions, which remembered the whole block.
const QString kProjectName = QStringLiteral("projectName");
const QString kDate = QStringLiteral("date");
const QString kOrganisation = QStringLiteral("reportContact/organisation");
const QString kEmail = QStringLiteral("reportContact/email");

bool fitsTheReport(const std::string& text) {
    const QString field = QString::fromStdString(text);
    if (field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')))
        return false;
    QStringEncoder encoder("GB2312");
    const QByteArray bytes = encoder.encode(field); // encodes only when converted
    Q_UNUSED(bytes)
    return !encoder.hasError();
}

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
                                       const TitleBlock& block, const ReportContact& contact) {
    if (auto refusal = outputRefusal(session, ResultOutput::Book))
        return refusal;
    return writeCalculationBookPdf(*session.results(), block, path, contact);
}

Message documentNotShown(WrittenDocument document, const QString& path) {
    const bool book = document == WrittenDocument::Book;
    return Message{std::string(book ? "计算书" : "报告书") + "已写入“" +
                       QDir::toNativeSeparators(path).toStdString() +
                       "”，但找不到能显示它的程序，请用" + (book ? "PDF阅读器" : "浏览器") +
                       "打开它。",
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

ReportContact rememberedContact(const UserSettings& settings) {
    ReportContact contact;
    settings.read([&contact](const QSettings& s) {
        contact.organisation = s.value(kOrganisation).toString().trimmed().toStdString();
        contact.email = s.value(kEmail).toString().trimmed().toStdString();
    });
    // A settings file edited by hand is held to the dialog's rule.
    if (!fitsTheReport(contact.organisation))
        contact.organisation.clear();
    if (!fitsTheReport(contact.email))
        contact.email.clear();
    return contact;
}

std::optional<Message> contactRefusal(const ReportContact& contact) {
    const std::pair<const std::string*, const char*> fields[] = {{&contact.organisation, "单位"},
                                                                 {&contact.email, "电子邮件"}};
    for (const auto& [text, name] : fields) {
        if (!fitsTheReport(*text))
            return Message{std::string("“") + name +
                               "”中含有报告书无法写入的字符（报告书用GB2312编码，且只写一行），"
                               "请修改",
                           "警告", Message::Icon::Exclamation};
    }
    return std::nullopt;
}

ReportContact TitleBlockMemory::contact() const {
    return unstoredContact_ ? *unstoredContact_ : rememberedContact(settings_);
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

bool TitleBlockMemory::remember(const TitleBlock& block, const ReportContact& contact) {
    TitleBlock names;
    names.calculatedBy = block.calculatedBy;
    names.checkedBy = block.checkedBy;
    const bool stored = settings_.store([&names, &contact](QSettings& settings) {
        settings.setValue(kOrganisation, QString::fromStdString(contact.organisation));
        settings.setValue(kEmail, QString::fromStdString(contact.email));
        settings.beginGroup(kGroup);
        settings.setValue(kCalculatedBy, names.calculatedBy);
        settings.setValue(kCheckedBy, names.checkedBy);
        settings.remove(kProjectName);
        settings.remove(kDate);
        settings.endGroup();
    });
    if (stored) {
        unstored_.reset();
        unstoredContact_.reset();
    } else {
        unstored_ = names;
        unstoredContact_ = contact;
    }
    return stored;
}

} // namespace tamsor
