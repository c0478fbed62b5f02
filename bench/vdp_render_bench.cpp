// Speed of the composed screen and of the pattern and sprite sheets.
#include <benchmark/benchmark.h>

#include "vdp/VDPPictures.h"
#include "vdp_scene.h"

namespace vantor {
namespace {

void setPixelCounters(benchmark::State& state, const TIndexedBitmap& bmp) {
  const double pixels = double(bmp.Width()) * double(bmp.Height());
  state.counters["pixels"] = pixels;
  state.counters["ns_per_pixel"] =
      benchmark::Counter(pixels * double(state.iterations()) * 1e-9,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A busy 320 x 224 frame, 80 sprites, into an 8-bit picture.
void BM_RenderScreenBusyH40(benchmark::State& state) {
  auto vdp = bench::makeBusyScene(80);
  TIndexedBitmap bmp(vdp->GetMetric(mkScreenWidth), vdp->GetMetric(mkScreenHeight), 8);
  const TSurfaceInfo info = GetSurfaceInfo(bmp);
  for (auto _ : state) {
    vdp->RenderScreen(info, kRenderAllLayers, 0, 0);
    benchmark::DoNotOptimize(bmp.Bits());
  }
  setPixelCounters(state, bmp);
}
BENCHMARK(BM_RenderScreenBusyH40)->Unit(benchmark::kMicrosecond);

// The same frame into a 32-bit surface.
void BM_RenderScreenBusyH40Rgb32(benchmark::State& state) {
  auto vdp = bench::makeBusyScene(80);
  TIndexedBitmap bmp(vdp->GetMetric(mkScreenWidth), vdp->GetMetric(mkScreenHeight), 32);
  const TSurfaceInfo info = GetSurfaceInfo(bmp);
  for (auto _ : state) {
    vdp->RenderScreen(info, kRenderAllLayers, 0, 0);
    benchmark::DoNotOptimize(bmp.Bits());
  }
  setPixelCounters(state, bmp);
}
BENCHMARK(BM_RenderScreenBusyH40Rgb32)->Unit(benchmark::kMicrosecond);

// The same frame with every chained sprite, no limits per line.
void BM_RenderScreenBusyH40AllSprites(benchmark::State& state) {
  auto vdp = bench::makeBusyScene(80);
  TIndexedBitmap bmp(vdp->GetMetric(mkScreenWidth), vdp->GetMetric(mkScreenHeight), 8);
  const TSurfaceInfo info = GetSurfaceInfo(bmp);
  for (auto _ : state) {
    vdp->RenderScreen(info, kRenderAllLayers | kRenderAllSprites, 0, 0);
    benchmark::DoNotOptimize(bmp.Bits());
  }
  setPixelCounters(state, bmp);
}
BENCHMARK(BM_RenderScreenBusyH40AllSprites)->Unit(benchmark::kMicrosecond);

// The largest entire virtual screen: 128 x 32 cells, all 80 sprites of the table chained.
void BM_RenderVirtualScreenLargest(benchmark::State& state) {
  constexpr uint16_t kOptions = kRenderAllLayers | kRenderVirtualScreen | kRenderAllSprites;
  auto vdp = bench::makeBusyScene(80, 0x03);
  TIndexedBitmap bmp;
  RenderScreenPicture(*vdp, kOptions, bmp);
  const TSurfaceInfo info = GetSurfaceInfo(bmp);
  for (auto _ : state) {
    vdp->RenderScreen(info, kOptions, 0, 0);
    benchmark::DoNotOptimize(bmp.Bits());
  }
  setPixelCounters(state, bmp);
}
BENCHMARK(BM_RenderVirtualScreenLargest)->Unit(benchmark::kMicrosecond);

void BM_PatternSheet4(benchmark::State& state) {
  auto vdp = bench::makeBusyScene();
  TIndexedBitmap bmp;
  for (auto _ : state) {
    BuildPatternSheet(vdp->VRAMData(), TMegaDriveVDP::kVramBytes, *vdp, 1, bmp);
    benchmark::DoNotOptimize(bmp.Bits());
  }
}
BENCHMARK(BM_PatternSheet4)->Unit(benchmark::kMicrosecond);

void BM_PatternSheet8(benchmark::State& state) {
  auto vdp = bench::makeBusyScene();
  TIndexedBitmap bmp;
  for (auto _ : state) {
    BuildPatternSheet8(vdp->VRAMData(), TMegaDriveVDP::kVramBytes, *vdp, 1, bmp);
    benchmark::DoNotOptimize(bmp.Bits());
  }
}
BENCHMARK(BM_PatternSheet8)->Unit(benchmark::kMicrosecond);

// All 80 sprites of an H40 table, 16 to a row (512 x 160).
void BM_SpriteSheet(benchmark::State& state) {
  auto vdp = bench::makeBusyScene(80);
  TIndexedBitmap bmp;
  for (auto _ : state) {
    BuildSpriteSheet(*vdp, 16, bmp);
    benchmark::DoNotOptimize(bmp.Bits());
  }
}
BENCHMARK(BM_SpriteSheet)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vantor

BENCHMARK_MAIN();
