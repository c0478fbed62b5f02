#include "cli/ScreenOptions.h"

#include <algorithm>
#include <string>

namespace vantor {

namespace {

constexpr uint16_t kAllLayerHalves = kRenderAllLayers & ~kRenderBackdrop;

}  // namespace

uint16_t LayerOptions(const TCliContext& context) {
  const auto list = context.Args.Value("--layers");
  if (!list) return kAllLayerHalves;
  uint16_t options = 0;
  std::string_view rest = *list;
  while (!rest.empty()) {
    const std::size_t comma = rest.find(',');
    const std::string_view name = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    if (name.empty()) continue;
    const auto* layer = std::find_if(std::begin(kLayerNames), std::end(kLayerNames),
                                     [&](const TLayerName& item) { return item.Name == name; });
    if (layer == std::end(kLayerNames)) {
      throw EUsageError("unknown layer \"" + std::string(name) +
                        "\" (a-lo, a-hi, b-lo, b-hi, win-lo, win-hi, spr-lo, spr-hi)");
    }
    options |= layer->Option;
  }
  return options;
}

uint16_t ScreenOptions(const TCliContext& context) {
  uint16_t options = 0;
  if (context.Args.Has("--ignore-hscroll")) options |= kRenderIgnoreHScroll;
  if (context.Args.Has("--ignore-vscroll")) options |= kRenderIgnoreVScroll;
  if (context.Args.Has("--ignore-shadow")) options |= kRenderIgnoreShadowHighlight;
  if (context.Args.Has("--virtual")) options |= kRenderVirtualScreen;
  const bool all = context.Args.Has("--all-sprites");
  const bool limits = context.Args.Has("--sprite-limits");
  if (all && limits) throw EUsageError("--all-sprites and --sprite-limits exclude each other");
  if (all || ((options & kRenderVirtualScreen) && !limits)) options |= kRenderAllSprites;
  return options;
}

uint16_t PictureOptions(const TCliContext& context) {
  const uint16_t backdrop = context.Args.Has("--no-backdrop") ? 0 : kRenderBackdrop;
  return uint16_t(LayerOptions(context) | ScreenOptions(context) | backdrop);
}

TStateWithModel LoadWithModel(TCliContext& context) {
  const TLayout layout = LoadLayout(context);
  TStateWithModel loaded{LoadState(context, layout, Argument(context, 0))};
  LoadVDPModel(loaded.State, *loaded.VDP);
  return loaded;
}

}  // namespace vantor
