#pragma once

#include "ReportDescription.h"
#include "TitleBlock.h"

#include <QDialog>

class QLineEdit;

namespace tamsor {

class Prompts;

// The title block of the calculation book (计算书标题栏): 工程名称, 计算, 校对
// and 日期, asked for each time a book is made or printed, and the contact
// that the footer of the report and the book names (单位, 电子邮件). OK
// refuses a contact the report cannot write (GB2312, one line) with a
// message and keeps the dialog open.
class TitleBlockDialog : public QDialog {
    Q_OBJECT
public:
    TitleBlockDialog(const TitleBlock& block, const ReportContact& contact, Prompts& prompts,
                     QWidget* parent = nullptr);

    QLineEdit* projectNameBox() const { return projectName_; }
    QLineEdit* calculatedByBox() const { return calculatedBy_; }
    QLineEdit* checkedByBox() const { return checkedBy_; }
    QLineEdit* dateBox() const { return date_; }
    QLineEdit* organisationBox() const { return organisation_; }
    QLineEdit* emailBox() const { return email_; }

    // The block and the contact as the boxes hold them, blanks around each
    // entry dropped.
    [[nodiscard]] TitleBlock block() const;
    [[nodiscard]] ReportContact contact() const;

    void accept() override;

private:
    Prompts& prompts_;
    QLineEdit* projectName_ = nullptr;
    QLineEdit* calculatedBy_ = nullptr;
    QLineEdit* checkedBy_ = nullptr;
    QLineEdit* date_ = nullptr;
    QLineEdit* organisation_ = nullptr;
    QLineEdit* email_ = nullptr;
};

} // namespace tamsor
