// Where the "Patterns && Sprites" page reaches other windows: the hex editors it jumps into and
// the floating view window it keeps in step with the pattern source.
#pragma once

#include <cstdint>
#include <span>

namespace vantor {

class TMegaDriveVDP;
class TQuorHexEditorEx;
class TfrmView;

// The byte's row becomes the editor's top visible row and the caret stands on the byte.
void PositionHexEditor(TQuorHexEditorEx* editor, int64_t offset);
void FocusHexEditor(TQuorHexEditorEx* editor);
// Redraws the view window's patterns picture from source when it shows patterns.
void RedrawViewWindowPatterns(TfrmView* view, const TMegaDriveVDP& vdp,
                              std::span<const uint8_t> source);

}  // namespace vantor
