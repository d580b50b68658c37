#pragma once

#include <QRect>

namespace tamsor {

// The windows are designed in twips; 15 twips make one pixel at 96 dpi (Qt
// scales the pixels on high-DPI screens). Rounds to the nearest pixel,
// symmetrically for negative positions (pages parked off the dialog).
constexpr int px(int twips) {
    return twips >= 0 ? (twips + 7) / 15 : -((-twips + 7) / 15);
}

constexpr QRect twipRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

} // namespace tamsor
