#include "widgets/LinkLabel.h"

#include <QEnterEvent>
#include <QMouseEvent>

namespace vantor {

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

TLinkLabel::TLinkLabel(QWidget* parent) : QLabel(parent) {}

void TLinkLabel::enterEvent(QEnterEvent* event) {
  setHot(true);
  QLabel::enterEvent(event);
}

void TLinkLabel::leaveEvent(QEvent* event) {
  setHot(false);
  QLabel::leaveEvent(event);
}

void TLinkLabel::mousePressEvent(QMouseEvent* event) {
  m_pressed |= event->button();
  event->accept();
}

// A click is a press and a release of the same button, the release over the label, so the
// user can still back out by moving away before letting go.
void TLinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  const bool wasPressed = m_pressed.testFlag(button);
  m_pressed &= ~Qt::MouseButtons(button);
  event->accept();
  if (wasPressed && rect().contains(event->position().toPoint())) emit clicked(button);
}

// The hot look uses the system highlight colour; the cold look goes back to the palette the
// label inherits (the system window-text colour), or to the link colour for a link look.
void TLinkLabel::setHot(bool hot) {
  if (hot == m_hot) return;
  m_hot = hot;
  applyLook();
}

void TLinkLabel::SetLinkLook(bool on) {
  m_linkLook = on;
  applyLook();
}

void TLinkLabel::applyLook() {
  QFont f = font();
  f.setUnderline(m_hot || m_linkLook);
  setFont(f);
  if (m_hot || m_linkLook) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, p.color(m_hot ? QPalette::Highlight : QPalette::Link));
    setPalette(p);
    setCursor(Qt::PointingHandCursor);
  } else {
    setPalette(QPalette());
    unsetCursor();
  }
}

}  // namespace vantor
