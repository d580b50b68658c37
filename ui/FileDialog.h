#pragma once

#include "FileChooser.h"

#include <QDialog>

#include <functional>

class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class QTreeView;

namespace tamsor {

class Prompts;

// One modal dialog class for openDat, saveDat and wind_Report: a folder tree
// (Dir1) reaching every folder from "/", a home button in place of the drive
// selector, the pattern-filtered file list (File1), the name box (txtNameBmp)
// and the two buttons. The decisions live in FileChooser; OK runs the action
// given at construction with the full path while the dialog is still open and
// closes the dialog afterwards, whatever the action's outcome.
class FileDialog : public QDialog {
    Q_OBJECT
public:
    // The action gets the dialog (as the parent of its messages) and the full
    // path; it returns true when it succeeded, and only then does the dialog's
    // folder become lastDir.
    using Action = std::function<bool(QWidget* dialog, const QString& path)>;

    FileDialog(FileDialogKind kind, FileDialogMemory& memory, Prompts& prompts, Action action,
               QWidget* parent = nullptr);
    ~FileDialog() override;

    FileChooser& chooser() { return chooser_; }

    // Changes the folder as a click in the folder list does.
    void setFolder(const QString& folder);
    QString folder() const { return chooser_.folder(); }

    // After OK: whether the action reported success.
    bool actionSucceeded() const { return actionSucceeded_; }

    // Exposed for tests and for driving the dialog programmatically.
    QTreeView* folderView() const { return dir1_; }
    QPushButton* homeButton() const { return home_; }
    QListWidget* fileList() const { return file1_; }
    QLineEdit* nameBox() const { return txtNameBmp_; }
    QPushButton* okButton() const { return cmdOK_; }
    QPushButton* cancelButton() const { return cmdCancel_; }
    QLabel* folderLabel() const { return folderLabel_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Dir1_Change();
    void File1_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void showFolderInTree();
    void scrollToFolder();
    void refreshFileList();

    FileChooser chooser_;
    Prompts& prompts_;
    Action action_;
    QFileSystemModel* folders_ = nullptr;
    QTreeView* dir1_ = nullptr;
    QPushButton* home_ = nullptr;
    QLabel* folderLabel_ = nullptr;
    QListWidget* file1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLineEdit* txtNameBmp_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QTimer* scrollTimer_ = nullptr;
    bool syncingTree_ = false;
    bool actionSucceeded_ = false;
};

} // namespace tamsor
