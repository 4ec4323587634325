#pragma once

namespace zibs {

// Layouts are given in twips; fifteen twips make one pixel.
inline constexpr int twipsPerPixel = 15;
constexpr int px(int twips) { return (twips + twipsPerPixel / 2) / twipsPerPixel; }
constexpr int twips(int pixels) { return pixels * twipsPerPixel; }

}  // namespace zibs
