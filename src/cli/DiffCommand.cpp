// diff: what differs between two savestates, named by the layout.
#include <algorithm>
#include <vector>

#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "document/FieldValues.h"
#include "document/Numbers.h"

namespace vantor {
namespace {

struct TRegisterChange {
  std::string_view Section;
  std::string Key;
  std::string Name;
  int ByteCount = 0;
  int64_t Old = 0;
  int64_t New = 0;
};

// A run of changed bytes; offsets relative to the block (file offsets for "other").
struct TByteRange {
  std::string_view Block;
  std::size_t First = 0;
  std::size_t Last = 0;
  std::size_t Count() const { return Last - First + 1; }
};

struct TDifferences {
  std::size_t OldSize = 0;
  std::size_t NewSize = 0;
  std::vector<TRegisterChange> Registers;
  std::vector<TByteRange> Ranges;
};

// The name of the bytes no register line and no block covers.
constexpr std::string_view kOtherBytes = "other";

// Appends the runs of differing bytes among [begin, end) of both images for which keep(i)
// holds; offsets are reported relative to base.
template <typename Keep>
void collectRanges(const uint8_t* a, const uint8_t* b, std::size_t begin, std::size_t end,
                   std::size_t base, std::string_view block, Keep keep,
                   std::vector<TByteRange>& ranges) {
  bool open = false;
  for (std::size_t i = begin; i < end; ++i) {
    const bool changed = a[i] != b[i] && keep(i);
    if (changed && open && ranges.back().Last == i - 1 - base) {
      ranges.back().Last = i - base;
    } else if (changed) {
      ranges.push_back({block, i - base, i - base});
      open = true;
    }
  }
}

// Marks [offset, offset + size) of an image of imageSize bytes.
void markCovered(std::vector<bool>& covered, int64_t offset, int64_t size) {
  const auto total = static_cast<int64_t>(covered.size());
  if (offset < 0 || offset >= total) return;
  const int64_t end = std::min(total, offset + size);
  std::fill(covered.begin() + offset, covered.begin() + end, true);
}

void compareRegisters(TLoadedState& a, TLoadedState& b, std::vector<bool>& covered,
                      TDifferences& differences) {
  for (std::string_view section : kRegisterSections) {
    for (int i = 0; i < kLineCount; ++i) {
      const std::string key = LineKey(i);
      TFieldSpec spec;
      if (!a.Layout->ReadFieldSpec(section, key, spec)) continue;
      CheckEntrySize(a, section, key);
      const TFieldValue old =
          OnStateImage(a, [&] { return ReadField(*a.Layout, a.Image(), section, key); });
      const TFieldValue now =
          OnStateImage(b, [&] { return ReadField(*b.Layout, b.Image(), section, key); });
      markCovered(covered, old.Spec.Offset, old.ByteCount);
      if (old.Value != now.Value) {
        differences.Registers.push_back(
            {section, key, old.Spec.Name, old.ByteCount, old.Value, now.Value});
      }
    }
  }
}

void compareBlocks(TLoadedState& a, TLoadedState& b, std::vector<bool>& covered,
                   TDifferences& differences) {
  for (const TBlockName& block : kBlockNames) {
    CheckEntrySize(a, block.Section, block.Key);
    TFieldSpec spec;
    if (!a.Layout->ReadFieldSpec(block.Section, block.Key, spec)) continue;
    const auto offset = static_cast<std::size_t>(spec.Offset);
    const auto size = static_cast<std::size_t>(spec.Size);
    // A block past the end of either image is a truncated savestate: "Stream read error".
    uint8_t probe = 0;
    OnStateImage(a, [&] { a.Image().ReadAt(offset + size - 1, &probe, 1); });
    OnStateImage(b, [&] { b.Image().ReadAt(offset + size - 1, &probe, 1); });
    markCovered(covered, spec.Offset, spec.Size);
    collectRanges(
        a.Image().Data(), b.Image().Data(), offset, offset + size, offset, block.Name,
        [](std::size_t) { return true; }, differences.Ranges);
  }
}

TDifferences compareStates(TLoadedState& a, TLoadedState& b) {
  TDifferences differences;
  differences.OldSize = a.Image().Size();
  differences.NewSize = b.Image().Size();
  std::vector<bool> covered(std::min(differences.OldSize, differences.NewSize), false);
  compareRegisters(a, b, covered, differences);
  compareBlocks(a, b, covered, differences);
  collectRanges(
      a.Image().Data(), b.Image().Data(), 0, covered.size(), 0, kOtherBytes,
      [&](std::size_t i) { return !covered[i]; }, differences.Ranges);
  return differences;
}

std::string offsetText(std::size_t offset) {
  return "$" + FormatHex(static_cast<int64_t>(offset), 4);
}

void printText(std::ostream& out, const TDifferences& differences) {
  if (differences.OldSize != differences.NewSize)
    out << "size\t" << differences.OldSize << '\t' << differences.NewSize << '\n';
  for (const TRegisterChange& change : differences.Registers) {
    out << "register\t" << change.Section << '\t' << change.Name << '\t'
        << FormatFieldTexts(change.Old, change.ByteCount)[0] << '\t'
        << FormatFieldTexts(change.New, change.ByteCount)[0] << '\n';
  }
  for (const TByteRange& range : differences.Ranges) {
    out << "block\t" << range.Block << '\t' << offsetText(range.First) << '\t'
        << offsetText(range.Last) << '\t' << range.Count() << '\n';
  }
}

void printJson(std::ostream& out, const TDifferences& differences) {
  TJsonWriter json(out);
  json.BeginObject();
  json.Number("oldSize", static_cast<int64_t>(differences.OldSize));
  json.Number("newSize", static_cast<int64_t>(differences.NewSize));
  json.BeginArray("registers");
  for (const TRegisterChange& change : differences.Registers) {
    json.BeginObject();
    json.String("section", change.Section);
    json.String("key", change.Key);
    json.String("name", change.Name);
    json.Number("old", change.Old);
    json.Number("new", change.New);
    json.String("oldText", FormatFieldTexts(change.Old, change.ByteCount)[0]);
    json.String("newText", FormatFieldTexts(change.New, change.ByteCount)[0]);
    json.End();
  }
  json.End();
  json.BeginArray("blocks");
  for (const TByteRange& range : differences.Ranges) {
    json.BeginObject();
    json.String("block", range.Block);
    json.Number("first", static_cast<int64_t>(range.First));
    json.Number("last", static_cast<int64_t>(range.Last));
    json.Number("count", static_cast<int64_t>(range.Count()));
    json.End();
  }
  json.End();
  json.End();
}

}  // namespace

int RunDiff(TCliContext& context) {
  const TLayout layout = LoadLayout(context);
  TLoadedState a = LoadState(context, layout, Argument(context, 0));
  TLoadedState b = LoadState(context, layout, Argument(context, 1));
  const TDifferences differences = compareStates(a, b);
  if (context.Args.Has("--json")) {
    printJson(context.Out, differences);
  } else {
    printText(context.Out, differences);
  }
  return kExitOk;
}

}  // namespace vantor
