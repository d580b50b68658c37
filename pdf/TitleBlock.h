#pragma once

#include <QDate>
#include <QString>

class QSettings;

namespace tamsor {

// The title block of the calculation book: who computed and checked what,
// and when. Entered in the window and remembered in the user's settings;
// never part of the project file.
struct TitleBlock {
    QString projectName;  // 工程名称
    QString calculatedBy; // 计算
    QString checkedBy;    // 校对
    QString date;         // 日期, as typed

    friend bool operator==(const TitleBlock&, const TitleBlock&) = default;
};

// The remembered title block (group "titleBlock" of the user's settings,
// userSettingsFile() in app/); empty fields when none.
[[nodiscard]] TitleBlock loadTitleBlock(QSettings& settings);
void saveTitleBlock(QSettings& settings, const TitleBlock& block);

// The block as the book prints it: an empty date is the given day's
// (yyyy-MM-dd).
[[nodiscard]] TitleBlock withDate(TitleBlock block, const QDate& today);

} // namespace tamsor
