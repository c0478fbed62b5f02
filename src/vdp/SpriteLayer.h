// The sprite layer: one byte per pixel of sprite space, built at the start of RenderScreen.
// Internal to the model.
#pragma once

#include <cstdint>
#include <vector>

#include "vdp/MegaDriveVDP.h"

namespace vantor::detail {

// byte: P 0 LL CCCC (priority, palette line, colour 1-15); 0 where no sprite is opaque.
// The layer covers sprite-space columns [Left, Right) and rows [Top, Bottom); pixels outside
// read as 0. Row(sy) gives the bytes of a row inside it.
struct TSpriteLayer {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  std::vector<uint8_t> Bytes;

  int32_t Width() const { return Right - Left; }
  uint8_t At(int32_t sx, int32_t sy) const {
    if (sx < Left || sx >= Right || sy < Top || sy >= Bottom) return 0;
    return Row(sy)[sx - Left];
  }
  const uint8_t* Row(int32_t sy) const {
    return Bytes.data() + std::size_t(sy - Top) * std::size_t(Width());
  }
};

// Draws the chained sprites that the options' sprite bits let through; the first opaque pixel
// in chain order wins. Only the part of sprite space inside window (its left and top at
// least 0) is kept; it is the layer's extent.
void BuildSpriteLayer(const TMegaDriveVDP& vdp, uint16_t options, const TVDPRect& window,
                      TSpriteLayer& layer);

}  // namespace vantor::detail
