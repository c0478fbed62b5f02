#include "app/HexPage.h"

#include <QLabel>
#include <QVBoxLayout>

namespace vantor {

// Until the hex editor component is part of the program, the page keeps the block itself and
// shows its size.
THexPage::THexPage(int bytesPerColumn, QWidget* parent) : QWidget(parent) {
  (void)bytesPerColumn;
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel(this);
  label->setAlignment(Qt::AlignCenter);
  label->setFocusPolicy(Qt::StrongFocus);
  m_view = label;
  layout->addWidget(label);
}

TQuorHexEditorEx* THexPage::Editor() const {
  return nullptr;
}

std::size_t THexPage::DataSize() const {
  return m_bytes.size();
}

void THexPage::Load(const uint8_t* bytes, std::size_t size, bool reset) {
  (void)reset;
  m_bytes.assign(bytes, bytes + size);
  static_cast<QLabel*>(m_view)->setText(tr("%1 bytes").arg(size));
}

std::vector<uint8_t> THexPage::Bytes() const {
  return m_bytes;
}

bool THexPage::HasFocusWithin() const {
  return m_view->hasFocus();
}

}  // namespace vantor
