#include "vdp/PlaneMap.h"

#include <cstring>

#include "vdp/VDPPictures.h"

namespace vantor {

namespace {

struct TPlaneName {
  std::string_view Name;
  std::string_view Caption;
  TPlaneId Plane;
};
constexpr TPlaneName kPlaneNames[] = {{"a", "Plane A", TPlaneId::plA},
                                      {"b", "Plane B", TPlaneId::plB},
                                      {"window", "Window", TPlaneId::plWindow}};

// attr: P LL V H NNNNNNNNNNN
constexpr uint16_t kAttrPriority = 0x8000;
constexpr uint16_t kAttrVFlip = 0x1000;
constexpr uint16_t kAttrHFlip = 0x0800;
constexpr uint16_t kAttrPattern = 0x07FF;

}  // namespace

std::optional<TPlaneId> PlaneFromName(std::string_view name) {
  for (const TPlaneName& item : kPlaneNames)
    if (item.Name == name) return item.Plane;
  return std::nullopt;
}

std::string_view PlaneCaption(TPlaneId plane) {
  for (const TPlaneName& item : kPlaneNames)
    if (item.Plane == plane) return item.Caption;
  return {};
}

TPlaneMap ReadPlaneMap(const TMegaDriveVDP& vdp, TPlaneId plane) {
  TPlaneMap map;
  uint32_t table = vdp.PlaneATable();
  if (plane == TPlaneId::plWindow) {
    table = vdp.WindowTable();
    map.Width = vdp.GetMetric(mkWindowCellsWide);
    map.Height = vdp.GetMetric(mkWindowCellsHigh);
  } else {
    if (plane == TPlaneId::plB) table = vdp.PlaneBTable();
    map.Width = vdp.GetMetric(mkPlaneCellsWide);
    map.Height = vdp.GetMetric(mkPlaneCellsHigh);
  }
  const std::size_t count = std::size_t(map.Width) * std::size_t(map.Height);
  map.Words.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    map.Words[i] = vdp.ReadVRAMWord(table + uint32_t(2 * i));
  return map;
}

std::string FormatPlaneCsv(const TPlaneMap& map) {
  std::string text;
  for (int row = 0; row < map.Height; ++row) {
    for (int column = 0; column < map.Width; ++column) {
      if (column > 0) text += ',';
      text += std::to_string(map.Word(column, row));
    }
    text += '\n';
  }
  return text;
}

uint32_t TiledTileId(uint16_t word, int patternCount) {
  const uint32_t count = uint32_t(patternCount);
  const uint32_t priority = (word & kAttrPriority) ? 1 : 0;
  const uint32_t line = (word >> 13) & 3;
  uint32_t id = 1 + (priority * kTiledPaletteLines + line) * count + (word & kAttrPattern) % count;
  if (word & kAttrHFlip) id |= kTiledFlipHorizontal;
  if (word & kAttrVFlip) id |= kTiledFlipVertical;
  return id;
}

void BuildTilesetPicture(const TMegaDriveVDP& vdp, TIndexedBitmap& out) {
  TIndexedBitmap band;
  for (int line = 0; line < kTiledPaletteLines; ++line) {
    BuildPatternSheet8(vdp.VRAMData(), TMegaDriveVDP::kVramBytes, vdp, line, band);
    if (line == 0) {
      out = TIndexedBitmap(band.Width(), band.Height() * kTiledPaletteLines, 8);
      out.SetColors(0, band.Colors().data(), TIndexedBitmap::kMaxColors);
    }
    for (int32_t y = 0; y < band.Height(); ++y)
      std::memcpy(out.Row(line * band.Height() + y), band.Row(y), std::size_t(band.Stride()));
  }
}

}  // namespace vantor
