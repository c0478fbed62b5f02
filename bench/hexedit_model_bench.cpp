// The hex editor model under the memory pages' load: a million single-byte changes typed into
// 64 KiB with 64 KiB of undo storage.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "hexedit/HexEditorModel.h"

namespace {

constexpr int kChanges = 1000000;
constexpr char kDigits[] = "0123456789ABCDEF";

void BM_MillionTypedBytes(benchmark::State& state) {
  size_t largestStorage = 0;
  size_t recordSize = 0;
  for (auto _ : state) {
    vantor::HexEditorModel model;
    model.SetNoSizeChange(true);
    model.SetMaxUndo(65536);
    const std::vector<uint8_t> bytes(65536, 0);
    model.LoadFromBytes(bytes.data(), bytes.size());
    uint32_t seed = 12345;
    for (int i = 0; i < kChanges; ++i) {
      seed = seed * 1664525u + 1013904223u;
      model.SetCursor((seed >> 8) % 65536, false, (seed >> 4) & 1);
      model.TypeChar(static_cast<unsigned char>(kDigits[(seed >> 28) | 1]));
      const size_t size = model.UndoStorage().Size();
      if (recordSize == 0 && size > 0) recordSize = size;
      largestStorage = std::max(largestStorage, size);
    }
    benchmark::DoNotOptimize(model.DataBuffer());
  }
  state.counters["largest_undo_bytes"] = static_cast<double>(largestStorage);
  state.counters["bound_bytes"] = static_cast<double>(65536 + recordSize);
  if (largestStorage > 65536 + recordSize) state.SkipWithError("undo storage above its bound");
}
BENCHMARK(BM_MillionTypedBytes)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UndoRedoPairs(benchmark::State& state) {
  vantor::HexEditorModel model;
  model.SetNoSizeChange(true);
  model.SetMaxUndo(65536);
  const std::vector<uint8_t> bytes(65536, 0);
  model.LoadFromBytes(bytes.data(), bytes.size());
  for (int i = 0; i < 1000; ++i)
    model.TypeChar(static_cast<unsigned char>(kDigits[i % 15 + 1]));
  for (auto _ : state) {
    model.Undo();
    model.Redo();
  }
}
BENCHMARK(BM_UndoRedoPairs);

}  // namespace

BENCHMARK_MAIN();
