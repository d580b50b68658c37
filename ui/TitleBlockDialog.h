#pragma once

#include "TitleBlock.h"

#include <QDialog>

class QLineEdit;

namespace tamsor {

// The title block of the calculation book (计算书标题栏): 工程名称, 计算, 校对
// and 日期, asked for each time a book is made or printed, filled in with
// what was entered last time (the date with today's when none was given).
class TitleBlockDialog : public QDialog {
    Q_OBJECT
public:
    explicit TitleBlockDialog(const TitleBlock& block, QWidget* parent = nullptr);

    QLineEdit* projectNameBox() const { return projectName_; }
    QLineEdit* calculatedByBox() const { return calculatedBy_; }
    QLineEdit* checkedByBox() const { return checkedBy_; }
    QLineEdit* dateBox() const { return date_; }

    // The block as the boxes hold it, blanks around each entry dropped.
    [[nodiscard]] TitleBlock block() const;

private:
    QLineEdit* projectName_ = nullptr;
    QLineEdit* calculatedBy_ = nullptr;
    QLineEdit* checkedBy_ = nullptr;
    QLineEdit* date_ = nullptr;
};

} // namespace tamsor
