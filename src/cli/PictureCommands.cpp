// render, patterns, sprites and map: the pictures the Screen and Patterns & Sprites pages
// save and the plane maps; patterns import, the way back for the pattern sheet.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "cli/Commands.h"
#include "cli/ScreenOptions.h"
#include "document/Errors.h"
#include "pictureio/PictureIO.h"
#include "pictureio/PlaneMapFiles.h"
#include "vdp/PatternImport.h"
#include "vdp/PlaneMap.h"
#include "vdp/VDPPictures.h"

namespace vantor {
namespace {

// The most bytes a pattern source holds: the pattern views read 64 KiB.
constexpr std::size_t kPatternSourceBytes = 65536;

// Transparent pixels of the pictures below all hold value 0, which no other pixel has: the
// composed screen without backdrop writes only pixels whose colour index is not 0, and
// sprites are drawn without their colour 0 over a background of value 0.
constexpr TPictureOptions kTransparentZero{0};

// --source: vram (the default) or main; true for main.
bool mainRAMSource(const TCliContext& context) {
  const std::string source = context.Args.Value("--source").value_or("vram");
  if (source != "vram" && source != "main") throw EUsageError("--source is vram or main");
  return source == "main";
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
  const uint16_t layers = LayerOptions(context);
  const uint16_t screen = ScreenOptions(context);
  const bool backdrop = !context.Args.Has("--no-backdrop");
  TStateWithModel loaded = LoadWithModel(context);

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
  TStateWithModel loaded = LoadWithModel(context);
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
  TStateWithModel loaded = LoadWithModel(context);
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
  TStateWithModel loaded = LoadWithModel(context);
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
  TStateWithModel loaded = LoadWithModel(context);
  SavePlaneMap(output, *loaded.VDP, *plane, *format);
  if (*format == TMapFormat::mfTiled)
    context.Out << "tileset picture: " << TilesetPicturePath(output) << '\n';
  return kExitOk;
}

}  // namespace vantor
