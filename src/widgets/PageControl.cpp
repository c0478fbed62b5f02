#include "widgets/PageControl.h"

#include <QTabBar>

namespace vantor {

TPageControl::TPageControl(QWidget* parent) : QTabWidget(parent) {
  // Slots run in the order they were connected: this one is connected to the new tab bar
  // before the tab widget connects its own page switch, so it runs while the old page shows.
  auto* bar = new QTabBar(this);
  connect(bar, &QTabBar::currentChanged, this, [this](int to) {
    const int from = m_shown;
    if (from >= 0 && from != to) emit changing(from, to);
  });
  setTabBar(bar);
  connect(this, &QTabWidget::currentChanged, this, [this](int index) {
    m_shown = index;
    emit changed(index);
  });
}

void TPageControl::FitTabsInto(int width) {
  constexpr qreal kSmallestPointSize = 6;
  QTabBar* bar = tabBar();
  bar->setUsesScrollButtons(false);
  bar->setElideMode(Qt::ElideNone);
  QFont font = bar->font();
  while (bar->sizeHint().width() > width && font.pointSizeF() > kSmallestPointSize) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    bar->setFont(font);
  }
}

}  // namespace vantor
