// Patterns from any picture: the first bytes give the picture's size and depth, the first
// pattern, the palette line and the size of the pattern source; the rest are pixels and
// colours. The import must write inside the source only, and nothing at all when it refuses.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "vdp/Bitmap.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/PatternImport.h"

using namespace vantor;

namespace {

constexpr uint8_t kDepths[] = {1, 4, 8, 16, 24, 32};
constexpr uint8_t kGuard = 0xA5;
constexpr std::size_t kGuardBytes = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  const int32_t width = data[0] % 72;
  const int32_t height = data[1] % 72;
  const uint8_t depth = kDepths[data[2] % std::size(kDepths)];
  const int first = int(data[3] << 8 | data[4]) % 2100;
  const int line = data[5] & 3;
  const std::size_t sourceSize = (std::size_t(data[6]) + 1) << 8;  // 256 to 65536 bytes
  auto vdp = std::make_unique<TMegaDriveVDP>();
  vdp->SetInterlaceMode(data[7] & 3);
  std::size_t at = 8;
  for (int i = 0; i < 64 && at + 1 < size; ++i, at += 2)
    vdp->SetColor(uint8_t(i), uint16_t(data[at] << 8 | data[at + 1]));

  TIndexedBitmap picture(width, height, depth);
  const std::size_t pixels = std::min(picture.ByteSize(), size - std::min(at, size));
  if (pixels > 0) std::memcpy(picture.Bits(), data + at, pixels);
  std::vector<uint32_t> table(256);
  for (std::size_t i = 0; i < table.size(); ++i)
    table[i] = uint32_t(data[(at + i) % size]) * 0x010203u;
  picture.SetColors(0, table.data(), 256);

  std::vector<uint8_t> memory(sourceSize + 2 * kGuardBytes, kGuard);
  const std::vector<uint8_t> before = memory;
  const TPatternImport result = ImportPatterns(
      picture, *vdp, line, first, std::span<uint8_t>(memory.data() + kGuardBytes, sourceSize));
  for (std::size_t i = 0; i < kGuardBytes; ++i) {
    if (memory[i] != kGuard || memory[memory.size() - 1 - i] != kGuard) std::abort();
  }
  if (!result.Ok && (memory != before || result.Message.empty())) std::abort();
  return 0;
}
