#include "TitleBlock.h"

#include <QSettings>

namespace tamsor {

namespace {

const QString kGroup = QStringLiteral("titleBlock");
const QString kProjectName = QStringLiteral("projectName");
const QString kCalculatedBy = QStringLiteral("calculatedBy");
const QString kCheckedBy = QStringLiteral("checkedBy");
const QString kDate = QStringLiteral("date");

} // namespace

TitleBlock loadTitleBlock(QSettings& settings) {
    settings.beginGroup(kGroup);
    TitleBlock block{settings.value(kProjectName).toString(),
                     settings.value(kCalculatedBy).toString(),
                     settings.value(kCheckedBy).toString(), settings.value(kDate).toString()};
    settings.endGroup();
    return block;
}

void saveTitleBlock(QSettings& settings, const TitleBlock& block) {
    settings.beginGroup(kGroup);
    settings.setValue(kProjectName, block.projectName);
    settings.setValue(kCalculatedBy, block.calculatedBy);
    settings.setValue(kCheckedBy, block.checkedBy);
    settings.setValue(kDate, block.date);
    settings.endGroup();
}

TitleBlock withDate(TitleBlock block, const QDate& today) {
    if (block.date.trimmed().isEmpty())
        block.date = today.toString(QStringLiteral("yyyy-MM-dd"));
    return block;
}

} // namespace tamsor
