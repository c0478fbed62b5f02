#include "vdp/SpriteLines.h"

#include <algorithm>

namespace vantor {

namespace {

struct TFateWords {
  std::string_view Text;
  std::string_view Name;
  TSpriteDrop Drop;
};

// By TSpriteFate.
constexpr TFateWords kFates[] = {
    {"drawn", "drawn", TSpriteDrop::sdNone},
    {"cut at the cell limit", "cut", TSpriteDrop::sdCellLimit},
    {"dropped: sprite limit", "sprite-limit", TSpriteDrop::sdSpriteLimit},
    {"dropped: cell limit", "cell-limit", TSpriteDrop::sdCellLimit},
    {"masking sprite (not drawn)", "mask", TSpriteDrop::sdMasking},
    {"dropped: masked", "masked", TSpriteDrop::sdMasking},
};

constexpr std::string_view kDropNames[] = {"none", "sprite-limit", "cell-limit", "masking"};

const TFateWords& words(TSpriteFate fate) {
  return kFates[std::size_t(fate)];
}

}  // namespace

std::vector<TChainSprite> ReadSpriteChain(const TMegaDriveVDP& vdp) {
  std::vector<TChainSprite> chain;
  vdp.ForEachChainedSprite([&](int index) {
    TChainSprite s;
    s.Number = index;
    s.Position = int(chain.size());
    s.Entry = vdp.GetSprite(uint8_t(index));
    s.Left = s.Entry.X;
    s.Top = s.Entry.Y;
    s.Right = s.Left + s.Entry.CellsWide() * vdp.CellWidth();
    s.Bottom = s.Top + s.Entry.CellsHigh() * vdp.CellHeight();
    chain.push_back(s);
  });
  return chain;
}

std::string_view SpriteFateText(TSpriteFate fate) {
  return words(fate).Text;
}

std::string_view SpriteFateName(TSpriteFate fate) {
  return words(fate).Name;
}

std::string_view SpriteDropName(TSpriteDrop drop) {
  return kDropNames[std::size_t(drop)];
}

TSpriteLimits ConsoleSpriteLimits(const TMegaDriveVDP& vdp) {
  return TSpriteLimits{vdp.GetMetric(mkSpritesPerLine), vdp.GetMetric(mkSpriteCellsPerLine)};
}

void SpritesOnLine(const std::vector<TChainSprite>& chain, int32_t sy, const TSpriteLimits& limits,
                   std::vector<TLineSprite>& out) {
  out.clear();
  int sprites = 0, cells = 0;
  bool shownBefore = false;  // a sprite not at X 0 came earlier on this line
  bool ended = false;
  TSpriteFate rest = TSpriteFate::sfDrawn;  // the fate of every sprite once the line ended
  for (std::size_t i = 0; i < chain.size(); ++i) {
    const TChainSprite& s = chain[i];
    if (sy < s.Top || sy >= s.Bottom) continue;
    const int index = int(i);
    if (ended) {
      out.push_back({index, rest, 0});
      continue;
    }
    if (++sprites > limits.MaxSprites) {
      ended = true;
      rest = TSpriteFate::sfSpriteLimit;
      out.push_back({index, rest, 0});
      continue;
    }
    if (s.Entry.X == 0 && shownBefore) {
      ended = true;
      rest = TSpriteFate::sfMasked;
      out.push_back({index, TSpriteFate::sfMask, 0});
      continue;
    }
    shownBefore = shownBefore || s.Entry.X != 0;
    const int wide = s.Entry.CellsWide();
    const int drawn = std::min(wide, limits.MaxCells - cells);
    out.push_back({index, drawn < wide ? TSpriteFate::sfCut : TSpriteFate::sfDrawn, drawn});
    cells += wide;
    if (cells >= limits.MaxCells) {
      ended = true;
      rest = TSpriteFate::sfCellLimit;
    }
  }
}

TSpriteLineFacts SummariseLine(const std::vector<TChainSprite>& chain,
                               const std::vector<TLineSprite>& line) {
  TSpriteLineFacts facts;
  facts.Covering = int(line.size());
  for (const TLineSprite& s : line) {
    const bool drawn = s.Fate == TSpriteFate::sfDrawn || s.Fate == TSpriteFate::sfCut;
    facts.Sprites += drawn ? 1 : 0;
    facts.Dropped += drawn ? 0 : 1;
    facts.Cells += s.Cells;
    facts.Cut = facts.Cut || s.Fate == TSpriteFate::sfCut;
    if (s.Fate != TSpriteFate::sfDrawn && facts.FirstMissing < 0) {
      facts.FirstMissing = chain[std::size_t(s.Chain)].Number;
      facts.Drop = words(s.Fate).Drop;
    }
  }
  return facts;
}

}  // namespace vantor
