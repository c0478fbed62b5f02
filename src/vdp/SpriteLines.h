// The console's sprite rules line by line, as plain data: which chained sprites cover a line,
// which of them the console draws, cuts or drops, and why. The pixel inspector and the
// screen overlays read them; computed from the model's public state alone.
//
// The rules (per sprite-space line, in chain order, counting every sprite whose rows cover the
// line wherever it lies horizontally): the sprite past the line's sprite limit (20 in H40, 16
// in H32) and all after it are dropped; a sprite at X 0 that follows one not at X 0 masks the
// rest of the line and is not drawn itself; the sprite that reaches the cell limit (40 in H40,
// 32 in H32) is cut at the cell and all after it are dropped.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "vdp/MegaDriveVDP.h"

namespace vantor {

// A sprite of the display list.
struct TChainSprite {
  int Number = 0;    // its index in the sprite attribute table
  int Position = 0;  // its place in the link chain: 0 for sprite 0, then 1, 2 ...
  TSpriteEntry Entry;
  // Its box in sprite space, right and bottom exclusive.
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The display list in chain order (TMegaDriveVDP::ForEachChainedSprite).
std::vector<TChainSprite> ReadSpriteChain(const TMegaDriveVDP& vdp);

// What the console does with a sprite on one line.
enum class TSpriteFate : uint8_t {
  sfDrawn,        // drawn whole
  sfCut,          // drawn up to the cell limit; its cells right of it dropped
  sfSpriteLimit,  // dropped: it is past the line's sprite limit
  sfCellLimit,    // dropped: the cells of the line were used up before it
  sfMask,         // the masking sprite (X 0 after a sprite not at X 0): not drawn, ends the line
  sfMasked,       // dropped: it comes after the masking sprite
};

// "drawn", "cut at the cell limit", "dropped: sprite limit" ...
std::string_view SpriteFateText(TSpriteFate fate);
// "drawn", "cut", "sprite-limit", "cell-limit", "mask", "masked": for --json.
std::string_view SpriteFateName(TSpriteFate fate);

struct TSpriteLimits {
  int MaxSprites = 20;
  int MaxCells = 40;
};
// The console's limits for the model's display mode.
TSpriteLimits ConsoleSpriteLimits(const TMegaDriveVDP& vdp);

// A chained sprite covering a line.
struct TLineSprite {
  int Chain = 0;  // index into the chain vector
  TSpriteFate Fate = TSpriteFate::sfDrawn;
  int Cells = 0;  // columns of cells the console draws, from the sprite's left edge
};

// Every chained sprite whose rows cover sprite-space line sy, in chain order, with the console's
// fate on that line.
void SpritesOnLine(const std::vector<TChainSprite>& chain, int32_t sy, const TSpriteLimits& limits,
                   std::vector<TLineSprite>& out);

// Why sprites are missing on a line: the first rule that struck.
enum class TSpriteDrop : uint8_t { sdNone, sdSpriteLimit, sdCellLimit, sdMasking };

// "none", "sprite-limit", "cell-limit", "masking": for --json and captions.
std::string_view SpriteDropName(TSpriteDrop drop);

// The console's sprite facts of one line.
struct TSpriteLineFacts {
  int Covering = 0;  // chained sprites whose rows cover the line
  int Sprites = 0;   // sprites the console draws there, whole or cut
  int Cells = 0;     // cells it draws there
  int Dropped = 0;   // covering sprites it does not draw at all (the masking sprite included)
  bool Cut = false;  // one sprite was cut at the cell limit
  TSpriteDrop Drop = TSpriteDrop::sdNone;
  int FirstMissing = -1;  // number of the first sprite cut or not drawn, -1 when none
};

TSpriteLineFacts SummariseLine(const std::vector<TChainSprite>& chain,
                               const std::vector<TLineSprite>& line);

}  // namespace vantor
