#include "panels/AccessKeyPriority.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>

namespace vantor {

TAccessKeyPriority::TAccessKeyPriority(QWidget* page) : QObject(page), m_page(page) {
  qApp->installEventFilter(this);
}

QAbstractButton* TAccessKeyPriority::buttonFor(QObject* watched, const QKeyEvent& key) const {
  if (key.modifiers() != Qt::AltModifier || !m_page->isVisible()) return nullptr;
  auto* target = qobject_cast<QWidget*>(watched);
  if (!target || target->window() != m_page->window()) return nullptr;
  const QKeySequence pressed(key.keyCombination());
  for (QAbstractButton* button : m_page->findChildren<QAbstractButton*>()) {
    if (button->isVisible() && button->isEnabled() &&
        QKeySequence::mnemonic(button->text()) == pressed)
      return button;
  }
  return nullptr;
}

// The focus widget is asked first whether it wants the key itself (ShortcutOverride); saying
// yes on its behalf keeps the menu bar's shortcut from firing, and the key press that follows
// clicks the button as its own access key would.
bool TAccessKeyPriority::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
  QAbstractButton* button = buttonFor(watched, *static_cast<QKeyEvent*>(event));
  if (!button) return false;
  event->accept();
  if (type == QEvent::KeyPress) {
    button->setFocus(Qt::ShortcutFocusReason);
    button->click();
  }
  return true;
}

}  // namespace vantor
