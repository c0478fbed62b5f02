// GIMP palettes and Adobe colour tables from anywhere: the readers must take any bytes, keep
// to the colours asked for, and read back what they write. The first byte picks the format.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/PaletteFiles.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const TPaletteFormat format = data[0] & 1 ? TPaletteFormat::pfAct : TPaletteFormat::pfGimp;
  const int maxColors = data[0] >> 1;  // 0..127
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  const TPaletteReadResult result = ReadPalette(format, bytes, maxColors);
  if (result.Colors.size() > static_cast<std::size_t>(maxColors)) std::abort();
  if (!result.Ok && (!result.Colors.empty() || result.Message.empty())) std::abort();
  if (result.Ok && !result.Message.empty()) std::abort();
  for (const TPalColor& c : result.Colors) {
    if (c.R < 0 || c.R > 255 || c.G < 0 || c.G > 255 || c.B < 0 || c.B > 255) std::abort();
  }
  // What we write, we read back.
  const TPaletteReadResult back =
      ReadPalette(format, FormatPalette(format, result.Colors), maxColors);
  if (!back.Ok || !(back.Colors == result.Colors)) std::abort();
  return 0;
}
