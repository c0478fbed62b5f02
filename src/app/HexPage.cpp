#include "app/HexPage.h"

#include <QVBoxLayout>
#include <algorithm>

#include "hexedit/QuorHexEditorEx.h"

namespace vantor {
namespace {

// The settings every memory page's editor has.
constexpr int kBytesPerRow = 16;
constexpr const char* kOffsetFormat = "-!10:$|";  // "$" and as many hex digits as needed
constexpr int64_t kMaxUndo = 65536;
constexpr int kFontPixelHeight = 15;

}  // namespace

THexPage::THexPage(int bytesPerColumn, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  m_editor = new TQuorHexEditorEx(this);
  m_editor->SetBytesPerRow(kBytesPerRow);
  m_editor->SetBytesPerColumn(bytesPerColumn);
  m_editor->SetOffsetFormat(QString::fromLatin1(kOffsetFormat));
  m_editor->SetNoSizeChange(true);
  m_editor->SetMaxUndo(kMaxUndo);
  m_editor->SetShowRuler(true);
  m_editor->SetDrawGridLines(true);
  m_editor->SetFocusFrame(true);
  m_editor->SetOleDragDrop(true);
  m_editor->SetCreateBackup(false);
  m_editor->SetColors(TQuorHColors::Defaults(m_editor->palette()));
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(kFontPixelHeight);
  m_editor->SetGridFont(font);
  m_editor->viewport()->setCursor(Qt::IBeamCursor);
  layout->addWidget(m_editor);
  connect(m_editor, &TQuorHexEditorEx::changed, this, &THexPage::changed);
  connect(m_editor, &TQuorHexEditorEx::exited, this, &THexPage::exited);
}

TQuorHexEditorEx* THexPage::Editor() const {
  return m_editor;
}

std::size_t THexPage::DataSize() const {
  return std::size_t(m_editor->DataSize());
}

void THexPage::Load(const uint8_t* bytes, std::size_t size, bool reset) {
  // Straight into the buffer: no undo record and no change marks for the program's own copy.
  m_editor->BeginUndoUpdate();
  m_editor->SetDataSize(int64_t(size));
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

}  // namespace vantor
