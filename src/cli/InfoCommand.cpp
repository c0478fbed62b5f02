// info: identification, image size, VSRAM byte order and the VDP set-up.
#include <array>

#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "document/FieldSpec.h"
#include "document/Numbers.h"

namespace vantor {
namespace {

struct TTableAddress {
  std::string_view Name;      // text output
  std::string_view JsonName;  // --json
  uint32_t Address = 0;
};

struct TInfo {
  std::string Path;
  int64_t ImageSize = 0;
  int Detection = 0;  // 0 off, 1 little endian, 2 big endian
  TVSRAMReason Reason = TVSRAMReason::vrOff;
  bool VSRAMBigEndian = false;

  int ScreenWidth = 0, ScreenHeight = 0;
  bool H40 = false, V30 = false;
  int Interlace = 0;
  int CellWidth = 0, CellHeight = 0;
  int PlaneCellsWide = 0, PlaneCellsHigh = 0;
  std::array<TTableAddress, 5> Tables;
  int HScrollMode = 0, VScrollMode = 0;
  int BackgroundColor = 0;
  int ChainedSprites = 0;
  int SpriteCount = 0, SpritesPerLine = 0, SpriteCellsPerLine = 0;
};

// The interlace list of the decoded registers page.
constexpr std::string_view kInterlaceNames[] = {"No Interlace", "Interlaced",
                                                "Interlaced, double V resolution"};
constexpr std::string_view kHScrollNames[] = {"full screen", "per 8 lines (invalid mode 1)",
                                              "per cell row", "per pixel line"};
constexpr std::string_view kVScrollNames[] = {"full screen", "per 2 cells"};
// --json names of TVSRAMReason.
constexpr std::string_view kReasonNames[] = {"layout", "header", "content", "undecided",
                                             "no-vsram"};

void gatherVDP(const TMegaDriveVDP& vdp, TInfo& info) {
  info.ScreenWidth = vdp.GetMetric(mkScreenWidth);
  info.ScreenHeight = vdp.GetMetric(mkScreenHeight);
  info.H40 = vdp.GetFlag(kFlagH40);
  info.V30 = vdp.GetFlag(kFlagV30);
  info.Interlace = vdp.GetInterlaceMode();
  info.CellWidth = vdp.CellWidth();
  info.CellHeight = vdp.CellHeight();
  info.PlaneCellsWide = vdp.GetMetric(mkPlaneCellsWide);
  info.PlaneCellsHigh = vdp.GetMetric(mkPlaneCellsHigh);
  // The addresses the VDP uses (in H40 it ignores a low bit of the window and sprite tables).
  info.Tables = {{{"Plane A table", "planeA", vdp.PlaneATable()},
                  {"Window table", "window", vdp.WindowTable()},
                  {"Plane B table", "planeB", vdp.PlaneBTable()},
                  {"Sprite table", "sprites", vdp.SpriteTable()},
                  {"H scroll table", "hscroll", vdp.GetField(kFieldHScrollTable)}}};
  info.SpriteCount = vdp.GetMetric(mkSpriteCount);
  info.SpritesPerLine = vdp.GetMetric(mkSpritesPerLine);
  info.SpriteCellsPerLine = vdp.GetMetric(mkSpriteCellsPerLine);
  info.HScrollMode = vdp.GetScrollMode(false);
  info.VScrollMode = vdp.GetScrollMode(true);
  info.BackgroundColor = static_cast<int>(vdp.GetField(kFieldBackgroundColor));
  vdp.ForEachChainedSprite([&](int) { ++info.ChainedSprites; });
}

TInfo gatherInfo(TLoadedState& state) {
  TInfo info;
  info.Path = state.Path;
  info.ImageSize = static_cast<int64_t>(state.Image().Size());
  info.Detection = state.VSRAMDetection;
  info.Reason = state.VSRAMReason;
  info.VSRAMBigEndian = HasFlag(state.Layout->ReadFieldSpec("VDP", "VSRAM").Flags, ffBigEndian);
  TMegaDriveVDP vdp;
  LoadVDPModel(state, vdp);
  gatherVDP(vdp, info);
  return info;
}

std::string hex(int64_t value, int digits) {
  return "$" + FormatHex(value, digits);
}

void printText(std::ostream& out, const TInfo& info) {
  out << "File:               " << info.Path << '\n'
      << "Identification:     matches the layout's file identifiers\n"
      << "Image size:         " << info.ImageSize << " bytes\n"
      << "VSRAM byte order:   " << (info.VSRAMBigEndian ? "big endian" : "little endian")
      << (info.Detection == 0 ? " (layout; detection off)"
                              : " (AutoDetect: " + std::string(VSRAMReasonText(info.Reason)) + ")")
      << '\n'
      << "Display:            " << info.ScreenWidth << " x " << info.ScreenHeight << " ("
      << (info.H40 ? "H40" : "H32") << ", " << (info.V30 ? "V30" : "V28") << ")\n"
      << "Interlace mode:     " << info.Interlace << " (" << kInterlaceNames[info.Interlace]
      << ")\n"
      << "Cell size:          " << info.CellWidth << " x " << info.CellHeight << '\n'
      << "Plane size:         " << info.PlaneCellsWide << " x " << info.PlaneCellsHigh
      << " cells\n";
  for (const TTableAddress& table : info.Tables) {
    out << table.Name << ':' << std::string(19 - table.Name.size(), ' ') << hex(table.Address, 4)
        << '\n';
  }
  out << "Scroll modes:       H " << kHScrollNames[info.HScrollMode & 3] << ", V "
      << kVScrollNames[info.VScrollMode & 1] << '\n'
      << "Background colour:  " << hex(info.BackgroundColor, 2) << " (palette line "
      << info.BackgroundColor / 16 << ", index " << info.BackgroundColor % 16 << ")\n"
      << "Sprites in chain:   " << info.ChainedSprites << '\n'
      << "Sprite limits:      " << info.SpriteCount << " in the table; per line "
      << info.SpritesPerLine << " sprites, " << info.SpriteCellsPerLine << " cells\n";
}

void printJson(std::ostream& out, const TInfo& info) {
  TJsonWriter json(out);
  json.BeginObject();
  json.String("file", info.Path);
  json.Bool("identified", true);
  json.Number("imageSize", info.ImageSize);
  json.BeginObject("vsram");
  json.String("byteOrder", info.VSRAMBigEndian ? "big" : "little");
  json.Bool("detected", info.Detection != 0);
  json.String("reason", kReasonNames[static_cast<std::size_t>(info.Reason)]);
  json.End();
  json.BeginObject("display");
  json.Number("width", info.ScreenWidth);
  json.Number("height", info.ScreenHeight);
  json.Bool("h40", info.H40);
  json.Bool("v30", info.V30);
  json.End();
  json.Number("interlaceMode", info.Interlace);
  json.BeginObject("cell");
  json.Number("width", info.CellWidth);
  json.Number("height", info.CellHeight);
  json.End();
  json.BeginObject("plane");
  json.Number("cellsWide", info.PlaneCellsWide);
  json.Number("cellsHigh", info.PlaneCellsHigh);
  json.End();
  json.BeginObject("tables");
  for (const TTableAddress& table : info.Tables)
    json.Number(table.JsonName, table.Address);
  json.End();
  json.BeginObject("scrollModes");
  json.Number("horizontal", info.HScrollMode);
  json.Number("vertical", info.VScrollMode);
  json.End();
  json.Number("backgroundColor", info.BackgroundColor);
  json.Number("chainedSprites", info.ChainedSprites);
  json.BeginObject("spriteLimits");
  json.Number("table", info.SpriteCount);
  json.Number("spritesPerLine", info.SpritesPerLine);
  json.Number("cellsPerLine", info.SpriteCellsPerLine);
  json.End();
  json.End();
}

}  // namespace

int RunInfo(TCliContext& context) {
  const TLayout layout = LoadLayout(context);
  TLoadedState state = LoadState(context, layout, Argument(context, 0));
  const TInfo info = gatherInfo(state);
  if (context.Args.Has("--json")) {
    printJson(context.Out, info);
  } else {
    printText(context.Out, info);
  }
  return kExitOk;
}

}  // namespace vantor
