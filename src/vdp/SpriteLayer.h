// The sprite layer: one byte per pixel of sprite space, built at the start of RenderScreen.
// Internal to the model.
#pragma once

#include <cstdint>
#include <vector>

#include "vdp/MegaDriveVDP.h"

namespace vantor::detail {

// byte: P 0 LL CCCC (priority, palette line, colour 1-15); 0 where no sprite is opaque.
// The layer covers sprite-space columns [Left, Right) and rows [Top, Bottom); pixels outside
// read as 0.
struct TSpriteLayer {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  std::vector<uint8_t> Bytes;

  int32_t Width() const { return Right - Left; }
  uint8_t At(int32_t sx, int32_t sy) const {
    if (sx < Left || sx >= Right || sy < Top || sy >= Bottom) return 0;
    return Bytes[std::size_t(sy - Top) * std::size_t(Width()) + std::size_t(sx - Left)];
  }
};

// Draws the chained sprites that the options' sprite bits let through; the first opaque pixel
// in chain order wins. Only the part of sprite space inside window (clipped to the sprites'
// bounding box) is kept.
void BuildSpriteLayer(const TMegaDriveVDP& vdp, uint16_t options, const TVDPRect& window,
                      TSpriteLayer& layer);

}  // namespace vantor::detail
