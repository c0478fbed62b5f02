// The "VRAM Map" page (tsVRAMMap) of pcVDP: the 64 KiB of Video RAM laid out as the pattern
// sheet, each 32-byte block coloured by what the display uses it for (name tables, sprite
// table, horizontal scroll table, patterns of the planes and of the sprites, nothing), overlaps
// standing out, with a legend and the tables' ranges. Hovering names the block's uses and
// address in the status bar; a click opens the Video RAM editor at the block. The page only
// reads the model.
#pragma once

#include <QPixmap>
#include <QWidget>

#include "pages/VDPPage.h"
#include "vdp/Bitmap.h"
#include "vdp/VRAMMap.h"

class QVBoxLayout;

namespace vantor {

// pbVRAMMap: the map's picture at the largest whole zoom its size allows, from its top-left.
class TVRAMMapBox : public QWidget {
  Q_OBJECT

 public:
  explicit TVRAMMapBox(QWidget* parent = nullptr);
  void SetPicture(const QPixmap& picture);
  int Zoom() const;
  // The picture pixel under a point of the box; (-1, -1) outside the picture.
  QPoint PixelAt(QPoint at) const;

  QSize sizeHint() const override { return m_picture.size(); }
  QSize minimumSizeHint() const override { return m_picture.size(); }

 signals:
  void hovered(QPoint pixel);
  void clicked(QPoint pixel);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QPixmap m_picture;
};

class TVRAMMapPage : public TVDPPage {
  Q_OBJECT

 public:
  explicit TVRAMMapPage(TPageHost& host, QWidget* parent = nullptr);

  // Builds the map from the model, as the page is shown.
  void PageShow() override;
  void ModelReloaded() override;

  const TVRAMMap& Map() const { return m_map; }
  TVRAMMapBox* pbVRAMMap() const { return m_box; }
  // "$C3A0-$C3BF pattern $51D: plane A table", for the block under picture pixel (x, y);
  // empty outside the picture.
  QString BlockText(QPoint pixel) const;
  // The Video RAM editor at the first byte of the block under the pixel.
  void OpenBlock(QPoint pixel);

 private:
  void buildLegend(QVBoxLayout* page);
  void fillTables();
  // The first byte of the block under picture pixel (x, y), or -1.
  int32_t blockAt(QPoint pixel) const;

  TPageHost& m_host;
  TVRAMMap m_map;
  TIndexedBitmap m_picture;
  TVRAMMapBox* m_box = nullptr;
  QWidget* m_tables = nullptr;
};

}  // namespace vantor
