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

} // namespace tamsor
