// Core pictures as Qt images: what the Screen page and the view window do on every redraw,
// and the PNG files of vantor-cli.
#include <benchmark/benchmark.h>

#include "pictureio/PictureIO.h"
#include "vdp/Bitmap.h"

namespace vantor {
namespace {

TIndexedBitmap stripes(int32_t width, int32_t height, uint8_t bitsPerPixel) {
  TIndexedBitmap bitmap(width, height, bitsPerPixel);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = bitmap.Row(y);
    for (int32_t x = 0; x < bitmap.Stride(); ++x)
      row[x] = static_cast<uint8_t>(x * 7 + y);
  }
  return bitmap;
}

void BM_ToQImageScreen8(benchmark::State& state) {
  const TIndexedBitmap screen = stripes(320, 224, 8);
  for (auto _ : state)
    benchmark::DoNotOptimize(ToQImage(screen));
}
BENCHMARK(BM_ToQImageScreen8);

void BM_ToQImagePatternSheet4(benchmark::State& state) {
  const TIndexedBitmap sheet = stripes(512, 256, 4);
  for (auto _ : state)
    benchmark::DoNotOptimize(ToQImage(sheet));
}
BENCHMARK(BM_ToQImagePatternSheet4);

void BM_EncodePngScreen(benchmark::State& state) {
  const TIndexedBitmap screen = stripes(320, 224, 8);
  for (auto _ : state)
    benchmark::DoNotOptimize(EncodePng(screen));
}
BENCHMARK(BM_EncodePngScreen);

}  // namespace
}  // namespace vantor
