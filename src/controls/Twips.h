#pragma once

#include <QRect>

namespace kq::ui {

// Layout values are written in twips; the windows use 15 twips per pixel.
constexpr int kTwipsPerPixel = 15;

constexpr int twips(int value) { return (value + kTwipsPerPixel / 2) / kTwipsPerPixel; }
constexpr int toTwips(int pixels) { return pixels * kTwipsPerPixel; }
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

}  // namespace kq::ui
