#pragma once

#include "Edition.h"

#include <QDialog>

#include <array>
#include <cstddef>

class QGroupBox;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace tamsor {

class ProjectSession;

// The options dialog: a tab strip whose first page chooses the edition of
// the load code. OK stores the choice, after which results of the other
// edition are no longer current; Cancel (or Esc) stores nothing. The controls
// keep their old object names (tbsOptions, picOptions0..3, fraSample1..4,
// Option1_0/1, cmdOK, cmdCancel).
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTabCount = 3;  // tabs of the tab strip
    static constexpr int kPageCount = 4; // pages 0..3; page 3 has no tab

    explicit OptionsDialog(ProjectSession& session, QWidget* parent = nullptr);

    QTabBar* tabs() const { return tabs_; }
    // Page i belongs to tab i; each holds one frame.
    QWidget* page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    QGroupBox* pageFrame(int index) const {
        return pageFrames_.at(static_cast<std::size_t>(index));
    }
    // The option button that chooses an edition of the load code.
    QRadioButton* editionButton(Edition edition) const {
        return editionButtons_.at(static_cast<std::size_t>(edition));
    }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    // Key preview: Ctrl+Tab reaches the dialog whichever control has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centreOnScreen();
    // OK: the chosen edition into the session, then the dialog closes.
    void storeEdition();
    // Shows the selected tab's page; the other pages are out of sight and
    // out of reach.
    void showSelectedPage();
    // True when the key press was Ctrl+Tab (Ctrl alone) and has selected the
    // next tab, after the last the first.
    bool selectNextTab(int key, Qt::KeyboardModifiers modifiers);

    ProjectSession& session_;
    QTabBar* tabs_ = nullptr;
    std::array<QWidget*, kPageCount> pages_{};
    std::array<QGroupBox*, kPageCount> pageFrames_{};
    std::array<QRadioButton*, 2> editionButtons_{};
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace tamsor
