// Access keys of a page's buttons take precedence over the main menu's while the page shows:
// "Ignore &V Scrolling" answers Alt+V even though the menu bar has "&View". Without this, Qt
// finds two owners for the key and neither acts.
#pragma once

#include <QObject>

class QAbstractButton;
class QKeyEvent;
class QWidget;

namespace vantor {

class TAccessKeyPriority : public QObject {
  Q_OBJECT

 public:
  // Watches the key events of page's window for as long as page lives.
  explicit TAccessKeyPriority(QWidget* page);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The visible, enabled button of the page whose access key the event is, or null.
  QAbstractButton* buttonFor(QObject* watched, const QKeyEvent& key) const;

  QWidget* m_page;
};

}  // namespace vantor
