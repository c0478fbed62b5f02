// render, patterns, sprites and map: the pictures the Screen and Patterns & Sprites pages
// save and the plane maps; patterns import, the way back for the pattern sheet.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "cli/Commands.h"
#include "document/Errors.h"
#include "vdp/PatternImport.h"
#include "vdp/PlaneMap.h"
#include "vdp/VDPPictures.h"
#include "view/PictureIO.h"
#include "view/PlaneMapFiles.h"

namespace vantor {
namespace {

struct TLayerName {
  std::string_view Name;
  uint16_t Option;
};
constexpr TLayerName kLayerNames[] = {
    {"a-lo", kRenderPlaneALo},    {"a-hi", kRenderPlaneAHi},    {"b-lo", kRenderPlaneBLo},
    {"b-hi", kRenderPlaneBHi},    {"win-lo", kRenderWindowLo},  {"win-hi", kRenderWindowHi},
    {"spr-lo", kRenderSpritesLo}, {"spr-hi", kRenderSpritesHi},
};
// The most bytes a pattern source holds: the pattern views read 64 KiB.
constexpr std::size_t kPatternSourceBytes = 65536;
constexpr uint16_t kAllLayerHalves = kRenderAllLayers & ~kRenderBackdrop;

// Transparent pixels of the pictures below all hold value 0, which no other pixel has: the
// composed screen without backdrop writes only pixels whose colour index is not 0, and
// sprites are drawn without their colour 0 over a background of value 0.
constexpr TPictureOptions kTransparentZero{0};

uint16_t layerOptions(const TCliContext& context) {
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

// --source: vram (the default) or main; true for main.
bool mainRAMSource(const TCliContext& context) {
  const std::string source = context.Args.Value("--source").value_or("vram");
  if (source != "vram" && source != "main") throw EUsageError("--source is vram or main");
  return source == "main";
}

// The screen follows the console's sprite limits unless --all-sprites; the entire virtual
// screen draws every sprite unless --sprite-limits.
uint16_t spriteRule(const TCliContext& context, bool virtualScreen) {
  const bool all = context.Args.Has("--all-sprites");
  const bool limits = context.Args.Has("--sprite-limits");
  if (all && limits) throw EUsageError("--all-sprites and --sprite-limits exclude each other");
  if (all || (virtualScreen && !limits)) return kRenderAllSprites;
  return 0;
}

// Everything but the layers and the backdrop.
uint16_t screenOptions(const TCliContext& context) {
  uint16_t options = 0;
  if (context.Args.Has("--ignore-hscroll")) options |= kRenderIgnoreHScroll;
  if (context.Args.Has("--ignore-vscroll")) options |= kRenderIgnoreVScroll;
  if (context.Args.Has("--ignore-shadow")) options |= kRenderIgnoreShadowHighlight;
  if (context.Args.Has("--virtual")) options |= kRenderVirtualScreen;
  return options | spriteRule(context, (options & kRenderVirtualScreen) != 0);
}

// The savestate and the model loaded from it.
struct TStateWithModel {
  TLoadedState State;
  std::unique_ptr<TMegaDriveVDP> VDP = std::make_unique<TMegaDriveVDP>();
};

TStateWithModel loadWithModel(TCliContext& context) {
  const TLayout layout = LoadLayout(context);
  TStateWithModel loaded{LoadState(context, layout, Argument(context, 0))};
  LoadVDPModel(loaded.State, *loaded.VDP);
  return loaded;
}

// One file per layer half named in layers.
void renderLayerFiles(const TMegaDriveVDP& vdp, uint16_t layers, uint16_t extra,
                      const std::string& directory) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) throw EFileError::CannotCreate(directory, error.message());
  TIndexedBitmap picture;
  for (const TLayerName& layer : kLayerNames) {
    if (!(layers & layer.Option)) continue;
    RenderScreenPicture(vdp, static_cast<uint16_t>(layer.Option | extra), picture);
    SavePicture((std::filesystem::path(directory) / (std::string(layer.Name) + ".png")).string(),
                picture, kTransparentZero);
  }
}

}  // namespace

