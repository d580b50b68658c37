#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tamsor {

class InputForm;
class Prompts;

// The data dialog: the round section's diameter, the structure type and the
// 10-year basic wind pressure of the project (ProjectData.h decides what it
// takes). OK (Return) checks the entries: a refused one is told through
// Prompts and gets the focus back; accepted ones go into the form's input,
// which marks the project as changed when they differ. Cancel (Esc) changes
// nothing.
class ProjectDataDialog : public QDialog {
    Q_OBJECT
public:
    ProjectDataDialog(InputForm& form, Prompts& prompts, QWidget* parent = nullptr);

    QLineEdit* diameterBox() const { return diameter_; }
    QComboBox* structureList() const { return structure_; }
    QLineEdit* w10Box() const { return w10_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    void accept() override;

private:
    InputForm& form_;
    Prompts& prompts_;
    QLineEdit* diameter_ = nullptr;
    QComboBox* structure_ = nullptr;
    QLineEdit* w10_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace tamsor
