// TFlowLayout: lays its items out left to right and starts a new line when the next item
// would not fit, so a row of controls stays readable (and reachable) on a narrow window.
#pragma once

#include <QLayout>
#include <QList>

namespace vantor {

class TFlowLayout : public QLayout {
 public:
  explicit TFlowLayout(QWidget* parent = nullptr, int hSpacing = 8, int vSpacing = 4);
  ~TFlowLayout() override;

  void addItem(QLayoutItem* item) override;
  int count() const override { return int(m_items.size()); }
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;

  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize minimumSize() const override;
  QSize sizeHint() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Places the items inside rect (only measures when place is false); returns the height used.
  int DoLayout(const QRect& rect, bool place) const;

  QList<QLayoutItem*> m_items;
  int m_hSpacing;
  int m_vSpacing;
};

}  // namespace vantor
