#pragma once

#include <QDialog>

#include <array>
#include <cstddef>

class QGroupBox;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace tamsor {

class ProjectSession;

// The options dialog frmOptions: a tab strip whose first page chooses the
// edition of the load code (codeVersion). OK stores the choice and marks the
// results as stale; Cancel (or Esc) stores nothing.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTabCount = 3;  // tabs of tbsOptions
    static constexpr int kPageCount = 4; // picOptions(0..3); page 3 has no tab

    explicit OptionsDialog(ProjectSession& session, QWidget* parent = nullptr);

    QTabBar* tbsOptions() const { return tbsOptions_; }
    QWidget* picOptions(int index) const { return picOptions_.at(static_cast<std::size_t>(index)); }
    QGroupBox* fraSample(int index) const { return fraSample_.at(static_cast<std::size_t>(index)); }
    QRadioButton* option1(int index) const { return option1_.at(static_cast<std::size_t>(index)); }
    QPushButton* okButton() const { return cmdOK_; }
    QPushButton* cancelButton() const { return cmdCancel_; }

    void cmdOK_Click();
    void cmdCancel_Click();
    void tbsOptions_Click();

protected:
    // Key preview: Ctrl+Tab reaches the dialog whichever control has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centreOnScreen();
    // True when the key press was Ctrl+Tab (Ctrl alone) and has been handled.
    bool Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);

    ProjectSession& session_;
    QTabBar* tbsOptions_ = nullptr;
    std::array<QWidget*, kPageCount> picOptions_{};
    std::array<QGroupBox*, kPageCount> fraSample_{};
    std::array<QRadioButton*, 2> option1_{};
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};

} // namespace tamsor
