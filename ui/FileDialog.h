#pragma once

#include "FileChooser.h"

#include <QDialog>

#include <functional>

class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;

namespace tamsor {

class Prompts;

// One modal dialog class for openDat, saveDat, wind_Report and the save
// dialogs of the result outputs (CSV, PDF, PNG, SVG): a folder tree
// (Dir1) reaching every folder from "/", a home button in place of the drive
// selector, the file list (File1: the subfolders and the files that match the
// pattern, with their dates, types and sizes), the name box (txtNameBmp) and
// the two buttons. Return presses OK (or opens the file list's current entry),
// Esc cancels, a double-click opens a file or a folder. The decisions live in FileChooser; OK runs
// the action given at construction with the full path while the dialog is still open and closes the
// dialog afterwards, whatever the action's outcome.
class FileDialog : public QDialog {
    Q_OBJECT
public:
    // The action gets the dialog (as the parent of its messages) and the full
    // path; it returns true when it succeeded, and only then does the dialog's
    // folder become lastDir.
    using Action = std::function<bool(QWidget* dialog, const QString& path)>;

    // `offeredName`: the name box's first text in the dialogs of result
    // outputs.
    FileDialog(FileDialogKind kind, FileDialogMemory& memory, Prompts& prompts, Action action,
               QWidget* parent = nullptr, const QString& offeredName = {});
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
    QTreeWidget* fileList() const { return file1_; }
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
    // A double-click, or Return in the list: a folder is entered, a file
    // chosen as OK chooses it.
    void File1_Open(QTreeWidgetItem* item);
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
    QTreeWidget* file1_ = nullptr;
    QLabel* label1_ = nullptr;
    QLineEdit* txtNameBmp_ = nullptr;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QTimer* scrollTimer_ = nullptr;
    bool syncingTree_ = false;
    bool actionSucceeded_ = false;
};

} // namespace tamsor
