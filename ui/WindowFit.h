#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace tamsor {

// The window manager's frame before a window is shown, when it is not known
// yet: a title bar and thin borders, on the generous side.
inline constexpr QMargins kEstimatedWindowFrame(4, 36, 4, 4);

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

// Where another window's frame, `frame` in size, goes beside the main
// window's frame `main` on a screen whose free part is `available`: to the
// right of it when there is room, else to its left, level with its top.
// Where neither side has room it goes over the main window's right part, the
// plots, at the right edge of the screen and below the main window's menu bar
// (whose bottom is `menuBottom`), so that the menus stay in sight. It is
// kept on the screen as far as its size allows.
[[nodiscard]] QPoint placeBeside(const QRect& main, int menuBottom, const QSize& frame,
                                 const QRect& available);

} // namespace tamsor
