// Speed of the pixel inspector (what hovering the screen costs per mouse move: the time of one
// iteration is the cost of one pixel), and of what the overlays and the Video RAM map compute
// once per picture.
#include <benchmark/benchmark.h>

#include "vdp/PixelInspector.h"
#include "vdp/ScreenOverlays.h"
#include "vdp/VRAMMap.h"
#include "vdp_scene.h"

namespace vantor {
namespace {

// Pixels visited in turn: a walk over the whole 320 x 224 screen in steps that hit every
// layer, so that no call is cheaper than hovering would be.
struct TWalk {
  int32_t X = 0, Y = 0;
  void Next() {
    X = (X + 37) % 320;
    Y = (Y + 11) % 224;
  }
};

// The desktop program's way: one inspector per rendered picture, one call per mouse move.
void BM_InspectPixelPrepared(benchmark::State& state) {
  auto vdp = bench::makeBusyScene(80);
  const TPixelInspector inspector(*vdp, kRenderAllLayers);
  TPixelAccount account;
  TWalk walk;
  for (auto _ : state) {
    inspector.Inspect(walk.X, walk.Y, account);
    benchmark::DoNotOptimize(account.Code);
    walk.Next();
  }
}
BENCHMARK(BM_InspectPixelPrepared)->Unit(benchmark::kMicrosecond);

// One pixel on its own: the registers and the sprite chain decoded on every call.
void BM_InspectPixelOnce(benchmark::State& state) {
  auto vdp = bench::makeBusyScene(80);
  TWalk walk;
  for (auto _ : state) {
    const TPixelAccount account = InspectPixel(*vdp, kRenderAllLayers, walk.X, walk.Y);
    benchmark::DoNotOptimize(account.Code);
    walk.Next();
  }
}
BENCHMARK(BM_InspectPixelOnce)->Unit(benchmark::kMicrosecond);

// The account and its one-line summary, as the status bar shows it.
void BM_InspectPixelWithSummary(benchmark::State& state) {
  auto vdp = bench::makeBusyScene(80);
  const TPixelInspector inspector(*vdp, kRenderAllLayers);
  TPixelAccount account;
  TWalk walk;
  for (auto _ : state) {
    inspector.Inspect(walk.X, walk.Y, account);
    benchmark::DoNotOptimize(PixelSummary(account));
    walk.Next();
  }
}
BENCHMARK(BM_InspectPixelWithSummary)->Unit(benchmark::kMicrosecond);

// The sprite facts of every line and the sprite boxes, once per rendered picture.
void BM_ScreenOverlays(benchmark::State& state) {
  auto vdp = bench::makeBusyScene(80);
  for (auto _ : state)
    benchmark::DoNotOptimize(GetScreenOverlays(*vdp, kRenderAllLayers).Lines.data());
}
BENCHMARK(BM_ScreenOverlays)->Unit(benchmark::kMicrosecond);

// Plane A's cells along every row (scrolled per line, two-cell vertical scroll).
void BM_PlaneGrid(benchmark::State& state) {
  auto vdp = bench::makeBusyScene(80);
  for (auto _ : state)
    benchmark::DoNotOptimize(GetPlaneGrid(*vdp, kRenderAllLayers, TScrolledPlane::spA).data());
}
BENCHMARK(BM_PlaneGrid)->Unit(benchmark::kMicrosecond);

// The Video RAM map and its picture.
void BM_VRAMMapWithPicture(benchmark::State& state) {
  auto vdp = bench::makeBusyScene(80);
  TIndexedBitmap picture;
  for (auto _ : state) {
    const TVRAMMap map = BuildVRAMMap(*vdp);
    BuildVRAMMapPicture(map, picture);
    benchmark::DoNotOptimize(picture.Bits());
  }
}
BENCHMARK(BM_VRAMMapWithPicture)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vantor

BENCHMARK_MAIN();
