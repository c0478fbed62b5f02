// The render options of the screen commands (render, inspect) from the command line, and the
// savestate loaded with its VDP model.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "cli/CliSupport.h"

namespace vantor {

struct TLayerName {
  std::string_view Name;  // "a-lo" ...
  uint16_t Option;
};
inline constexpr TLayerName kLayerNames[] = {
    {"a-lo", kRenderPlaneALo},    {"a-hi", kRenderPlaneAHi},    {"b-lo", kRenderPlaneBLo},
    {"b-hi", kRenderPlaneBHi},    {"win-lo", kRenderWindowLo},  {"win-hi", kRenderWindowHi},
    {"spr-lo", kRenderSpritesLo}, {"spr-hi", kRenderSpritesHi},
};

// The layer halves of --layers (default: all eight); EUsageError for an unknown name.
uint16_t LayerOptions(const TCliContext& context);

// The ignore options, the virtual screen and the sprite rule: the screen follows the console's
// sprite limits unless --all-sprites; the entire virtual screen draws every sprite unless
// --sprite-limits. EUsageError when both are given.
uint16_t ScreenOptions(const TCliContext& context);

// The layers, the screen options and the backdrop (unless --no-backdrop): the whole option
// word of the picture.
uint16_t PictureOptions(const TCliContext& context);

// The savestate of the first argument and the model loaded from it.
struct TStateWithModel {
  TLoadedState State;
  std::unique_ptr<TMegaDriveVDP> VDP = std::make_unique<TMegaDriveVDP>();
};
TStateWithModel LoadWithModel(TCliContext& context);

}  // namespace vantor
