#pragma once

#include <QRect>

#include <cmath>

// The windows are laid out in twips, 15 to a logical pixel (the 96 dpi the
// layout was designed for); Qt's high-DPI scaling maps logical pixels on.
inline constexpr int TwipsPerPixel = 15;

// The nearest logical pixel.
inline int pixelsFromTwips(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

inline float twipsFromPixels(int pixels)
{
    return static_cast<float>(pixels * TwipsPerPixel);
}

inline QRect rectFromTwips(int left, int top, int width, int height)
{
    return {pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width),
            pixelsFromTwips(height)};
}
