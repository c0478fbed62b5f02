// The literal composer the fast renderer is compared with.
#pragma once

#include <cstdint>

#include "vdp/MegaDriveVDP.h"

namespace vantor::reference {

// Same contract as TMegaDriveVDP::RenderScreen, computed pixel by pixel.
void RenderScreen(const TMegaDriveVDP& vdp, const TSurfaceInfo& info, uint16_t options, int y,
                  int x);

}  // namespace vantor::reference
