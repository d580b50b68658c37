#pragma once

#include <QDate>
#include <QString>

namespace tamsor {

// The title block of the calculation book: who computed and checked what,
// and when. Entered for each book; who computes and checks is remembered in
// the user's settings (TitleBlockMemory in app/), never in the project file.
struct TitleBlock {
    QString projectName;  // 工程名称
    QString calculatedBy; // 计算
    QString checkedBy;    // 校对
    QString date;         // 日期, as typed

    friend bool operator==(const TitleBlock&, const TitleBlock&) = default;
};

// The block as the book prints it: an empty date is the given day's
// (yyyy-MM-dd).
[[nodiscard]] TitleBlock withDate(TitleBlock block, const QDate& today);

} // namespace tamsor
