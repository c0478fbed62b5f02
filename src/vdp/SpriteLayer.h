// The sprite layer: one byte per pixel of sprite space, built at the start of RenderScreen.
// Internal to the model.
//
// The layer is built line by line, as the console does: for each sprite-space row the chained
// sprites covering it are picked in link order under the console's per-line rules (at most 20
// sprites and 40 cells in H40, 16 and 32 in H32; a sprite at X 0 after one that is not at X 0
// hides the rest of the line), then their pixels of that row are drawn, the first opaque pixel
// in chain order winning. With kRenderAllSprites every chained sprite covering the row is drawn.
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

// A sprite of the display list, decoded once per picture.
struct TChainedSprite {
  TSpriteEntry Entry;
  int32_t Top = 0;     // its first sprite-space row
  int32_t Bottom = 0;  // past its last row
};

// A sprite drawn on one line: its first Cells columns of cells, counted from its left edge.
struct TLineSprite {
  const TChainedSprite* Sprite = nullptr;
  int Cells = 0;
};

// The console's rules for the sprites of one line.
struct TSpriteLineRule {
  bool Limits = true;  // false: every sprite covering the line, whole, no masking
  int MaxSprites = 20;
  int MaxCells = 40;
};

// The rule for this model and these render options.
TSpriteLineRule SpriteLineRule(const TMegaDriveVDP& vdp, uint16_t options);

// The display list in chain order.
void DecodeSpriteChain(const TMegaDriveVDP& vdp, std::vector<TChainedSprite>& chain);

// The sprites drawn on sprite-space row sy, in chain order. Under the limits: a sprite counts
// on every row it covers, wherever it lies horizontally; the sprite past MaxSprites and all
// after it are dropped; a sprite at X 0 that follows one not at X 0 ends the line (it lies
// left of the screen and is not drawn itself); the sprite that reaches MaxCells is cut at the
// cell and ends the line.
void SelectLineSprites(const std::vector<TChainedSprite>& chain, int32_t sy,
                       const TSpriteLineRule& rule, std::vector<TLineSprite>& line);

// Draws the chained sprites that the options' sprite bits let through. Only the part of sprite
// space inside window (its left and top at least 0) is kept; it is the layer's extent. Sprites
// whose priority half is switched off still count for the limits of their lines.
void BuildSpriteLayer(const TMegaDriveVDP& vdp, uint16_t options, const TVDPRect& window,
                      TSpriteLayer& layer);

}  // namespace vantor::detail
