#include "pictureio/ScreenOverlayPainter.h"

#include <QPainter>
#include <algorithm>

#include "pictureio/PictureIO.h"
#include "vdp/ScreenOverlays.h"

namespace vantor {
namespace {

// Vertical grid lines: the left edges of the cells on every row, merged where the same edge
// continues on the next row. Edges left of the plane rectangle (a cell scrolled in partly) and
// right of the picture are not drawn.
void addVerticalLines(const std::vector<TPlaneGridRow>& rows, int32_t left, int32_t right,
                      std::vector<QLine>& out) {
  if (right <= left) return;
  // For every x: the first row of the line running there (-1: none), and the last row that
  // had an edge there.
  std::vector<int32_t> top(std::size_t(right), -1);
  std::vector<int32_t> seen(std::size_t(right), -1);
  std::vector<int32_t> open, edges;
  const int32_t count = int32_t(rows.size());
  for (int32_t y = 0; y <= count; ++y) {
    edges.clear();
    if (y < count) {
      for (const TPlaneCellSpan& cell : rows[std::size_t(y)].Cells)
        if (cell.Left >= left && cell.Left < right) edges.push_back(cell.Left);
    }
    for (int32_t x : edges) {
      seen[std::size_t(x)] = y;
      if (top[std::size_t(x)] < 0) top[std::size_t(x)] = y;
    }
    for (int32_t x : open) {
      if (seen[std::size_t(x)] == y) continue;
      out.emplace_back(int(x), int(top[std::size_t(x)]), int(x), int(y - 1));
      top[std::size_t(x)] = -1;
    }
    open.swap(edges);
  }
}

// Horizontal grid lines: above every cell shown from its top row, neighbours joined.
void addHorizontalLines(const std::vector<TPlaneGridRow>& rows, int32_t left, int32_t right,
                        std::vector<QLine>& out) {
  for (int32_t y = 0; y < int32_t(rows.size()); ++y) {
    bool running = false;
    int32_t from = 0, to = 0;
    for (const TPlaneCellSpan& cell : rows[std::size_t(y)].Cells) {
      if (cell.PixelRow != 0) continue;
      const int32_t a = std::max(cell.Left, left);
      const int32_t b = std::min(cell.Left + 8, right);
      if (a >= b) continue;
      if (running && a == to) {
        to = b;
        continue;
      }
      if (running) out.emplace_back(int(from), int(y), int(to - 1), int(y));
      running = true;
      from = a;
      to = b;
    }
    if (running) out.emplace_back(int(from), int(y), int(to - 1), int(y));
  }
}

TScreenOverlayPainter::TGrid gridLines(const TMegaDriveVDP& vdp, uint16_t options,
                                       TScrolledPlane plane, const TScreenGeometry& g) {
  const std::vector<TPlaneGridRow> rows = GetPlaneGrid(vdp, options, plane);
  const int32_t left = std::max(g.Plane.Left, 0);
  const int32_t right = std::min(g.Plane.Right, g.Width);
  TScreenOverlayPainter::TGrid grid;
  addVerticalLines(rows, left, right, grid.Vertical);
  addHorizontalLines(rows, left, right, grid.Horizontal);
  return grid;
}

QRect clipped(const TVDPRect& r, const TScreenGeometry& g) {
  const QRect rect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
  return rect.intersected(QRect(0, 0, g.Width, g.Height));
}

QRgb dropColor(TSpriteDrop drop) {
  switch (drop) {
    case TSpriteDrop::sdSpriteLimit:
      return TOverlayColors::DropSpriteLimit;
    case TSpriteDrop::sdCellLimit:
      return TOverlayColors::DropCellLimit;
    case TSpriteDrop::sdMasking:
      return TOverlayColors::DropMasking;
    case TSpriteDrop::sdNone:
      break;
  }
  return 0;
}

// Picture pixels to screen pixels: a picture rectangle covers scale x scale screen pixels a
// pixel; its frame is drawn on its outermost screen pixels.
QRect scaledRect(const QRect& r, int scale) {
  return QRect(r.left() * scale, r.top() * scale, r.width() * scale - 1, r.height() * scale - 1);
}

// A vertical line on the left screen pixel of its picture column, a horizontal one on the top
// screen pixel of its picture row, each spanning its picture pixels whole.
void paintGrid(QPainter& painter, const TScreenOverlayPainter::TGrid& grid, QRgb color, int scale) {
  QColor c = QColor::fromRgba(color);
  c.setAlpha(200);
  painter.setPen(QPen(c, 0));
  for (const QLine& l : grid.Vertical)
    painter.drawLine(l.x1() * scale, l.y1() * scale, l.x2() * scale, l.y2() * scale + scale - 1);
  for (const QLine& l : grid.Horizontal)
    painter.drawLine(l.x1() * scale, l.y1() * scale, l.x2() * scale + scale - 1, l.y2() * scale);
}

void paintOutlinedText(QPainter& painter, QPoint at, const QString& text, QRgb color) {
  painter.setPen(Qt::black);
  for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
    painter.drawText(at + d, text);
  painter.setPen(QColor::fromRgba(color));
  painter.drawText(at, text);
}

}  // namespace

void TScreenOverlayPainter::Build(const TMegaDriveVDP& vdp, uint16_t options, uint8_t overlays) {
  Clear();
  m_overlays = overlays;
  if (overlays == 0) return;
  const TScreenOverlays data = GetScreenOverlays(vdp, options);
  const TScreenGeometry& g = data.Geometry;
  m_width = g.Width;
  m_height = g.Height;
  if (overlays & soPlaneAGrid) m_gridA = gridLines(vdp, options, TScrolledPlane::spA, g);
  if (overlays & soPlaneBGrid) m_gridB = gridLines(vdp, options, TScrolledPlane::spB, g);
  if (overlays & soWindowBand) {
    for (const TVDPRect& band : {g.WindowColumns, g.WindowRows}) {
      const QRect rect = clipped(band, g);
      if (!rect.isEmpty())
        m_window.addRect(QRectF(rect.left(), rect.top(), rect.width(), rect.height()));
    }
    m_window = m_window.simplified();
  }
  if (overlays & soSpriteBoxes) {
    for (const TSpriteBox& s : data.Sprites) {
      const QRect box(QPoint(s.Box.Left, s.Box.Top), QPoint(s.Box.Right - 1, s.Box.Bottom - 1));
      if (box.intersects(QRect(0, 0, g.Width, g.Height)))
        m_boxes.push_back({box, s.Number, s.MissingLines > 0});
    }
  }
  if (overlays & soSpriteDrops) {
    for (std::size_t y = 0; y < data.Lines.size(); ++y) {
      const TSpriteDrop drop = data.Lines[y].Sprites.Drop;
      if (drop != TSpriteDrop::sdNone) m_drops.push_back({int(y), dropColor(drop)});
    }
  }
}

// Drawn once per picture and zoom into a layer of their own, so that a repaint is one copy
// however many lines the grids hold (thousands when every line scrolls on its own).
void TScreenOverlayPainter::Paint(QPainter& painter, int scale) const {
  if (m_overlays == 0 || m_width <= 0 || m_height <= 0) return;
  if (m_layer.isNull() || m_layerScale != scale) {
    m_layer = QImage(m_width * scale, m_height * scale, QImage::Format_ARGB32_Premultiplied);
    m_layer.fill(Qt::transparent);
    QPainter layer(&m_layer);
    paintLayer(layer, scale);
    m_layerScale = scale;
  }
  painter.drawImage(0, 0, m_layer);
}

void TScreenOverlayPainter::paintLayer(QPainter& painter, int scale) const {
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (!m_window.isEmpty()) {
    QTransform zoom;
    zoom.scale(scale, scale);
    const QPainterPath band = zoom.map(m_window);
    QColor fill = QColor::fromRgba(TOverlayColors::WindowBand);
    fill.setAlpha(48);
    painter.fillPath(band, fill);
    painter.setPen(QPen(QColor::fromRgba(TOverlayColors::WindowBand), 0));
    painter.drawPath(band);
  }
  paintGrid(painter, m_gridB, TOverlayColors::PlaneBGrid, scale);
  paintGrid(painter, m_gridA, TOverlayColors::PlaneAGrid, scale);
  for (const TDropMark& mark : m_drops) {
    // A faint band across the line and a solid bar at the picture's right edge.
    QColor c = QColor::fromRgba(mark.Color);
    const int top = mark.Row * scale;
    c.setAlpha(72);
    painter.fillRect(QRect(0, top, m_width * scale, scale), c);
    c.setAlpha(255);
    const int bar = std::min(m_width * scale, 8 * scale);
    painter.fillRect(QRect(m_width * scale - bar, top, bar, scale), c);
  }
  if (!m_boxes.empty()) {
    QFont font = painter.font();
    font.setPixelSize(std::max(8, 7 * scale));
    painter.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    for (const TBox& box : m_boxes) {
      const QRgb color = box.Cut ? TOverlayColors::SpriteCut : TOverlayColors::SpriteBox;
      painter.setPen(QPen(QColor::fromRgba(color), 0));
      const QRect r = scaledRect(box.Box, scale);
      painter.drawRect(r);
      paintOutlinedText(painter, r.topLeft() + QPoint(2, ascent + 1), QString::number(box.Number),
                        color);
    }
  }
}

QImage PictureWithOverlays(const TIndexedBitmap& picture, int scale,
                           const TScreenOverlayPainter& overlays) {
  scale = std::max(scale, 1);
  QImage image = IndexedView(picture).convertToFormat(QImage::Format_RGB32);
  if (scale > 1)
    image = image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  QPainter painter(&image);
  overlays.Paint(painter, scale);
  return image;
}

void SavePictureWithOverlays(const std::string& path, const TIndexedBitmap& picture, int scale,
                             const TScreenOverlayPainter& overlays) {
  SavePicture(path, FromQImage(PictureWithOverlays(picture, scale, overlays)));
}

void PaintPixelMarker(QPainter& painter, QPoint pixel, int scale) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  const QRect r(pixel.x() * scale - 2, pixel.y() * scale - 2, scale + 3, scale + 3);
  painter.setPen(QPen(Qt::black, 0));
  painter.drawRect(r.adjusted(-1, -1, 1, 1));
  painter.setPen(QPen(Qt::white, 0));
  painter.drawRect(r);
  painter.restore();
}

}  // namespace vantor