int RunRender(TCliContext& context) {
  const auto layersDir = context.Args.Value("--layers-dir");
  const std::size_t expected = layersDir ? 1 : 2;
  if (context.Args.Positional().size() != expected) {
    throw EUsageError(layersDir ? "--layers-dir writes the files itself: no OUT"
                                : "the output file is missing");
  }
  const uint16_t layers = layerOptions(context);
  const uint16_t screen = screenOptions(context);
  const bool backdrop = !context.Args.Has("--no-backdrop");
  TStateWithModel loaded = loadWithModel(context);

  if (layersDir) {
    renderLayerFiles(*loaded.VDP, layers, screen, *layersDir);
    return kExitOk;
  }
  TIndexedBitmap picture;
  RenderScreenPicture(*loaded.VDP, layers | screen | (backdrop ? kRenderBackdrop : 0), picture);
  SavePicture(Argument(context, 1), picture, backdrop ? TPictureOptions{} : kTransparentZero);
  return kExitOk;
}

int RunPatterns(TCliContext& context) {
  const int line = IntegerOption(context, "--line", 0, 0, 3);
  const bool mainRAM = mainRAMSource(context);
  TStateWithModel loaded = loadWithModel(context);
  if (mainRAM) CheckEntrySize(loaded.State, "CPU MC68000", "RAM");
  const auto data = loaded.State.Document->PatternSourceData(mainRAM ? TPatternSource::psMainRAM
                                                                     : TPatternSource::psVideoRAM);
  TIndexedBitmap sheet;
  BuildPatternSheet(data.data(), data.size(), *loaded.VDP, line, sheet);
  SavePicture(Argument(context, 1), sheet,
              context.Args.Has("--transparent") ? kTransparentZero : TPictureOptions{});
  return kExitOk;
}

int RunSprites(TCliContext& context) {
  TStateWithModel loaded = loadWithModel(context);
  const std::string& output = Argument(context, 1);
  // The page's sheet: 16 sprites to a row.
  constexpr int kSpritesPerRow = 16;
  TIndexedBitmap sheet;
  if (context.Args.Has("--transparent") && IsPngFileName(output)) {
    // Background value 0 marks the pixels no sprite covers.
    loaded.VDP->SetField(kFieldBackgroundColor, 0);
    BuildSpriteSheet(*loaded.VDP, kSpritesPerRow, sheet);
    SavePicture(output, sheet, kTransparentZero);
  } else {
    BuildSpriteSheet(*loaded.VDP, kSpritesPerRow, sheet);
    SavePicture(output, sheet);
  }
  return kExitOk;
}

int RunPatternsImport(TCliContext& context) {
  if (!context.Args.Has("--first")) throw EUsageError("--first N is missing (the first pattern)");
  const int first = IntegerOption(context, "--first", 0, 0, 0xFFFF);
  const int line = IntegerOption(context, "--line", 0, 0, 3);
  const TBlockName& block = BlockByName(mainRAMSource(context) ? "main-ram" : "vram");
  OutputPath(context);
  const TIndexedBitmap picture = LoadPicture(Argument(context, 1));
  TStateWithModel loaded = loadWithModel(context);
  const TFieldSpec entry = BlockEntry(loaded.State, block);

  // The pattern source inside the image: never past the image's end, so that the savestate
  // keeps its length.
  SavestateImage& image = loaded.State.Image();
  const std::size_t offset = std::min(std::size_t(entry.Offset), image.Size());
  const std::size_t size =
      std::min({std::size_t(entry.Size), kPatternSourceBytes, image.Size() - offset});
  const TPatternImport result = ImportPatterns(picture, *loaded.VDP, line, first,
                                               std::span<uint8_t>(image.Data() + offset, size));
  if (!result.Ok) throw EFileError("\"" + Argument(context, 1) + "\": " + result.Message);
  WriteStateToOutput(context, loaded.State);
  const int patternBytes = loaded.VDP->GetMetric(mkPatternBytes);
  context.Out << result.Cells << " patterns written to " << block.Name << " from pattern "
              << result.First << " (offset " << result.First * patternBytes << "), "
              << result.ChangedBytes << " bytes changed\n";
  return kExitOk;
}

int RunMap(TCliContext& context) {
  const std::optional<TPlaneId> plane = PlaneFromName(Argument(context, 1));
  if (!plane)
    throw EUsageError("the plane is a, b or window, not \"" + Argument(context, 1) + "\"");
  const std::string& output = Argument(context, 2);
  const std::optional<TMapFormat> format = MapFormatFromFileName(output);
  if (!format) throw EUsageError("the map file ends in .tmx (Tiled map) or .csv");
  TStateWithModel loaded = loadWithModel(context);
  SavePlaneMap(output, *loaded.VDP, *plane, *format);
  if (*format == TMapFormat::mfTiled)
    context.Out << "tileset picture: " << TilesetPicturePath(output) << '\n';
  return kExitOk;
}

}  // namespace vantor
