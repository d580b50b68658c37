#pragma once

#include "WindTestPrompts.h"

#include <QApplication>
#include <QDialog>
#include <QList>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <string>
#include <vector>

namespace tamsor::test {

// Runs `drive` on the next modal dialog once its event loop runs. Whatever the
// driver does, a dialog it leaves open is rejected afterwards so that a
// failing test cannot hang in exec(). `seen` tells whether a dialog came up.
template <typename DialogType>
void driveNextDialog(std::function<void(DialogType&)> drive, bool* seen = nullptr,
                     int attempts = 50) {
    QTimer::singleShot(0, [drive, seen, attempts] {
        auto* dialog = qobject_cast<DialogType*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            if (attempts > 0)
                driveNextDialog<DialogType>(drive, seen, attempts - 1);
            return;
        }
        if (seen)
            *seen = true;
        drive(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace tamsor::test
