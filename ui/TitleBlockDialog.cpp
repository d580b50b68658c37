#include "TitleBlockDialog.h"

#include "Prompts.h"
#include "ResultOutputs.h"

#include <QDate>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tamsor {

TitleBlockDialog::TitleBlockDialog(const TitleBlock& block, const ReportContact& contact,
                                   Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts) {
    setObjectName(QStringLiteral("titleBlockDialog"));
    setWindowTitle(QStringLiteral("计算书标题栏"));
    const TitleBlock shown = withDate(block, QDate::currentDate());
    const auto box = [this](const QString& text, const char* name) {
        auto* edit = new QLineEdit(text, this);
        edit->setObjectName(QLatin1String(name));
        edit->setMinimumWidth(280);
        return edit;
    };
    projectName_ = box(shown.projectName, "projectName");
    calculatedBy_ = box(shown.calculatedBy, "calculatedBy");
    checkedBy_ = box(shown.checkedBy, "checkedBy");
    date_ = box(shown.date, "date");
    organisation_ = box(QString::fromStdString(contact.organisation), "organisation");
    email_ = box(QString::fromStdString(contact.email), "email");
    organisation_->setPlaceholderText(QStringLiteral("报告书页脚写明的反馈单位"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("工程名称："), projectName_);
    form->addRow(QStringLiteral("计算："), calculatedBy_);
    form->addRow(QStringLiteral("校对："), checkedBy_);
    form->addRow(QStringLiteral("日期："), date_);
    form->addRow(QStringLiteral("单位："), organisation_);
    form->addRow(QStringLiteral("电子邮件："), email_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

ReportContact TitleBlockDialog::contact() const {
    return ReportContact{organisation_->text().trimmed().toStdString(),
                         email_->text().trimmed().toStdString()};
}

void TitleBlockDialog::accept() {
    if (const auto refusal = contactRefusal(contact())) {
        prompts_.inform(this, *refusal);
        return;
    }
    QDialog::accept();
}

TitleBlock TitleBlockDialog::block() const {
    return TitleBlock{projectName_->text().trimmed(), calculatedBy_->text().trimmed(),
                      checkedBy_->text().trimmed(), date_->text().trimmed()};
}

} // namespace tamsor
