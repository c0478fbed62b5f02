// The sprite layer of the composed screen, one picture row at a time. Internal to the model.
//
// Each row is built as the console builds a line: the chained sprites covering it are picked
// in link order under the console's per-line rules (at most 20 sprites and 40 cells in H40,
// 16 and 32 in H32; a sprite at X 0 after one that is not at X 0 hides the rest of the line),
// then their pixels of that row are drawn, the first opaque pixel in chain order winning.
// With kRenderAllSprites every chained sprite covering the row is drawn.
#pragma once

#include <cstdint>
#include <vector>

#include "vdp/MegaDriveVDP.h"

namespace vantor::detail {

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

// The sprite rows of one picture: sprite-space columns [Left, Left + Width) of rows
// [Top, Bottom). Sprites whose priority half the options switch off are not drawn but still
// count for the limits of their lines.
class TSpriteRows {
 public:
  // Row bytes: O P LL CCCC (O set: an opaque sprite pixel of colour 1-15), 0 where no sprite
  // is opaque.
  TSpriteRows(const TMegaDriveVDP& vdp, uint16_t options, int32_t left, int32_t top, int32_t width,
              int32_t bottom);

  // Draws row sy into line (Width bytes, with 32 spare bytes on either side whose content
  // does not matter) and returns it, or returns null, leaving line alone, when no sprite pixel
  // is drawn on the row.
  const uint8_t* Row(int32_t sy, uint8_t* line);

 private:
  // The sprites drawn on row sy, in chain order. Under the limits: a sprite counts on every
  // row it covers, wherever it lies horizontally; the sprite past MaxSprites and all after it
  // are dropped; a sprite at X 0 that follows one not at X 0 ends the line (it lies left of
  // the screen and is not drawn itself); the sprite that reaches MaxCells is cut at the cell
  // and ends the line.
  void selectLine(int32_t sy);
  void drawSpriteRow(const TLineSprite& drawn, int32_t sy, uint8_t* line) const;

  const uint8_t* m_vram;
  int m_cellHeight;
  uint32_t m_patternBytes;
  uint16_t m_options;
  TSpriteLineRule m_rule;
  int32_t m_left, m_top, m_width, m_bottom;
  std::vector<TChainedSprite> m_chain;
  // The chain positions of the sprites covering each row, in chain order: those of row
  // m_top + r are m_covering[m_rowStart[r] .. m_rowStart[r + 1]).
  std::vector<uint32_t> m_rowStart;
  std::vector<uint8_t> m_covering;
  std::vector<TLineSprite> m_line;
};

}  // namespace vantor::detail
