// From savestate bytes in memory to the composed 8-bit picture, the path the desktop program
// and vantor-cli take after reading a file: the image (identifiers, VSRAM byte order), the VDP
// model, and the picture the pages show. The whole path and each piece on its own, on the
// emulator's savestate of tests/data and on the busy synthetic scene.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <vector>

#include "document/DefaultLayout.h"
#include "document/SavestateDocument.h"
#include "statemodel/StateModel.h"
#include "vdp/VDPPictures.h"
#include "vdp_scene.h"

namespace vantor {
namespace {

// The savestate's bytes and the built-in layout the program reads them with.
struct TSavestateBytes {
  TLayout Layout{LayoutIni::FromText(DefaultLayoutText())};
  std::vector<uint8_t> Bytes;
};

TSavestateBytes emulatorFixture() {
  TSavestateBytes source;
  std::ifstream file(VANTOR_BENCH_DATA "/emulator-h40/state.gs0", std::ios::binary);
  source.Bytes.assign(std::istreambuf_iterator<char>(file), {});
  if (source.Bytes.empty()) throw std::runtime_error("the emulator savestate cannot be read");
  return source;
}

// The busy scene stored into a blank savestate of the built-in layout.
TSavestateBytes busyScene() {
  TSavestateBytes source;
  TSavestateDocument document(source.Layout);
  document.NewBlank(nullptr);
  VDPToImage(source.Layout, document.Image(), *bench::makeBusyScene(80));
  source.Bytes = document.Image().Bytes();
  return source;
}

const TSavestateBytes& scene(int which) {
  static const TSavestateBytes fixture = emulatorFixture();
  static const TSavestateBytes busy = busyScene();
  return which == 0 ? fixture : busy;
}

void setFrameCounters(benchmark::State& state, const TIndexedBitmap& picture) {
  const double pixels = double(picture.Width()) * double(picture.Height());
  state.counters["ns_per_pixel"] =
      benchmark::Counter(pixels * double(state.iterations()) * 1e-9,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Everything the path keeps between frames, as the program keeps it: the document, the one
// model, the page's picture.
struct TPath {
  TSavestateBytes Source;
  TSavestateDocument Document{Source.Layout};
  std::unique_ptr<TMegaDriveVDP> VDP = std::make_unique<TMegaDriveVDP>();
  TIndexedBitmap Picture;

  explicit TPath(const TSavestateBytes& source) : Source(source) {}
  void Image() {
    if (Document.LoadBytes(Source.Bytes, nullptr).Status !=
        TSavestateDocument::TLoadStatus::lsLoaded)
      throw std::runtime_error("the savestate does not match the layout");
  }
  void Model() { ImageToVDP(Source.Layout, Document.Image(), *VDP); }
  void Render() { RenderScreenPicture(*VDP, kRenderAllLayers, Picture); }
};

// Arg 0: the emulator's savestate (H40 with window and sprites); 1: the busy scene.
void BM_WholePath(benchmark::State& state) {
  TPath path(scene(int(state.range(0))));
  for (auto _ : state) {
    path.Image();
    path.Model();
    path.Render();
    benchmark::DoNotOptimize(path.Picture.Bits());
  }
  setFrameCounters(state, path.Picture);
}
BENCHMARK(BM_WholePath)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PathImage(benchmark::State& state) {
  TPath path(scene(int(state.range(0))));
  for (auto _ : state) {
    path.Image();
    benchmark::DoNotOptimize(path.Document.Image().Data());
  }
}
BENCHMARK(BM_PathImage)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_PathModel(benchmark::State& state) {
  TPath path(scene(int(state.range(0))));
  path.Image();
  for (auto _ : state) {
    path.Model();
    benchmark::DoNotOptimize(path.VDP->VRAMData());
  }
}
BENCHMARK(BM_PathModel)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The page's picture: sized, its colour table set, composed.
void BM_PathRender(benchmark::State& state) {
  TPath path(scene(int(state.range(0))));
  path.Image();
  path.Model();
  for (auto _ : state) {
    path.Render();
    benchmark::DoNotOptimize(path.Picture.Bits());
  }
  setFrameCounters(state, path.Picture);
}
BENCHMARK(BM_PathRender)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// RenderScreen alone, into the picture as sized before.
void BM_PathRenderScreen(benchmark::State& state) {
  TPath path(scene(int(state.range(0))));
  path.Image();
  path.Model();
  path.Render();
  const TSurfaceInfo info = GetSurfaceInfo(path.Picture);
  for (auto _ : state) {
    path.VDP->RenderScreen(info, kRenderAllLayers, 0, 0);
    benchmark::DoNotOptimize(path.Picture.Bits());
  }
  setFrameCounters(state, path.Picture);
}
BENCHMARK(BM_PathRenderScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vantor

BENCHMARK_MAIN();
