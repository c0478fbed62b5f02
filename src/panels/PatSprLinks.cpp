#include "panels/PatSprLinks.h"

namespace vantor {

void PositionHexEditor(TQuorHexEditorEx*, int64_t) {}
void FocusHexEditor(TQuorHexEditorEx*) {}
void RedrawViewWindowPatterns(TfrmView*, const TMegaDriveVDP&, std::span<const uint8_t>) {}

}  // namespace vantor
