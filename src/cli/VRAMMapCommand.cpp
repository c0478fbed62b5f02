// vram-map: what each part of Video RAM is used for, as a list and as a picture.
#include <bit>
#include <string>

#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "cli/ScreenOptions.h"
#include "document/Numbers.h"
#include "pictureio/PictureIO.h"
#include "vdp/VRAMMap.h"

namespace vantor {
namespace {

std::string hex(int64_t value, int digits) {
  return "$" + FormatHex(value, digits);
}

// "$C000-$CFFF"; ranges may wrap past $FFFF.
std::string rangeText(uint32_t start, uint32_t bytes) {
  return hex(start, 4) + "-" + hex((start + bytes - 1) & 0xFFFF, 4);
}

std::string patternRangeText(int first, int last) {
  return first == last ? hex(first, 3) : hex(first, 3) + "-" + hex(last, 3);
}

// "plane A table, plane A patterns".
std::string usesText(uint16_t uses) {
  std::string text;
  for (int bit = 0; bit < kVRAMUseCount; ++bit) {
    if (!(uses & (1u << bit))) continue;
    text += (text.empty() ? "" : ", ") + std::string(VRAMUseText(bit));
  }
  return text;
}

// "plane A, sprites": who uses a pattern.
std::string patternUsersText(uint16_t uses) {
  static constexpr std::pair<uint16_t, std::string_view> kUsers[] = {{vuPlaneAPatterns, "plane A"},
                                                                     {vuPlaneBPatterns, "plane B"},
                                                                     {vuWindowPatterns, "window"},
                                                                     {vuSpritePatterns, "sprites"}};
  std::string text;
  for (const auto& [use, name] : kUsers) {
    if (uses & use) text += (text.empty() ? "" : ", ") + std::string(name);
  }
  return text;
}

// What the class's caption does not say: who shows the patterns, what overlaps.
std::string regionDetail(const TVRAMRegion& region) {
  switch (region.Class) {
    case TVRAMClass::vcOverlap:
      return ": " + usesText(region.Uses);
    case TVRAMClass::vcPlanePatterns:
    case TVRAMClass::vcSpritePatterns:
    case TVRAMClass::vcSharedPatterns:
      return ": " + patternUsersText(region.Uses);
    default:
      return {};
  }
}

struct TSummary {
  int Patterns = 0, PlanePatterns = 0, SpritePatterns = 0, SharedPatterns = 0;
  uint32_t FreeBytes = 0, FreeRegions = 0, OverlapBytes = 0;
};

TSummary summarise(const TVRAMMap& map, const std::vector<TVRAMRegion>& regions) {
  TSummary s;
  for (uint16_t uses : map.Patterns) {
    if (uses == 0) continue;
    ++s.Patterns;
    const bool planes = (uses & kVRAMPlanePatternUses) != 0, sprites = (uses & vuSpritePatterns);
    s.PlanePatterns += planes ? 1 : 0;
    s.SpritePatterns += sprites ? 1 : 0;
    s.SharedPatterns += planes && sprites ? 1 : 0;
  }
  for (const TVRAMRegion& region : regions) {
    if (region.Class == TVRAMClass::vcFree) {
      s.FreeBytes += region.Bytes;
      ++s.FreeRegions;
    }
    if (region.Class == TVRAMClass::vcOverlap) s.OverlapBytes += region.Bytes;
  }
  return s;
}

// "Plane A table", as the info command names the tables.
constexpr std::string_view kTableCaptions[] = {"Plane A table", "Plane B table", "Window table",
                                               "Sprite table", "H scroll table"};
constexpr std::string_view kTableNames[] = {"planeA", "planeB", "window", "sprites", "hscroll"};

int tableIndex(uint16_t use) {
  return std::countr_zero(use);
}

void printText(std::ostream& out, const TVRAMMap& map) {
  const std::vector<TVRAMRegion> regions = VRAMRegions(map);
  const TSummary s = summarise(map, regions);
  out << "Video RAM map: " << kVRAMBlocks << " blocks of " << kVRAMBlockBytes
      << " bytes; patterns of " << map.PatternBytes << " bytes ($000-"
      << hex(map.PatternCount - 1, 3) << ")\n\nTables (the bytes the display reads):\n";
  for (const TVRAMTable& table : map.Tables) {
    std::string caption(kTableCaptions[tableIndex(table.Use)]);
    caption.resize(16, ' ');
    out << "  " << caption;
    if (table.Span == 0) {
      out << "not read\n";
      continue;
    }
    out << rangeText(table.Start, table.Span) << "  " << table.Bytes;
    if (table.Bytes != table.Span) out << " of " << table.Span;
    out << " bytes\n";
  }
  out << "\nRegions (blocks of " << kVRAMBlockBytes << " bytes):\n";
  for (const TVRAMRegion& region : regions) {
    std::string bytes = std::to_string(region.Bytes);
    bytes.insert(0, bytes.size() < 5 ? 5 - bytes.size() : 0, ' ');
    out << "  " << rangeText(region.Start, region.Bytes) << ' ' << bytes << "  "
        << VRAMLegend(region.Class).Caption << regionDetail(region) << '\n';
  }
  out << "\nPatterns in use: " << s.Patterns << " (planes " << s.PlanePatterns << ", sprites "
      << s.SpritePatterns << ", both " << s.SharedPatterns << ")\n";
  for (const TPatternRun& run : PatternRuns(map)) {
    std::string range = patternRangeText(run.First, run.Last);
    range.resize(10, ' ');
    out << "  " << range << patternUsersText(run.Uses) << '\n';
  }
  out << "\nFree: " << s.FreeBytes << " bytes in " << s.FreeRegions
      << " regions; overlaps: " << s.OverlapBytes << " bytes\n";
}

void jsonUses(TJsonWriter& json, std::string_view key, uint16_t uses) {
  json.BeginArray(key);
  for (int bit = 0; bit < kVRAMUseCount; ++bit) {
    if (uses & (1u << bit)) json.String({}, VRAMUseName(bit));
  }
  json.End();
}

void printJson(std::ostream& out, const TVRAMMap& map) {
  const std::vector<TVRAMRegion> regions = VRAMRegions(map);
  const TSummary s = summarise(map, regions);
  TJsonWriter json(out);
  json.BeginObject();
  json.Number("blockBytes", kVRAMBlockBytes);
  json.Number("patternBytes", map.PatternBytes);
  json.Number("patternCount", map.PatternCount);
  json.BeginArray("tables");
  for (const TVRAMTable& table : map.Tables) {
    json.BeginObject();
    json.String("name", kTableNames[tableIndex(table.Use)]);
    json.Number("start", table.Start);
    json.Number("span", table.Span);
    json.Number("bytes", table.Bytes);
    json.End();
  }
  json.End();
  json.BeginArray("regions");
  for (const TVRAMRegion& region : regions) {
    json.BeginObject();
    json.Number("start", region.Start);
    json.Number("bytes", region.Bytes);
    json.String("class", VRAMLegend(region.Class).Name);
    jsonUses(json, "uses", region.Uses);
    json.End();
  }
  json.End();
  json.BeginArray("patterns");
  for (const TPatternRun& run : PatternRuns(map)) {
    json.BeginObject();
    json.Number("first", run.First);
    json.Number("last", run.Last);
    jsonUses(json, "uses", run.Uses);
    json.End();
  }
  json.End();
  json.BeginObject("summary");
  json.Number("patternsInUse", s.Patterns);
  json.Number("planePatterns", s.PlanePatterns);
  json.Number("spritePatterns", s.SpritePatterns);
  json.Number("sharedPatterns", s.SharedPatterns);
  json.Number("freeBytes", s.FreeBytes);
  json.Number("freeRegions", s.FreeRegions);
  json.Number("overlapBytes", s.OverlapBytes);
  json.End();
  json.End();
}

}  // namespace

int RunVRAMMap(TCliContext& context) {
  TStateWithModel loaded = LoadWithModel(context);
  const TVRAMMap map = BuildVRAMMap(*loaded.VDP);
  if (const auto png = context.Args.Value("--png")) {
    TIndexedBitmap picture;
    BuildVRAMMapPicture(map, picture);
    SavePicture(*png, picture);
  }
  if (context.Args.Has("--json")) {
    printJson(context.Out, map);
  } else {
    printText(context.Out, map);
  }
  return kExitOk;
}

}  // namespace vantor
