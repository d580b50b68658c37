#include "MainWindow.h"

#include "AboutDialog.h"
#include "FileChooser.h"
#include "FileDialog.h"
#include "OptionsDialog.h"
#include "ProjectDataDialog.h"

#include <QDir>
#include <QUrl>

// The File menu's Open, Save and data dialog, the report step of the report
// button, the options dialog and the About box. Every dialog is created for one use and
// shown modally.

namespace tamsor {

void Wind::mnuOpen_Click() {
    // The project stays as it is until a file is chosen: Cancel loses nothing.
    if (!settleUnsavedChanges())
        return;
    FileDialog dialog(
        FileDialogKind::OpenData, fileDialogs_, prompts_,
        // The reader shows its own messages; a failed read closes the dialog
        // too and leaves lastDir as it was.
        [this](QWidget*, const QString& path) { return loadProject(path); }, this);
    dialog.exec();
}

void Wind::mnuSave_Click() {
    saveWithDialog();
}

bool Wind::saveWithDialog() {
    if (!session_.commandGate()) {
        inputPanel_->focusFirstMarkedBox();
        return false;
    }
    FileDialog dialog(
        FileDialogKind::SaveData, fileDialogs_, prompts_,
        [this](QWidget* parent, const QString& path) {
            // The writer replaces the file only once it is complete, so a
            // failure leaves an existing file as it was.
            if (const auto failure = session_.save(path)) {
                prompts_.inform(parent, *failure);
                return false;
            }
            if (!recent_.add(path))
                warnSettingsNotStored();
            rebuildRecentMenu();
            return true;
        },
        this);
    dialog.exec();
    return dialog.actionSucceeded();
}

void Wind::showReportDialog() {
    // Results of a faulted or outdated computation are not reported.
    if (const auto refusal = session_.reportRefusal()) {
        prompts_.inform(this, *refusal);
        return;
    }
    FileDialog dialog(
        FileDialogKind::Report, fileDialogs_, prompts_,
        [this](QWidget* parent, const QString& path) {
            if (const auto failure = session_.writeReport(path)) {
                prompts_.inform(parent, *failure);
                return false;
            }
            // Handed to the desktop's viewer as a file URL, never through a
            // shell, so no character of the name can be taken as a command.
            if (!prompts_.openUrl(QUrl::fromLocalFile(path))) {
                prompts_.inform(parent, Message{"报告书已写入“" +
                                                    QDir::toNativeSeparators(path).toStdString() +
                                                    "”，但找不到能显示它的程序，请用浏览器打开它。",
                                                "警告", Message::Icon::Exclamation});
            }
            return true;
        },
        this);
    dialog.exec();
}

void Wind::mnuProjectData_Click() {
    ProjectDataDialog dialog(form(), prompts_, this);
    dialog.exec();
}

void Wind::mnuSet_Click() {
    OptionsDialog dialog(session_, this);
    dialog.exec();
}

void Wind::mnuAbout_Click() {
    AboutDialog dialog(this);
    dialog.exec();
}

} // namespace tamsor
