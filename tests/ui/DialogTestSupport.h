#pragma once

#include "WindTestPrompts.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

namespace tamsor::test {

// How long a test waits for a window it expects: long enough for a machine
// that is busy with other work.
inline constexpr std::chrono::milliseconds kWindowWait{10000};

// Waits for a widget that a command is about to open (a modal dialog, a
// popup menu) and drives it once it is there: `step` looks every few
// milliseconds of real time, also inside the nested event loop of a modal
// dialog, until it returns true or the time limit has passed. The driver
// stops when it is destroyed, so keep it for as long as the command runs and
// no longer: a driver left behind would take the next test's window.
class WidgetDriver {
public:
    explicit WidgetDriver(std::chrono::milliseconds limit = kWindowWait) : deadline_(limit) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            // Not again while a step runs (a dialog it drives may run an
            // event loop of its own).
            if (stepping_)
                return;
            stepping_ = true;
            if (deadline_.hasExpired() || step_())
                timer_.stop();
            stepping_ = false;
        });
    }
    WidgetDriver(const WidgetDriver&) = delete;
    WidgetDriver& operator=(const WidgetDriver&) = delete;
    // `step` returns true once it has found and driven its widget.
    void start(std::function<bool()> step) {
        step_ = std::move(step);
        timer_.start();
    }
    // Whether the step found its widget.
    [[nodiscard]] bool seen() const { return seen_; }
    void markSeen() { seen_ = true; }

private:
    std::function<bool()> step_;
    QDeadlineTimer deadline_;
    QTimer timer_;
    bool seen_ = false;
    bool stepping_ = false;
};

// Runs `drive` on the next modal dialog of the type once it is shown.
// Whatever the driver does, a dialog it leaves open is rejected afterwards
// so that a failing test cannot hang in exec(). `seen` (when given) and the
// driver's seen() tell whether the dialog came up.
template <typename DialogType>
[[nodiscard]] std::unique_ptr<WidgetDriver>
driveNextDialog(std::function<void(DialogType&)> drive, bool* seen = nullptr,
                std::chrono::milliseconds limit = kWindowWait) {
    auto driver = std::make_unique<WidgetDriver>(limit);
    WidgetDriver* self = driver.get();
    driver->start([self, drive = std::move(drive), seen] {
        auto* dialog = qobject_cast<DialogType*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return false;
        self->markSeen();
        if (seen)
            *seen = true;
        drive(*dialog);
        if (dialog->isVisible())
            dialog->reject();
        return true;
    });
    return driver;
}

// Runs `command` and tells whether it opened a modal dialog; one that comes
// up is rejected.
inline bool opensDialog(const std::function<void()>& command) {
    const auto driver = driveNextDialog<QDialog>([](QDialog& dialog) { dialog.reject(); });
    command();
    return driver->seen();
}

} // namespace tamsor::test
