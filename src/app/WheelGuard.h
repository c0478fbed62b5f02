// The mouse wheel changes only the control that has the keyboard focus.
#pragma once

#include <QObject>

class QWidget;

namespace vantor {

// Over a list, spin box or slider that does not have the focus, the wheel scrolls the page the
// control sits on, as it does over any other part of the page, and changes nothing: scrolling
// a page must never edit the values on it. Once a control has the focus (a click, Tab), the
// wheel steps it as usual. The one guard watches every widget of the program.
class TWheelGuard : public QObject {
  Q_OBJECT

 public:
  // Installs the guard on the application; later calls do nothing.
  static void Install();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit TWheelGuard(QObject* parent);
};

// True for the controls whose value the wheel steps (lists, spin boxes, sliders).
bool IsWheelValueControl(const QWidget* widget);

}  // namespace vantor
