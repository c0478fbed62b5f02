// palette export and import: Colour RAM entries in JASC-PAL, GIMP and Adobe palette files, as
// the Colour RAM page saves and loads them.
#include <algorithm>
#include <vector>

#include "cli/Commands.h"
#include "document/Errors.h"
#include "document/FieldValues.h"
#include "document/FileIO.h"
#include "document/PaletteFiles.h"
#include "vdp/VDPColors.h"

namespace vantor {
namespace {

constexpr int kEntries = TMegaDriveVDP::kCramEntries;

// --format jasc|gimp|act, else the file name's extension, else JASC-PAL.
TPaletteFormat paletteFormat(const TCliContext& context, const std::string& path) {
  if (const auto name = context.Args.Value("--format")) {
    const std::optional<TPaletteFormat> format = PaletteFormatFromName(*name);
    if (!format) throw EUsageError("--format is jasc, gimp or act, not \"" + *name + "\"");
    return *format;
  }
  return PaletteFormatFromFileName(path).value_or(TPaletteFormat::pfJasc);
}

// The reader's reason with the file named: "Wrong File Type! "x.gpl" is not a GIMP palette
// file." or ""x.gpl": Line 3 of the GIMP palette ...".
std::string paletteRefusal(const std::string& reason, const std::string& path,
                           TPaletteFormat format) {
  static constexpr std::string_view kKinds[] = {"a JASC-PAL palette file", "a GIMP palette file",
                                                "an Adobe colour table"};
  if (reason == kWrongFileType) {
    return reason + " \"" + path + "\" is not " + std::string(kKinds[std::size_t(format)]) + ".";
  }
  return "\"" + path + "\": " + reason;
}

}  // namespace

int RunPaletteExport(TCliContext& context) {
  const int first = IntegerOption(context, "--first", 0, 0, kEntries - 1);
  const int count = IntegerOption(context, "--count", kEntries - first, 1, kEntries - first);
  const std::string& palettePath = Argument(context, 1);
  const TPaletteFormat format = paletteFormat(context, palettePath);
  const TLayout layout = LoadLayout(context);
  TLoadedState state = LoadState(context, layout, Argument(context, 0));
  TMegaDriveVDP vdp;
  LoadVDPModel(state, vdp);

  std::vector<TPalColor> colors;
  for (int i = first; i < first + count; ++i)
    colors.push_back(PalColorFromRGB(CRAMToRGB32(vdp.GetColor(static_cast<uint8_t>(i)))));
  WriteFileSafely(palettePath, FormatPalette(format, colors));
  return kExitOk;
}

int RunPaletteImport(TCliContext& context) {
  const int first = IntegerOption(context, "--first", 0, 0, kEntries - 1);
  OutputPath(context);
  const std::string& palettePath = Argument(context, 1);
  const TPaletteFormat format = paletteFormat(context, palettePath);
  const TLayout layout = LoadLayout(context);
  TLoadedState state = LoadState(context, layout, Argument(context, 0));
  const std::vector<uint8_t> bytes = ReadFileBytes(palettePath, PaletteReadLimit(format));
  const TPaletteReadResult palette = ReadPalette(
      format, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (!palette.Ok) throw EFileError(paletteRefusal(palette.Message, palettePath, format));
  BlockEntry(state, BlockByName("cram"));

  TMegaDriveVDP vdp;
  LoadVDPModel(state, vdp);
  // Entries past the file's colours keep theirs.
  int changed = 0;
  const int count = std::min(static_cast<int>(palette.Colors.size()), kEntries - first);
  for (int i = 0; i < count; ++i) {
    const auto index = static_cast<uint8_t>(first + i);
    const uint16_t word = RGBToCRAM(PalColorToRGB(palette.Colors[static_cast<std::size_t>(i)]));
    if (vdp.GetColor(index) == word) continue;
    WriteFieldValueAt(*state.Layout, state.Image(), "VDP", "CRAM", index * 2, word, 2);
    vdp.SetColor(index, word);
    ++changed;
  }
  WriteStateToOutput(context, state);
  if (count == 0) {
    context.Out << "no colours read\n";
  } else {
    context.Out << count << " colours read into entries " << first << " to " << first + count - 1
                << ", " << changed << " changed\n";
  }
  return kExitOk;
}

}  // namespace vantor
