#include "viewwindow/ZoomSnap.h"

namespace vantor {

int SnapZoom(int clientWidth, int clientHeight, int bitmapWidth, int bitmapHeight) {
  if (bitmapWidth <= 0 || bitmapHeight <= 0) return kMinZoom;
  const long long rw = static_cast<long long>(clientWidth) * 10 / bitmapWidth;
  const long long rh = static_cast<long long>(clientHeight) * 10 / bitmapHeight;
  const long long r = (rw + rh) / 2;
  if (r <= 14) return 1;
  if (r <= 24) return 2;
  if (r <= 34) return 3;
  return kMaxZoom;
}

}  // namespace vantor
