// The pixel inspector's account in words: the winner's reason and the status bar summary.
#include <string>

#include "vdp/PixelInspector.h"

namespace vantor {

namespace {

struct TLayerWords {
  std::string_view Text;
  std::string_view Name;
};

// By TPixelLayer.
constexpr TLayerWords kLayers[] = {
    {"backdrop", "backdrop"}, {"plane B", "planeB"}, {"plane A", "planeA"},
    {"window", "window"},     {"sprite", "sprite"},
};

std::string hex(uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text(std::size_t(digits) + 1, '$');
  for (int i = digits; i > 0; --i, value >>= 4)
    text[std::size_t(i)] = kDigits[value & 15];
  return text;
}

bool priorityOf(const TPixelAccount& a, TPixelLayer layer) {
  switch (layer) {
    case TPixelLayer::plSprite:
      return a.SpritePriority;
    case TPixelLayer::plPlaneB:
      return a.BPriority;
    default:
      return a.APriority;
  }
}

std::string_view level(bool high) {
  return high ? "high" : "low";
}

std::string patternText(const TPatternPixel& p) {
  return "pattern " + hex(p.Pattern, 3) + " line " + std::to_string(p.PaletteLine) + " colour " +
         std::to_string(p.ColorIndex);
}

// "sprite 12 (chain 3) cell 1,0" or "plane A cell 12,3", with the pattern.
std::string winnerSource(const TPixelAccount& a) {
  if (a.Winner == TPixelLayer::plSprite) {
    const TSpriteAccount& s = a.Sprite;
    return "sprite " + std::to_string(s.Number) + " (chain " + std::to_string(s.Position) +
           ") cell " + std::to_string(s.CellColumn) + "," + std::to_string(s.CellRow) + " " +
           patternText(s.Pixel);
  }
  const TCellAccount& cell = a.Winner == TPixelLayer::plPlaneB   ? a.PlaneB
                             : a.Winner == TPixelLayer::plWindow ? a.Window
                                                                 : a.PlaneA;
  return std::string(PixelLayerText(a.Winner)) + " cell " + std::to_string(cell.Column) + "," +
         std::to_string(cell.Row) + " " + patternText(cell.Pixel);
}

}  // namespace

std::string_view PixelLayerText(TPixelLayer layer) {
  return kLayers[std::size_t(layer)].Text;
}

std::string_view PixelLayerName(TPixelLayer layer) {
  return kLayers[std::size_t(layer)].Name;
}

std::string WinnerText(const TPixelAccount& a) {
  if (a.Winner == TPixelLayer::plBackdrop) return "backdrop: no layer opaque";
  const bool high = priorityOf(a, a.Winner);
  std::string text = std::string(PixelLayerText(a.Winner)) + " " + std::string(level(high));
  if (a.Beaten.empty()) return text + ", the only opaque layer";
  text += " over ";
  for (std::size_t i = 0; i < a.Beaten.size(); ++i) {
    if (i > 0) text += ", ";
    text += std::string(level(priorityOf(a, a.Beaten[i]))) + " " +
            std::string(PixelLayerText(a.Beaten[i]));
  }
  // Among equal priorities the sprite comes first, then plane A (or the window), then B.
  if (priorityOf(a, a.Beaten.front()) == high) {
    text += " (equal priority: " + std::string(PixelLayerText(a.Winner)) + " before " +
            std::string(PixelLayerText(a.Beaten.front())) + ")";
  }
  return text;
}

std::string PixelSummary(const TPixelAccount& a) {
  std::string text = std::to_string(a.X) + "," + std::to_string(a.Y);
  if (!a.Inside) return text + "  outside the picture";
  text += "  " + (a.Winner == TPixelLayer::plBackdrop ? std::string("backdrop") : winnerSource(a));
  text += " -> CRAM " + hex(a.CramIndex, 2) + " " + hex(a.ColorWord, 4);
  if (a.Marks.Marks == 0x40) text += " highlight";
  if (a.Marks.Marks == 0x80) text += " shadow";
  if (a.Sprite.Line.Drop != TSpriteDrop::sdNone) {
    text += "  [line drops sprites: " + std::string(SpriteDropName(a.Sprite.Line.Drop)) + "]";
  }
  return text;
}

}  // namespace vantor
