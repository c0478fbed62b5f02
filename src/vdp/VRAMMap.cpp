#include "vdp/VRAMMap.h"

#include <algorithm>
#include <bit>

#include "vdp/ScreenGeometry.h"
#include "vdp/SpriteLines.h"
#include "vdp/VDPPictures.h"

namespace vantor {

namespace {

struct TUseWords {
  std::string_view Text;
  std::string_view Name;
};

// By bit number of TVRAMUse.
constexpr TUseWords kUses[kVRAMUseCount] = {
    {"plane A table", "planeATable"},       {"plane B table", "planeBTable"},
    {"window table", "windowTable"},        {"sprite table", "spriteTable"},
    {"H scroll table", "hscrollTable"},     {"plane A patterns", "planeAPatterns"},
    {"plane B patterns", "planeBPatterns"}, {"window patterns", "windowPatterns"},
    {"sprite patterns", "spritePatterns"},
};

// Colours chosen apart from each other; the free blocks dark, overlaps glaring.
constexpr TVRAMLegendEntry kLegend[kVRAMClassCount] = {
    {"free", "free", 0xFF202020},
    {"plane A table", "planeATable", 0xFF3070E0},
    {"plane B table", "planeBTable", 0xFF20A0A0},
    {"window table", "windowTable", 0xFF9050D0},
    {"sprite table", "spriteTable", 0xFFE0A020},
    {"H scroll table", "hscrollTable", 0xFFE060A0},
    {"plane patterns", "planePatterns", 0xFF60B040},
    {"sprite patterns", "spritePatterns", 0xFFF0E060},
    {"plane and sprite patterns", "sharedPatterns", 0xFFF0F0F0},
    {"overlap", "overlap", 0xFFFF0000},
};
constexpr int kEdgeOffset = 16;

uint32_t darker(uint32_t color) {
  return 0xFF000000u | ((color >> 1) & 0x7F7F7F);
}

class TMapBuilder {
 public:
  TMapBuilder(const TMegaDriveVDP& vdp, TVRAMMap& map) : m_vdp(vdp), m_map(map) {}

  void Build() {
    m_map.PatternBytes = m_vdp.GetMetric(mkPatternBytes);
    m_map.PatternCount = m_vdp.GetMetric(mkPatternCount);
    m_map.CellHeight = m_vdp.CellHeight();
    m_map.Patterns.assign(std::size_t(m_map.PatternCount), 0);
    plane(vuPlaneATable, vuPlaneAPatterns, m_vdp.PlaneATable());
    plane(vuPlaneBTable, vuPlaneBPatterns, m_vdp.PlaneBTable());
    window();
    sprites();
    hscroll();
  }

 private:
  void markBytes(uint32_t start, uint32_t count, uint16_t use) {
    if (count == 0) return;
    const uint32_t first = start / kVRAMBlockBytes;
    const uint32_t last = (start + count - 1) / kVRAMBlockBytes;
    for (uint32_t b = first; b <= last; ++b)
      m_map.Blocks[b % uint32_t(kVRAMBlocks)] |= use;
  }

  void markPattern(uint32_t pattern, uint16_t use) {
    const uint32_t index = pattern % uint32_t(m_map.PatternCount);
    m_map.Patterns[index] |= use;
    markBytes(index * uint32_t(m_map.PatternBytes), uint32_t(m_map.PatternBytes), use);
  }

  // A table of words read at the given entry indices, with their patterns.
  template <typename Entries>
  void table(uint16_t tableUse, uint16_t patternUse, uint32_t start, Entries&& entries) {
    uint32_t lowest = UINT32_MAX, highest = 0, count = 0;
    entries([&](uint32_t entry) {
      const uint32_t address = (start + entry * 2) & TMegaDriveVDP::kVramMask;
      markBytes(address, 2, tableUse);
      markPattern(m_vdp.ReadVRAMWord(address) & 0x7FF, patternUse);
      lowest = std::min(lowest, entry);
      highest = std::max(highest, entry);
      ++count;
    });
    TVRAMTable t{tableUse, start, 0, count * 2};
    if (count > 0) {
      t.Start = (start + lowest * 2) & TMegaDriveVDP::kVramMask;
      t.Span = (highest - lowest + 1) * 2;
    }
    m_map.Tables.push_back(t);
  }

