// Snapping a size the user drags the view window to onto one of its four zoom factors.
#pragma once

namespace vantor {

constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 4;

// The zoom whose picture size lies nearest to a proposed client area: the mean of the two
// scale factors in tenths (truncated) picks 1 up to 1.4, 2 up to 2.4, 3 up to 3.4, else 4.
// A 320 x 224 picture dragged to 500 x 350 gives 15 and 15 tenths: zoom 2; 400 x 300 gives
// 12 and 13, mean 12: zoom 1. An empty picture keeps zoom 1.
int SnapZoom(int clientWidth, int clientHeight, int bitmapWidth, int bitmapHeight);

}  // namespace vantor
