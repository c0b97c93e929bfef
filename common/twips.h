#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

// Screen layouts are measured in twips (1/1440 inch): 15 twips are one pixel on a
// 96 dpi screen. Qt's high-DPI scaling takes care of other screens.
namespace twips {

constexpr int perPixel = 15;

inline int toPixels(double tw) {
    return static_cast<int>(std::lround(tw / perPixel));
}
inline int fromPixels(int px) {
    return px * perPixel;
}
inline QPoint point(double left, double top) {
    return {toPixels(left), toPixels(top)};
}
inline QSize size(double width, double height) {
    return {toPixels(width), toPixels(height)};
}
inline QRect rect(double left, double top, double width, double height) {
    return {point(left, top), size(width, height)};
}

}  // namespace twips
