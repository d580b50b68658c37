#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace tamsor {

// The About box frmAbout: program icon, title and version, the maintainer
// line, a short free-software notice with a disclaimer, an etched rule and
// one button that answers both Enter and Esc.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    QLabel* picIcon() const { return picIcon_; }
    QLabel* lblTitle() const { return lblTitle_; }
    QLabel* lblDescription() const { return lblDescription_; }
    QLabel* lblNotice() const { return lblNotice_; }
    QPushButton* okButton() const { return cmdOK_; }

    void cmdOK_Click();

private:
    void Form_Load();

    QLabel* picIcon_ = nullptr;
    QLabel* lblTitle_ = nullptr;
    QLabel* lblNotice_ = nullptr;
    QLabel* lblDescription_ = nullptr;
    QFrame* line1_[2] = {nullptr, nullptr};
    QPushButton* cmdOK_ = nullptr;
};

} // namespace tamsor
