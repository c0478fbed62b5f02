// A caption label that works as a link: it takes the hover look (pointing hand, highlight
// colour, underline) while the mouse is over it and reports clicks.
#pragma once

#include <QLabel>

namespace vantor {

class TLinkLabel : public QLabel {
  Q_OBJECT

 public:
  explicit TLinkLabel(const QString& text, QWidget* parent = nullptr);
  explicit TLinkLabel(QWidget* parent = nullptr);

  // True while the mouse is over the label (the hover look is on).
  bool IsHot() const { return m_hot; }
  // A link among plain text: underlined in the link colour also while the mouse is elsewhere.
  void SetLinkLook(bool on);

 signals:
  // A mouse button was pressed and released over the label.
  void clicked(Qt::MouseButton button);

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void setHot(bool hot);

  void applyLook();

  bool m_hot = false;
  bool m_linkLook = false;
  Qt::MouseButtons m_pressed;
};

}  // namespace vantor