  void plane(uint16_t tableUse, uint16_t patternUse, uint32_t start) {
    const uint32_t cells =
        uint32_t(m_vdp.GetMetric(mkPlaneCellsWide) * m_vdp.GetMetric(mkPlaneCellsHigh));
    table(tableUse, patternUse, start, [&](auto&& read) {
      for (uint32_t entry = 0; entry < cells; ++entry)
        read(entry);
    });
  }

  // The window's cells on the display: those whose top-left pixel lies in a band (the bands
  // start and end on cell edges).
  void window() {
    const TScreenGeometry g = GetScreenGeometry(m_vdp, kRenderAllLayers);
    const int wide = m_vdp.GetMetric(mkScreenCellsWide), high = m_vdp.GetMetric(mkScreenCellsHigh);
    const uint32_t rowCells = uint32_t(m_vdp.GetMetric(mkWindowCellsWide));
    table(vuWindowTable, vuWindowPatterns, m_vdp.WindowTable(), [&](auto&& read) {
      for (int row = 0; row < high; ++row) {
        for (int column = 0; column < wide; ++column) {
          if (g.InWindow(column * 8, row * g.CellHeight))
            read(uint32_t(row) * rowCells + uint32_t(column));
        }
      }
    });
  }

  void sprites() {
    const uint32_t bytes = uint32_t(m_vdp.GetMetric(mkSpriteCount)) * 8;
    markBytes(m_vdp.SpriteTable(), bytes, vuSpriteTable);
    m_map.Tables.push_back({vuSpriteTable, m_vdp.SpriteTable(), bytes, bytes});
    for (const TChainSprite& s : ReadSpriteChain(m_vdp)) {
      const int cells = s.Entry.CellsWide() * s.Entry.CellsHigh();
      for (int k = 0; k < cells; ++k)
        markPattern(s.Entry.CellPattern(k), vuSpritePatterns);
    }
  }

  // The entries the display's lines read: line AND the mode's mask.
  void hscroll() {
    static constexpr uint32_t kLineMask[4] = {0, 7, 0xFFF8, 0xFFFF};
    const uint32_t mask = kLineMask[m_vdp.GetScrollMode(false) & 3];
    const int lines = m_vdp.GetMetric(mkScreenHeight) / (m_vdp.CellHeight() == 16 ? 2 : 1);
    std::array<bool, 240> read{};
    for (int line = 0; line < lines; ++line)
      read[uint32_t(line) & mask] = true;
    const uint32_t start = m_vdp.GetField(kFieldHScrollTable);
    uint32_t highest = 0, count = 0;
    for (uint32_t entry = 0; entry < read.size(); ++entry) {
      if (!read[entry]) continue;
      markBytes(start + entry * 4, 4, vuHScrollTable);
      highest = entry;
      ++count;
    }
    m_map.Tables.push_back({vuHScrollTable, start, (highest + 1) * 4, count * 4});
  }

