#pragma once
// The designed sizes of the windows are in twips: 15 twips per logical pixel.

#include <cmath>

namespace twips {

constexpr int kPerPixel = 15;

// Twips to whole logical pixels (to the nearest).
inline int toPixels(double value) { return static_cast<int>(std::lround(value / kPerPixel)); }
inline double fromPixels(double pixels) { return pixels * kPerPixel; }

}  // namespace twips
