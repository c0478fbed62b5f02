#include "widgets/AccessKeyPriority.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>

namespace vantor {
namespace {

bool Takes(const QWidget* widget) {
  return widget && widget->isVisible() && widget->isEnabled();
}

}  // namespace

TAccessKeyPriority::TAccessKeyPriority(QWidget* pages) : QObject(pages), m_pages(pages) {
  qApp->installEventFilter(this);
}

QWidget* TAccessKeyPriority::controlFor(QObject* watched, const QKeyEvent& key) const {
  if (key.modifiers() != Qt::AltModifier || !m_pages->isVisible()) return nullptr;
  auto* target = qobject_cast<QWidget*>(watched);
  if (!target || target->window() != m_pages->window()) return nullptr;
  const QKeySequence pressed(key.keyCombination());
  for (QAbstractButton* button : m_pages->findChildren<QAbstractButton*>()) {
    if (Takes(button) && QKeySequence::mnemonic(button->text()) == pressed) return button;
  }
  for (QLabel* label : m_pages->findChildren<QLabel*>()) {
    if (Takes(label) && Takes(label->buddy()) && QKeySequence::mnemonic(label->text()) == pressed)
      return label->buddy();
  }
  return nullptr;
}

// The focus widget is asked first whether it wants the key itself (ShortcutOverride); saying
// yes on its behalf keeps the menu bar's shortcut from firing, and the key press that follows
// does what the control's own access key does: a button is clicked, a label's buddy takes the
// focus.
bool TAccessKeyPriority::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
  QWidget* control = controlFor(watched, *static_cast<QKeyEvent*>(event));
  if (!control) return false;
  event->accept();
  if (type == QEvent::KeyPress) {
    control->setFocus(Qt::ShortcutFocusReason);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->click();
  }
  return true;
}

}  // namespace vantor
