#include "ProjectDataDialog.h"

#include "InputForm.h"
#include "ProjectData.h"
#include "Prompts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <string_view>
#include <variant>

namespace tamsor {

namespace {

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

constexpr std::string_view kDiameterNote = "截面变化时取2/3高度处的直径；留空表示不作横风向验算。";
constexpr std::string_view kStructureNote = "决定横风向验算的λ和规范公式βz的k、a1。";
constexpr std::string_view kW10Note = "按荷载规范表E.5取值；留空表示不作舒适度验算。";

// A note under a field, in the palette's secondary text colour.
QLabel* note(std::string_view text, QWidget* parent) {
    auto* label = new QLabel(qs(text), parent);
    label->setWordWrap(true);
    label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

} // namespace

ProjectDataDialog::ProjectDataDialog(InputForm& form, Prompts& prompts, QWidget* parent)
    : QDialog(parent), form_(form), prompts_(prompts) {
    setWindowTitle(qs(kProjectDataTitle));
    setModal(true);

    diameter_ = new QLineEdit(this);
    diameter_->setObjectName(QStringLiteral("txtDiameter"));
    structure_ = new QComboBox(this);
    structure_->setObjectName(QStringLiteral("cmbStructure"));
    for (std::string_view entry : kStructureTypeEntries)
        structure_->addItem(qs(entry));
    w10_ = new QLineEdit(this);
    w10_->setObjectName(QStringLiteral("txtW10"));

    struct Field {
        QWidget* control;
        const char* caption; // with its keyboard accelerator
        const char* name;    // what a screen reader calls the control
        std::string_view note;
    };
    const Field fields[] = {
        {diameter_, "圆形截面直径D(m)(&D)：", "圆形截面直径D(m)", kDiameterNote},
        {structure_, "结构类型(&T)：", "结构类型", kStructureNote},
        {w10_, "10年一遇基本风压w10(kPa)(&W)：", "10年一遇基本风压w10(kPa)", kW10Note},
    };
    auto* rows = new QFormLayout;
    for (const Field& field : fields) {
        auto* caption = new QLabel(qs(field.caption), this);
        caption->setBuddy(field.control);
        field.control->setAccessibleName(qs(field.name));
        field.control->setAccessibleDescription(qs(field.note));
        field.control->setMinimumWidth(320);
        rows->addRow(caption, field.control);
        rows->addRow(QString(), note(field.note, this));
    }

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setDefault(true);
    cancel_ = buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &ProjectDataDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ProjectDataDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addWidget(buttons);
    setTabOrder(diameter_, structure_);
    setTabOrder(structure_, w10_);
    setTabOrder(w10_, ok_);
    setTabOrder(ok_, cancel_);

    const ProjectDataEntry entry = projectDataEntry(form_.input());
    diameter_->setText(QString::fromStdString(entry.diameter));
    structure_->setCurrentIndex(entry.structureEntry);
    w10_->setText(QString::fromStdString(entry.w10));
    diameter_->setFocus();
    setFixedSize(sizeHint());
}

void ProjectDataDialog::accept() {
    const ProjectDataEntry entry{diameter_->text().toStdString(), structure_->currentIndex(),
                                 w10_->text().toStdString()};
    const auto accepted = acceptProjectData(entry, form_.input());
    if (const auto* refusal = std::get_if<ProjectDataRefusal>(&accepted)) {
        prompts_.inform(this, refusal->message);
        QLineEdit* box = refusal->field == ProjectDataField::W10 ? w10_ : diameter_;
        box->setFocus(Qt::OtherFocusReason);
        box->selectAll();
        return;
    }
    applyProjectData(form_, std::get<TailTexts>(accepted));
    QDialog::accept();
}

} // namespace tamsor
