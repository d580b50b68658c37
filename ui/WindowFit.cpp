#include "WindowFit.h"

#include <algorithm>

namespace tamsor {

namespace {

// The smallest visible part that still shows something to scroll.
constexpr int kMinViewportWidth = 240;
constexpr int kMinViewportHeight = 160;

} // namespace

WindowFit fitWindow(const QSize& content, int menuBarHeight, const QMargins& frame,
                    int scrollBarExtent, const QRect& available) {
    const int roomWidth = available.width() - frame.left() - frame.right();
    const int roomHeight = available.height() - frame.top() - frame.bottom() - menuBarHeight;

    // A scroll bar in one direction takes room from the other.
    bool vertical = content.height() > roomHeight;
    bool horizontal = content.width() + (vertical ? scrollBarExtent : 0) > roomWidth;
    if (horizontal && !vertical) {
        vertical = content.height() + scrollBarExtent > roomHeight;
        horizontal = content.width() + (vertical ? scrollBarExtent : 0) > roomWidth;
    }

    WindowFit fit;
    fit.scrolls = vertical || horizontal;
    fit.viewport = content;
    if (fit.scrolls) {
        fit.viewport.setWidth(
            std::max(kMinViewportWidth,
                     std::min(content.width() + (vertical ? scrollBarExtent : 0), roomWidth)));
        fit.viewport.setHeight(
            std::max(kMinViewportHeight,
                     std::min(content.height() + (horizontal ? scrollBarExtent : 0), roomHeight)));
    }
    const int frameWidth = fit.viewport.width() + frame.left() + frame.right();
    const int frameHeight = fit.viewport.height() + menuBarHeight + frame.top() + frame.bottom();
    fit.frameTopLeft =
        QPoint(available.left() + std::max(0, (available.width() - frameWidth) / 2),
               available.top() + std::max(0, (available.height() - frameHeight) / 2));
    return fit;
}

QPoint placeBeside(const QRect& main, int menuBottom, const QSize& frame, const QRect& available) {
    // Within [low, high] where possible, else at low.
    const auto clamp = [](int value, int low, int high) {
        return std::max(low, std::min(value, high));
    };
    const int lowestTop = available.bottom() + 1 - frame.height();
    if (main.right() + 1 + frame.width() <= available.right() + 1)
        return {main.right() + 1, clamp(main.top(), available.top(), lowestTop)};
    if (main.left() - frame.width() >= available.left())
        return {main.left() - frame.width(), clamp(main.top(), available.top(), lowestTop)};
    return {std::max(available.left(), available.right() + 1 - frame.width()),
            clamp(std::max(main.top(), menuBottom), available.top(), lowestTop)};
}

} // namespace tamsor
