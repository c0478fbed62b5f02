// A plain composer of the screen, the yardstick the renderer is compared with.
#pragma once

#include <cstdint>

#include "vdp/MegaDriveVDP.h"

namespace vantor::reference {

// Same contract as TMegaDriveVDP::RenderScreen, computed pixel by pixel from the registers and
// memories alone.
void RenderScreen(const TMegaDriveVDP& vdp, const TSurfaceInfo& info, uint16_t options, int y,
                  int x);

// The size of the picture RenderScreen composes for these options.
void PictureSize(const TMegaDriveVDP& vdp, uint16_t options, int32_t& width, int32_t& height);

}  // namespace vantor::reference
