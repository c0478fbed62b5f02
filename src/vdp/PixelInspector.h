// The pixel inspector: how RenderScreen composed one picture pixel, layer by layer - which
// name table entry and pattern pixel each plane showed, which sprite, the shadow/highlight
// marks, which layer won and why, and the final colour. Its pixel code equals what
// RenderScreen writes into an 8-bit surface for the same options, pixel for pixel.
//
// For the desktop program: build one TPixelInspector after each render (it decodes the
// registers and the sprite chain once) and call Inspect on every mouse move: a call costs
// about a quarter of a microsecond in a release build, InspectPixel (which decodes them for
// the one pixel) about 1.5 (bench/vdp_inspect_bench). The inspector reads the model when
// Inspect is called: build it anew when the model or the options change, as the picture is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vdp/MegaDriveVDP.h"
#include "vdp/ScreenGeometry.h"
#include "vdp/SpriteLines.h"

namespace vantor {

enum class TPixelLayer : uint8_t { plBackdrop, plPlaneB, plPlaneA, plWindow, plSprite };

// "backdrop", "plane B", "plane A", "window", "sprite".
std::string_view PixelLayerText(TPixelLayer layer);
// "backdrop", "planeB", "planeA", "window", "sprite": for --json.
std::string_view PixelLayerName(TPixelLayer layer);

// One pixel of a pattern as a layer showed it.
//   attr: P LL V H NNNNNNNNNNN (the name word, or the sprite's attribute word)
struct TPatternPixel {
  uint16_t Attr = 0;
  uint16_t Pattern = 0;      // the pattern number (for sprites: of the cell shown)
  uint32_t ByteAddress = 0;  // the Video RAM byte holding the pixel
  bool HighNibble = false;   // the pixel is that byte's high nibble
  int PatternColumn = 0;     // the pixel inside the pattern as stored, flips applied
  int PatternRow = 0;
  bool Priority = false;
  bool HFlip = false;
  bool VFlip = false;
  uint8_t PaletteLine = 0;
  uint8_t ColorIndex = 0;  // 0 transparent
};

// Plane B, plane A or the window at the pixel.
struct TCellAccount {
  bool InArea = false;     // the pixel lies where the layer is drawn (plane rectangle, window band)
  bool TakesPart = false;  // in the area and its cell's priority half is switched on
  int Column = 0;          // the cell in the name table
  int Row = 0;
  int PixelColumn = 0;  // the pixel inside the cell as shown, before flips
  int PixelRow = 0;
  int HScroll = 0;  // planes: the scroll values used (10 bits)
  int VScroll = 0;
  uint32_t NameAddress = 0;  // the Video RAM address of the name table entry
  TPatternPixel Pixel;       // Pixel.Attr is the entry's word
};

// A chained sprite whose box covers the pixel.
struct TSpriteCover {
  int Number = 0;
  int Position = 0;                         // in the link chain
  TSpriteFate Fate = TSpriteFate::sfDrawn;  // the console's, on this line
  bool High = false;                        // its priority bit
  bool Drawn = false;      // this render draws it at this pixel (rule, cell cut, priority half)
  uint8_t ColorIndex = 0;  // its pattern pixel here, 0 transparent
};

struct TSpriteAccount {
  bool Limits = true;  // the render applies the console's limits (no kRenderAllSprites)
  bool Found = false;  // a drawn sprite has an opaque pixel here: the sprite layer's value
  int Number = -1;     // that sprite and its place in the link chain
  int Position = -1;
  uint32_t EntryAddress = 0;  // its sprite attribute table entry
  TSpriteEntry Entry;
  int CellColumn = 0;  // the cell of the sprite shown, counted as stored (flips applied)
  int CellRow = 0;
  TPatternPixel Pixel;
  std::vector<TSpriteCover> Covering;  // in chain order
  TSpriteLineFacts Line;  // the console's facts on this line (whatever the render's rule)
};

// Shadow/highlight at the pixel.
struct TMarkAccount {
  bool Active = false;           // the mode is on and not ignored
  bool HighlightSprite = false;  // the sprite pixel is the highlight operator (line 3, colour 14)
  bool ShadowSprite = false;     // the shadow operator (line 3, colour 15)
  bool NoHighPlane = false;      // neither plane is of high priority: planes take the shadow mark
  bool Cancelled = false;        // shadow and highlight met and cancelled
  bool Colour14 = false;         // a sprite's own colour 14 (lines 0-2): shown unmarked
  uint8_t Marks = 0;             // on the result: 0x40 highlight, 0x80 shadow
};

struct TPixelAccount {
  bool Inside = false;  // (X, Y) lies in the picture; nothing else is filled otherwise
  int32_t X = 0, Y = 0;
  int32_t SpriteX = 0, SpriteY = 0;  // the pixel in sprite space
  uint16_t Options = 0;
  TCellAccount PlaneB, PlaneA, Window;
  TSpriteAccount Sprite;
  TMarkAccount Marks;
  // The priorities the selection used: N = sprite * 4 + A * 2 + B (A being the window's where
  // the window took part; a layer that took no part counts as low).
  int Case = 0;
  bool SpritePriority = false, APriority = false, BPriority = false;
  TPixelLayer Winner = TPixelLayer::plBackdrop;
  std::vector<TPixelLayer> Beaten;  // the other opaque layers, front to back
  uint8_t Code = 0;                 // the pixel code RenderScreen writes into 8-bit surfaces
  bool Written = true;              // false: a backdrop pixel with the backdrop off, left as it was
  uint8_t CramIndex = 0;            // Code & 0x3F
  uint16_t ColorWord = 0;           // that CRAM entry & 0x0EEE
  uint32_t Rgb = 0;                 // 0xFFRRGGBB with the marks applied
};

class TPixelInspector {
 public:
  TPixelInspector(const TMegaDriveVDP& vdp, uint16_t options);

  const TScreenGeometry& Geometry() const { return m_geometry; }
  const std::vector<TChainSprite>& Chain() const { return m_chain; }

  // The account of picture pixel (x, y); out's vectors keep their capacity.
  void Inspect(int32_t x, int32_t y, TPixelAccount& out) const;
  TPixelAccount Inspect(int32_t x, int32_t y) const;

 private:
  void inspectPlanes(TPixelAccount& out) const;
  void inspectWindow(TPixelAccount& out) const;
  void inspectSprites(TPixelAccount& out) const;
  void compose(TPixelAccount& out) const;
  TPatternPixel patternPixel(uint16_t attr, uint16_t pattern, int row, int column) const;

  const TMegaDriveVDP& m_vdp;
  uint16_t m_options;
  TScreenGeometry m_geometry;
  std::vector<TChainSprite> m_chain;
  TSpriteLimits m_limits;
  bool m_shadowHighlight = false;
  int m_patternBytes = 32;
};

// One pixel without keeping an inspector.
TPixelAccount InspectPixel(const TMegaDriveVDP& vdp, uint16_t options, int32_t x, int32_t y);

// Which layer won and why, e.g. "plane A high over low sprite, low plane B", "sprite low over
// low plane B (equal priority: sprite before plane B)" or "backdrop: no layer opaque". Among
// equal priorities the sprite comes first, then plane A (or the window), then plane B.
std::string WinnerText(const TPixelAccount& account);

// A one-line summary for a status bar, e.g.
//   "120,40  sprite 12 (chain 3) pattern $1A3 line 2 colour 5 -> CRAM $25 $0E2A"
std::string PixelSummary(const TPixelAccount& account);

}  // namespace vantor
