// A page control that tells before it switches pages, so that the page being left can hand
// its edits over while it is still the shown page.
#pragma once

#include <QTabWidget>

namespace vantor {

class TPageControl : public QTabWidget {
  Q_OBJECT

 public:
  explicit TPageControl(QWidget* parent = nullptr);

  // Makes every tab caption show whole within width pixels: a smaller tab font when the
  // captions would not fit (they are never cut or scrolled away).
  void FitTabsInto(int width);

  // The page shown before the switch in progress, or the current page.
  int ShownIndex() const { return m_shown; }

 signals:
  // The page `from` is about to give way to `to`; the new page is not shown yet.
  void changing(int from, int to);
  // The page `index` is now shown.
  void changed(int index);

 private:
  int m_shown = -1;
};

}  // namespace vantor
