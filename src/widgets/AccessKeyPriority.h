// Access keys of the page in front take precedence over the main menu's: "&HFlip" on
// "Patterns && Sprites" and "Ignore &H Scrolling" on "Screen" answer Alt+H although the menu
// bar has "&Help", "&First Pattern" answers Alt+F although it has "&File". Without this, Qt
// finds two owners for the key and neither acts fully: a check box only takes the focus, the
// menu does not open. On pages without such a control the menus answer as usual.
#pragma once

#include <QObject>

class QKeyEvent;
class QWidget;

namespace vantor {

class TAccessKeyPriority : public QObject {
  Q_OBJECT

 public:
  // Watches the key events of pages' window for as long as pages lives; pages holds every page
  // (the main window's page control), and only the controls that show take part.
  explicit TAccessKeyPriority(QWidget* pages);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The showing, enabled control whose access key the event is: a button, or a label's buddy.
  QWidget* controlFor(QObject* watched, const QKeyEvent& key) const;

  QWidget* m_pages;
};

}  // namespace vantor
