#include "pages/memory/HexPage.h"

#include <QVBoxLayout>
#include <algorithm>

#include "hexedit/QuorHexEditorEx.h"
#include "pages/memory/MemoryPages.h"

namespace vantor {

THexPage::THexPage(THexPageId page, QWidget* parent)
    : QWidget(parent), m_editor(new TQuorHexEditorEx(this)) {
  ConfigureMemoryEditor(*m_editor, page);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_editor);
  connect(m_editor, &TQuorHexEditorEx::changed, this, &THexPage::changed);
  connect(m_editor, &TQuorHexEditorEx::exited, this, &THexPage::exited);
}

std::size_t THexPage::DataSize() const {
  return std::size_t(m_editor->DataSize());
}

void THexPage::Load(const uint8_t* bytes, std::size_t size, bool reset) {
  // Inside the bracket nothing is recorded; a fixed-size editor takes a new size only from 0.
  m_editor->BeginUndoUpdate();
  if (std::size_t(m_editor->DataSize()) != size) {
    m_editor->SetDataSize(0);
    m_editor->SetDataSize(int64_t(size));
  }
  std::copy_n(bytes, size, m_editor->DataBuffer());
  if (reset) m_editor->SetDataModified(false);
  m_editor->EndUndoUpdate();
  m_editor->Refresh();
}

std::vector<uint8_t> THexPage::Bytes() const {
  return m_editor->SaveToBytes();
}

bool THexPage::HasFocusWithin() const {
  return m_editor->hasFocus();
}

bool THexPage::JumpTo(int64_t offset) {
  if (offset < 0 || offset >= m_editor->DataSize()) return false;
  m_editor->GotoByte(offset);
  m_editor->setFocus(Qt::OtherFocusReason);
  return true;
}

}  // namespace vantor
