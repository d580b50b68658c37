#include "ui/MainWindow.h"

// The File menu's Open and Save, the report step of the report button, the
// options dialog and the About box. The dialogs themselves are not built yet.

namespace tamsor {

namespace {
void notYetAvailable(Wind& window) {
    window.prompts().inform(&window, Message{"尚未实现", "提示", Message::Icon::None});
}
} // namespace

void Wind::mnuOpen_Click() {
    mnuNew_Click();
    notYetAvailable(*this);
}

void Wind::mnuSave_Click() {
    if (!form().commandGate())
        return;
    notYetAvailable(*this);
}

void Wind::showReportDialog() { notYetAvailable(*this); }

void Wind::mnuSet_Click() { notYetAvailable(*this); }

void Wind::mnuAbout_Click() { notYetAvailable(*this); }

} // namespace tamsor
