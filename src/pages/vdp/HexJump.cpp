#include "pages/vdp/HexJump.h"

#include "hexedit/QuorHexEditorEx.h"

namespace vantor {

bool JumpToByte(TQuorHexEditorEx* editor, int offset) {
  if (!editor || offset < 0 || offset >= editor->DataSize()) return false;
  editor->GotoByte(offset);
  editor->setFocus(Qt::OtherFocusReason);
  return true;
}

}  // namespace vantor
