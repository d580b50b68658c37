#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace tamsor {

// How the fixed-size main window fits a screen.
struct WindowFit {
    QSize viewport;       // the visible part of the window's contents
    QPoint frameTopLeft;  // where the window's frame goes
    bool scrolls = false; // the contents do not fit and scroll

    friend bool operator==(const WindowFit&, const WindowFit&) = default;
};

// The window shows `content` below a menu bar `menuBarHeight` high, and the
// window manager puts `frame` around it. When the whole frame fits into
// `available` (the screen without its panels), the contents show at full
// size, centred. Otherwise the visible part shrinks to what fits, with scroll
// bars `scrollBarExtent` wide where needed, so that every row stays reachable;
// the frame is centred where there is room and never starts above or left of
// `available`.
[[nodiscard]] WindowFit fitWindow(const QSize& content, int menuBarHeight, const QMargins& frame,
                                  int scrollBarExtent, const QRect& available);

} // namespace tamsor
