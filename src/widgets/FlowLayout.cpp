#include "widgets/FlowLayout.h"

#include <QWidget>
#include <algorithm>

namespace vantor {

TFlowLayout::TFlowLayout(QWidget* parent, int hSpacing, int vSpacing)
    : QLayout(parent), m_hSpacing(hSpacing), m_vSpacing(vSpacing) {
  setContentsMargins(0, 0, 0, 0);
}

TFlowLayout::~TFlowLayout() {
  while (QLayoutItem* item = takeAt(0))
    delete item;
}

void TFlowLayout::addItem(QLayoutItem* item) {
  m_items.append(item);
}

QLayoutItem* TFlowLayout::itemAt(int index) const {
  return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

QLayoutItem* TFlowLayout::takeAt(int index) {
  return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

int TFlowLayout::heightForWidth(int width) const {
  return DoLayout(QRect(0, 0, width, 0), false);
}

QSize TFlowLayout::minimumSize() const {
  QSize size;
  for (const QLayoutItem* item : m_items)
    size = size.expandedTo(item->minimumSize());
  const QMargins margins = contentsMargins();
  return size + QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize TFlowLayout::sizeHint() const {
  // One line: as wide as all items side by side.
  int width = 0;
  int height = 0;
  for (const QLayoutItem* item : m_items) {
    if (item->isEmpty()) continue;
    width += (width > 0 ? m_hSpacing : 0) + item->sizeHint().width();
    height = std::max(height, item->sizeHint().height());
  }
  const QMargins margins = contentsMargins();
  return QSize(width + margins.left() + margins.right(), height + margins.top() + margins.bottom());
}

void TFlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  DoLayout(rect, true);
}

int TFlowLayout::DoLayout(const QRect& rect, bool place) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  int x = area.x();
  int y = area.y();
  int lineHeight = 0;
  for (QLayoutItem* item : m_items) {
    if (item->isEmpty()) continue;
    const QSize hint = item->sizeHint();
    if (x > area.x() && x + hint.width() > area.right() + 1) {
      x = area.x();
      y += lineHeight + m_vSpacing;
      lineHeight = 0;
    }
    if (place) item->setGeometry(QRect(QPoint(x, y), hint));
    x += hint.width() + m_hSpacing;
    lineHeight = std::max(lineHeight, hint.height());
  }
  return y + lineHeight - rect.y() + contentsMargins().bottom();
}

}  // namespace vantor
