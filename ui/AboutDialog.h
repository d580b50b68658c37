#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace tamsor {

// The About box: program icon, title and version, the maintainer line, a
// short free-software notice with a disclaimer, an etched rule and one button
// that answers both Enter and Esc. The controls keep their old object names
// (picIcon, lblTitle, lblDescription0/1, Line1_0/1, cmdOK).
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    QLabel* iconLabel() const { return icon_; }
    QLabel* titleLabel() const { return title_; }
    QLabel* maintainerLabel() const { return maintainer_; }
    QLabel* noticeLabel() const { return notice_; }
    QPushButton* okButton() const { return ok_; }

private:
    QLabel* icon_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* notice_ = nullptr;
    QLabel* maintainer_ = nullptr;
    QFrame* rule_[2] = {nullptr, nullptr};
    QPushButton* ok_ = nullptr;
};

} // namespace tamsor
