// Palette files from anywhere: the JASC-PAL reader must take any text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/JascPalette.h"

using namespace vantor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const TJascPalReadResult result = ReadJascPal(text);
  if (result.Colors.size() > static_cast<std::size_t>(kJascPalMaxColors)) std::abort();
  if (!result.Ok && !result.Colors.empty()) std::abort();
  // What we write, we read back.
  if (result.Ok && !result.Colors.empty()) {
    for (const TPalColor& c : result.Colors) {
      if (c.R < 0 || c.R > 255 || c.G < 0 || c.G > 255 || c.B < 0 || c.B > 255) return 0;
    }
    const TJascPalReadResult back = ReadJascPal(FormatJascPal(result.Colors));
    if (!back.Ok || back.Colors.size() < result.Colors.size()) std::abort();
    for (std::size_t i = 0; i < result.Colors.size(); ++i) {
      if (!(back.Colors[i] == result.Colors[i])) std::abort();
    }
  }
  return 0;
}
