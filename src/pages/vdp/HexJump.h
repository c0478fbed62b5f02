// Positioning a memory page's hex editor on a byte, for the links of the VDP pages.
#pragma once

namespace vantor {

class TQuorHexEditorEx;

// Makes the row holding the byte at offset the top visible row, puts the caret on the byte's
// first hex digit and gives the editor the focus. False when there is no editor or the offset
// lies outside its data.
bool JumpToByte(TQuorHexEditorEx* editor, int offset);

}  // namespace vantor
