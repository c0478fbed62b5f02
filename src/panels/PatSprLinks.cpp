#include "panels/PatSprLinks.h"

namespace vantor {

void RedrawViewWindowPatterns(TfrmView*, const TMegaDriveVDP&, std::span<const uint8_t>) {}

}  // namespace vantor