  const TMegaDriveVDP& m_vdp;
  TVRAMMap& m_map;
};

}  // namespace

std::string_view VRAMUseText(int bit) {
  return bit >= 0 && bit < kVRAMUseCount ? kUses[bit].Text : std::string_view();
}

std::string_view VRAMUseName(int bit) {
  return bit >= 0 && bit < kVRAMUseCount ? kUses[bit].Name : std::string_view();
}

const TVRAMLegendEntry& VRAMLegend(TVRAMClass cls) {
  return kLegend[std::size_t(cls)];
}

bool TVRAMMap::IsOverlap(int block) const {
  const uint16_t uses = Blocks[std::size_t(block)];
  const uint16_t tables = uses & kVRAMTableUses;
  return std::popcount(tables) > 1 || (tables != 0 && (uses & kVRAMPatternUses) != 0);
}

TVRAMClass TVRAMMap::ClassOf(int block) const {
  const uint16_t uses = Blocks[std::size_t(block)];
  if (IsOverlap(block)) return TVRAMClass::vcOverlap;
  if (uses & kVRAMTableUses)
    return TVRAMClass(1 + std::countr_zero(uint16_t(uses & kVRAMTableUses)));
  const bool planes = (uses & kVRAMPlanePatternUses) != 0;
  const bool sprites = (uses & vuSpritePatterns) != 0;
  if (planes && sprites) return TVRAMClass::vcSharedPatterns;
  if (planes) return TVRAMClass::vcPlanePatterns;
  if (sprites) return TVRAMClass::vcSpritePatterns;
  return TVRAMClass::vcFree;
}

TVRAMMap BuildVRAMMap(const TMegaDriveVDP& vdp) {
  TVRAMMap map;
  TMapBuilder(vdp, map).Build();
  return map;
}

std::vector<TVRAMRegion> VRAMRegions(const TVRAMMap& map) {
  std::vector<TVRAMRegion> regions;
  for (int b = 0; b < kVRAMBlocks; ++b) {
    const uint16_t uses = map.Blocks[std::size_t(b)];
    if (!regions.empty() && regions.back().Uses == uses) {
      regions.back().Bytes += kVRAMBlockBytes;
      continue;
    }
    regions.push_back({uint32_t(b) * kVRAMBlockBytes, kVRAMBlockBytes, uses, map.ClassOf(b)});
  }
  return regions;
}

std::vector<TPatternRun> PatternRuns(const TVRAMMap& map) {
  std::vector<TPatternRun> runs;
  for (int p = 0; p < int(map.Patterns.size()); ++p) {
    const uint16_t uses = map.Patterns[std::size_t(p)];
    if (uses == 0) continue;
    if (!runs.empty() && runs.back().Last == p - 1 && runs.back().Uses == uses) {
      runs.back().Last = p;
      continue;
    }
    runs.push_back({p, p, uses});
  }
  return runs;
}

void BuildVRAMMapPicture(const TVRAMMap& map, TIndexedBitmap& out) {
  const int32_t height = map.PatternCount / kPatternSheetColumns * map.CellHeight;
  out.SetPixelFormat(8);
  out.SetSize(kPatternSheetColumns * 8, height);
  std::array<uint32_t, TIndexedBitmap::kMaxColors> colors{};
  colors.fill(0xFF000000);
  for (int c = 0; c < kVRAMClassCount; ++c) {
    colors[std::size_t(c)] = kLegend[c].Color;
    colors[std::size_t(c + kEdgeOffset)] = darker(kLegend[c].Color);
  }
  out.SetColors(0, colors.data(), TIndexedBitmap::kMaxColors);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = out.Row(y);
    for (int32_t x = 0; x < out.Width(); ++x) {
      const int block = int(uint32_t(VRAMMapAddressAt(map, x, y)) / kVRAMBlockBytes);
      const bool edge = x % 8 == 7 || y % 8 == 7;
      row[x] = uint8_t(int(map.ClassOf(block)) + (edge ? kEdgeOffset : 0));
    }
  }
}

int32_t VRAMMapAddressAt(const TVRAMMap& map, int32_t x, int32_t y) {
  const int32_t height = map.PatternCount / kPatternSheetColumns * map.CellHeight;
  if (x < 0 || y < 0 || x >= kPatternSheetColumns * 8 || y >= height) return -1;
  const int32_t pattern = (y / map.CellHeight) * kPatternSheetColumns + x / 8;
  return pattern * map.PatternBytes + (y % map.CellHeight) * 4 + (x % 8) / 2;
}

}  // namespace vantor
