#include "vdp/VDPColors.h"

#include <array>
#include <utility>

namespace vantor {

namespace {

enum class TIntensity { Normal, Shadow, Highlight };

TIntensity intensityOf(uint16_t word) {
  switch (word >> 12) {
    case 0xE:
      return TIntensity::Highlight;
    case 0xF:
      return TIntensity::Shadow;
    default:
      return TIntensity::Normal;
  }
}

// A 3-bit intensity widened by bit replication, per target width and intensity.
struct TScale {
  std::array<uint8_t, 8> Normal, Shadow, Highlight;
};

constexpr TScale makeScale(int bits) {
  TScale s{};
  const int top = 1 << (bits - 1);
  for (int v = 0; v < 8; ++v) {
    int n = 0;
    if (bits == 8) n = (v << 5) | (v << 2) | (v >> 1);
    if (bits == 6) n = (v << 3) | v;
    if (bits == 5) n = (v << 2) | (v >> 1);
    s.Normal[v] = uint8_t(n);
    s.Shadow[v] = uint8_t(n >> 1);
    s.Highlight[v] = uint8_t(top | (n >> 1));
  }
  return s;
}

constexpr TScale kScale8 = makeScale(8);
constexpr TScale kScale6 = makeScale(6);
constexpr TScale kScale5 = makeScale(5);

const std::array<uint8_t, 8>& levels(const TScale& scale, TIntensity intensity) {
  switch (intensity) {
    case TIntensity::Shadow:
      return scale.Shadow;
    case TIntensity::Highlight:
      return scale.Highlight;
    default:
      return scale.Normal;
  }
}

int red3(uint16_t w) {
  return (w >> 1) & 7;
}
int green3(uint16_t w) {
  return (w >> 5) & 7;
}
int blue3(uint16_t w) {
  return (w >> 9) & 7;
}

TSystemColorHook& systemColorHook() {
  static TSystemColorHook hook;
  return hook;
}

}  // namespace

uint32_t CRAMToRGB32(uint16_t word) {
  const auto& l = levels(kScale8, intensityOf(word));
  return 0xFF000000u | uint32_t(l[red3(word)]) << 16 | uint32_t(l[green3(word)]) << 8 |
         l[blue3(word)];
}

uint32_t CRAMToColorRef(uint16_t word) {
  const auto& l = levels(kScale8, intensityOf(word));
  return uint32_t(l[blue3(word)]) << 16 | uint32_t(l[green3(word)]) << 8 | l[red3(word)];
}

uint16_t CRAMToRGB16(uint16_t word, bool is565) {
  const TIntensity intensity = intensityOf(word);
  const auto& l5 = levels(kScale5, intensity);
  if (is565) {
    const auto& l6 = levels(kScale6, intensity);
    return uint16_t(l5[red3(word)] << 11 | l6[green3(word)] << 5 | l5[blue3(word)]);
  }
  return uint16_t(0x8000 | l5[red3(word)] << 10 | l5[green3(word)] << 5 | l5[blue3(word)]);
}

uint16_t RGBToCRAM(uint32_t rgb) {
  return uint16_t(((rgb >> 5) & 7) << 9 | ((rgb >> 13) & 7) << 5 | ((rgb >> 21) & 7) << 1);
}

uint16_t ColorRefToCRAM(int32_t colorRef) {
  uint32_t value = uint32_t(colorRef);
  if (colorRef < 0) {
    const TSystemColorHook& hook = systemColorHook();
    value = hook ? hook(int(value & 0xFF)) : 0;
  }
  const uint32_t r = value & 0xFF, g = (value >> 8) & 0xFF, b = (value >> 16) & 0xFF;
  return RGBToCRAM(r << 16 | g << 8 | b);
}

void SetSystemColorHook(TSystemColorHook hook) {
  systemColorHook() = std::move(hook);
}

}  // namespace vantor
