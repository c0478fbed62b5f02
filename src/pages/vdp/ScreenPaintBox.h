// pbScreen, the picture of the "Screen" page: draws the last picture unscaled from its top-left
// (the rest shows the page's background), the chosen overlays over it and a frame around the
// pinned pixel; it tells which picture pixel the mouse is over and which one was clicked. Qt
// paints widgets double-buffered, so redrawing does not flicker.
#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

namespace vantor {

class TScreenOverlayPainter;

class TScreenPaintBox : public QWidget {
  Q_OBJECT

 public:
  explicit TScreenPaintBox(QWidget* parent = nullptr);
  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return m_picture; }
  // Drawn over the picture at every paint (null: none); the painter stays the caller's.
  void SetOverlays(const TScreenOverlayPainter* overlays);
  // The pinned pixel's frame; (-1, -1) for none.
  void SetMarker(QPoint pixel);
  QPoint Marker() const { return m_marker; }

 signals:
  // The mouse moved over picture pixel `pixel`.
  void hovered(QPoint pixel);
  // The left button was pressed and released on picture pixel `pixel`.
  void clicked(QPoint pixel);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool onPicture(QPoint at) const { return QRect(QPoint(0, 0), m_picture.size()).contains(at); }

  QPixmap m_picture;
  const TScreenOverlayPainter* m_overlays = nullptr;
  QPoint m_marker{-1, -1};
  QPoint m_pressed{-1, -1};
};

}  // namespace vantor
