// The overlays over the composed screen as the windows draw them: the cell grids of planes A
// and B at their scroll positions, the window's band, the boxes of the chained sprites with
// their numbers, and a mark on every line where the console drops sprites. They are drawn over
// a shown picture, never into it; a picture with its overlays is made only on request.
#pragma once

#include <QColor>
#include <QImage>
#include <QLine>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <string>
#include <vector>

#include "vdp/Bitmap.h"
#include "vdp/MegaDriveVDP.h"

class QPainter;

namespace vantor {

// The overlays a user can switch, as bits.
enum TScreenOverlay : uint8_t {
  soPlaneAGrid = 0x01,
  soPlaneBGrid = 0x02,
  soWindowBand = 0x04,
  soSpriteBoxes = 0x08,
  soSpriteDrops = 0x10,
};
constexpr int kScreenOverlayCount = 5;

// The overlays as the windows offer them: the Screen page's check boxes (chkScrn<Name>, the
// caption's access key) and the view window's menu items (pmiView<Name>, the key alone).
struct TScreenOverlayItem {
  TScreenOverlay Bit;
  const char* Name;
  const char* Caption;
  char Key;
  const char* Hint;
};
inline constexpr TScreenOverlayItem kScreenOverlayItems[kScreenOverlayCount] = {
    {soPlaneAGrid, "GridA", "&Grid A", 'G',
     "The cells of plane A at its scroll position (yellow lines)"},
    {soPlaneBGrid, "GridB", "G&rid B", 'R',
     "The cells of plane B at its scroll position (blue lines)"},
    {soWindowBand, "WindowBand", "&Window band", 'W', "Where the window is drawn (green)"},
    {soSpriteBoxes, "SpriteBoxes", "Sprite &boxes", 'B',
     "The chained sprites with their numbers: cyan, or red when the console leaves lines of the "
     "sprite out"},
    {soSpriteDrops, "SpriteDrops", "Sprite &drops", 'D',
     "Lines where the console drops sprites, marked at the right edge: red over the sprite "
     "limit, orange over the cell limit, magenta after a masking sprite"},
};

// The colours the overlays are drawn in (also for legends and hints).
struct TOverlayColors {
  static constexpr QRgb PlaneAGrid = 0xFFFFE040;  // yellow
  static constexpr QRgb PlaneBGrid = 0xFF40A0FF;  // blue
  static constexpr QRgb WindowBand = 0xFF40FF60;  // green
  static constexpr QRgb SpriteBox = 0xFF40FFFF;   // cyan: drawn whole on every line
  static constexpr QRgb SpriteCut = 0xFFFF4040;   // red: missing on some lines
  static constexpr QRgb DropSpriteLimit = 0xFFFF3030;
  static constexpr QRgb DropCellLimit = 0xFFFF9020;
  static constexpr QRgb DropMasking = 0xFFFF40FF;
};

class TScreenOverlayPainter {
 public:
  // Takes what the chosen overlays draw from the model, for a picture rendered with `options`.
  // Built once per rendered picture (or choice), painted at every repaint.
  void Build(const TMegaDriveVDP& vdp, uint16_t options, uint8_t overlays);
  void Clear() { *this = TScreenOverlayPainter(); }
  uint8_t Overlays() const { return m_overlays; }

  // Draws the overlays over a picture that the painter shows `scale` times enlarged with its
  // top-left at the painter's origin. Lines are one screen pixel wide at any scale.
  void Paint(QPainter& painter, int scale) const;

  // What a plane's grid is made of, in picture pixels: a vertical line (x, top, x, bottom)
  // runs on the left edge of pixels x, rows top to bottom inclusive; a horizontal one
  // (left, y, right, y) on the top edge of row y.
  struct TGrid {
    std::vector<QLine> Vertical;
    std::vector<QLine> Horizontal;
  };
  const TGrid& Grid(TScreenOverlay plane) const {
    return plane == soPlaneAGrid ? m_gridA : m_gridB;
  }

 private:
  struct TBox {
    QRect Box;
    int Number = 0;
    bool Cut = false;
  };
  struct TDropMark {
    int Row = 0;
    QRgb Color = 0;
  };

  void paintLayer(QPainter& painter, int scale) const;

  uint8_t m_overlays = 0;
  int m_width = 0;
  int m_height = 0;
  TGrid m_gridA;
  TGrid m_gridB;
  QPainterPath m_window;
  std::vector<TBox> m_boxes;
  std::vector<TDropMark> m_drops;
  // The overlays drawn at m_layerScale, made by the first Paint at that scale.
  mutable QImage m_layer;
  mutable int m_layerScale = 0;
};

// The picture `scale` times enlarged, with the overlays drawn over it, in 32-bit colour: what
// "Save with overlays" writes.
QImage PictureWithOverlays(const TIndexedBitmap& picture, int scale,
                           const TScreenOverlayPainter& overlays);

// "Save with overlays": that picture as a file, PNG for ".png" names, else a 32-bit BMP; written
// as SavePicture writes (EFileError "Cannot create file ..." on failure).
void SavePictureWithOverlays(const std::string& path, const TIndexedBitmap& picture, int scale,
                             const TScreenOverlayPainter& overlays);

// A frame around picture pixel `pixel` of a picture shown `scale` times enlarged: the pinned
// pixel of the inspector.
void PaintPixelMarker(QPainter& painter, QPoint pixel, int scale);

}  // namespace vantor
