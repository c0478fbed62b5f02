#include "app/WheelGuard.h"

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>

namespace vantor {
namespace {

// A control with the wheel focus policy takes the focus from a real wheel turn before any
// filter sees the turn; it must wait for a click or Tab instead.
void RefuseWheelFocus(QWidget* widget) {
  if (IsWheelValueControl(widget) && widget->focusPolicy() == Qt::WheelFocus) {
    widget->setFocusPolicy(Qt::StrongFocus);
  }
}

bool HoldsFocus(const QWidget* widget) {
  const QWidget* focus = QApplication::focusWidget();
  return focus && (focus == widget || widget->isAncestorOf(focus));
}

// The viewport of the scrolled page around a widget, or null.
QWidget* PageViewport(const QWidget* widget) {
  for (QWidget* up = widget->parentWidget(); up && !up->isWindow(); up = up->parentWidget()) {
    if (auto* area = qobject_cast<QAbstractScrollArea*>(up)) return area->viewport();
  }
  return nullptr;
}

}  // namespace

bool IsWheelValueControl(const QWidget* widget) {
  if (qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)) {
    return true;
  }
  return qobject_cast<const QAbstractSlider*>(widget) && !qobject_cast<const QScrollBar*>(widget);
}

TWheelGuard::TWheelGuard(QObject* parent) : QObject(parent) {}

void TWheelGuard::Install() {
  static QPointer<TWheelGuard> guard;
  if (guard || !qApp) return;
  guard = new TWheelGuard(qApp);
  qApp->installEventFilter(guard);
  // Controls polished before the guard came.
  for (QWidget* widget : QApplication::allWidgets())
    RefuseWheelFocus(widget);
}

bool TWheelGuard::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::Polish && type != QEvent::Wheel) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || !IsWheelValueControl(widget)) return false;
  if (type == QEvent::Polish) {
    RefuseWheelFocus(widget);
    return false;
  }
  if (HoldsFocus(widget)) return false;
  // The page scrolls instead; the control never sees the turn.
  const auto* wheel = static_cast<QWheelEvent*>(event);
  if (QWidget* page = PageViewport(widget)) {
    QWheelEvent turn(page->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(),
                     wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(), wheel->modifiers(),
                     wheel->phase(), wheel->inverted(), wheel->source());
    QCoreApplication::sendEvent(page, &turn);
  }
  event->accept();
  return true;
}

}  // namespace vantor
