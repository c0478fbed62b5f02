#include "app/PageControl.h"

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

}  // namespace vantor
