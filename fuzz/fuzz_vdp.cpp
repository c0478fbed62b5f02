// The VDP model with any registers and memories: the composed screen (normal and the entire
// virtual screen), sprites, patterns and the sheets, into surfaces of every depth at any
// origin. Nothing may be read outside VRAM nor written outside the surface: each surface row
// is followed by guard bytes that must stay untouched.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "vdp/Bitmap.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"

using namespace vantor;

namespace {

class Input {
 public:
  Input(const uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
  uint16_t word() { return static_cast<uint16_t>(byte() << 8 | byte()); }
  const uint8_t* rest(std::size_t& count) {
    count = m_size - m_pos;
    return m_data + m_pos;
  }

 private:
  const uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

constexpr uint8_t kGuard = 0xA5;
constexpr int32_t kGuardBytes = 16;

// A surface whose rows are each followed by guard bytes.
struct GuardedSurface {
  std::vector<uint8_t> memory;
  TSurfaceInfo info;

  GuardedSurface(int32_t width, int32_t height, uint8_t bitsPerPixel) {
    const int32_t bits = bitsPerPixel == 15 ? 16 : bitsPerPixel;
    const int32_t rowBytes = (width * bits + 7) / 8;
    info.Width = width;
    info.Height = height;
    info.BitsPerPixel = bitsPerPixel;
    info.Stride = rowBytes + kGuardBytes;
    memory.assign(std::size_t(info.Stride) * std::size_t(height) + kGuardBytes, kGuard);
    info.Bits = memory.data() + kGuardBytes;
    for (int32_t y = 0; y < height; ++y)
      std::memset(info.Bits + std::size_t(y) * info.Stride, 0, rowBytes);
  }

  void check() const {
    const int32_t rowBytes = info.Stride - kGuardBytes;
    for (int32_t i = 0; i < kGuardBytes; ++i) {
      if (memory[std::size_t(i)] != kGuard) std::abort();
    }
    for (int32_t y = 0; y < info.Height; ++y) {
      const uint8_t* guard = info.Bits + std::size_t(y) * info.Stride + rowBytes;
      for (int32_t i = 0; i < kGuardBytes; ++i) {
        // A 4-bit surface of odd width keeps its last half byte in the row, never beyond.
        if (guard[i] != kGuard) std::abort();
      }
    }
  }
};

constexpr uint8_t kDepths[] = {4, 8, 15, 16, 24, 32};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Input in(data, size);
  TMegaDriveVDP vdp;
  for (uint8_t r = 0; r < 24; ++r)
    vdp.SetReg(r, in.byte());
  for (int i = 0; i < 64; ++i)
    vdp.SetCRAMWord(i, in.word());
  for (int i = 0; i < 40; ++i)
    vdp.SetVSRAMWord(i, in.word());
  const uint16_t options = in.word();
  const int y = static_cast<int8_t>(in.byte()) * 4;
  const int x = static_cast<int8_t>(in.byte()) * 4;
  const uint8_t depth = kDepths[in.byte() % 6];
  const int32_t width = in.byte() % 96 + 1;
  const int32_t height = in.byte() % 96 + 1;
  const uint8_t sprite = in.byte();
  std::size_t count = 0;
  const uint8_t* vram = in.rest(count);
  // The rest of the input is repeated over the whole VRAM, so that short inputs still fill
  // tables at its top.
  if (count) {
    for (std::size_t i = 0; i < TMegaDriveVDP::kVramBytes; ++i)
      vdp.VRAMData()[i] = vram[i % count];
  }

  GuardedSurface surface(width, height, depth);
  vdp.RenderScreen(surface.info, options, y, x);
  vdp.DrawSprite(sprite, surface.info, options & 1, options & 2, y, x);
  vdp.DrawPattern(static_cast<uint16_t>(options ^ 0x5A5A), surface.info, options & 4, y, x);
  vdp.FillSurface(TVDPRect{x, y, x + width / 2, y + height}, surface.info, sprite);
  surface.check();

  // The pictures of the pages and the view window.
  TIndexedBitmap picture;
  RenderScreenPicture(vdp, options, picture);
  BuildPatternSheet(vram, count, vdp, sprite & 3, picture);
  BuildPatternSheet8(vram, count, vdp, sprite & 3, picture);
  BuildSpriteSheet(vdp, ViewSpritesPerRow(vdp), picture);
  return 0;
}
