#include "pages/vdp/ScreenPaintBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "pictureio/ScreenOverlayPainter.h"

namespace vantor {

TScreenPaintBox::TScreenPaintBox(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
}

void TScreenPaintBox::SetPicture(const QPixmap& picture) {
  m_picture = picture;
  update();
}

void TScreenPaintBox::SetOverlays(const TScreenOverlayPainter* overlays) {
  m_overlays = overlays;
  update();
}

void TScreenPaintBox::SetMarker(QPoint pixel) {
  if (pixel == m_marker) return;
  m_marker = pixel;
  update();
}

void TScreenPaintBox::paintEvent(QPaintEvent*) {
  if (m_picture.isNull()) return;
  QPainter painter(this);
  painter.drawPixmap(0, 0, m_picture);
  painter.setClipRect(m_picture.rect());
  if (m_overlays != nullptr) m_overlays->Paint(painter, 1);
  if (onPicture(m_marker)) PaintPixelMarker(painter, m_marker, 1);
}

void TScreenPaintBox::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (onPicture(at)) emit hovered(at);
  QWidget::mouseMoveEvent(event);
}

void TScreenPaintBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_pressed = event->position().toPoint();
  QWidget::mousePressEvent(event);
}

// A click pins the pixel it was pressed on, when it is released over the picture.
void TScreenPaintBox::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pressed = m_pressed;
  m_pressed = QPoint(-1, -1);
  if (event->button() == Qt::LeftButton && onPicture(pressed) &&
      onPicture(event->position().toPoint()))
    emit clicked(pressed);
  QWidget::mouseReleaseEvent(event);
}

}  // namespace vantor
