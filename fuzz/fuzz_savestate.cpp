// A savestate under a layout: the input is a layout text, a NUL byte, then the savestate bytes.
// Identification, byte-order detection, every field read and write and the VDP model's load,
// drawing and store must either work or fail with the program's file error.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "cli/StateModel.h"
#include "document/Errors.h"
#include "document/FieldValues.h"
#include "document/Layout.h"
#include "document/LayoutIni.h"
#include "document/SavestateDocument.h"
#include "vdp/Bitmap.h"
#include "vdp/MegaDriveVDP.h"

using namespace vantor;

namespace {

template <typename F>
void guarded(F f) {
  try {
    f();
  } catch (const EFileError&) {
    // A read past the image: the operation stops there, as for the user.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const auto* split = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const std::size_t layoutSize = split ? static_cast<std::size_t>(split - data) : size;
  TLayout layout(
      LayoutIni::FromText(std::string_view(reinterpret_cast<const char*>(data), layoutSize)));
  const uint8_t* state = split ? split + 1 : data + size;
  SavestateImage image(std::vector<uint8_t>(state, data + size));
  const std::size_t originalSize = image.Size();

  (void)MatchFileIdentifiers(layout, image, nullptr);
  (void)AutoDetectVSRAMEndian(layout, image);

  for (const char* section : {"CPU MC68000", "CPU Z80", "VDP", "PSG", "YM2612"}) {
    for (int i = 0; i < 32; ++i) {
      const std::string key = LineKey(i);
      guarded([&] {
        const TFieldValue value = ReadField(layout, image, section, key);
        if (value.Ok && (value.ByteCount < 1 || value.ByteCount > 8)) std::abort();
        if (value.Ok) {
          const int64_t typed =
              ParseFieldInput(TColumnKind::ckDecimal, "+", value.Value, value.Spec);
          (void)FormatFieldTexts(typed, value.ByteCount);
          WriteField(layout, image, section, key, typed);
        }
      });
    }
  }
  for (const char* block : {"CRAM", "VSRAM", "HSRAM", "RAM"}) {
    for (int element = 0; element < 8; ++element) {
      const std::string key = SubFieldKey(layout, block, element * 2, 2);
      guarded([&] {
        const TFieldValue value = ReadField(layout, image, "VDP", key);
        if (value.Ok) WriteField(layout, image, "VDP", key, ~value.Value);
      });
    }
  }
  // The VDP model loaded from the image as the tool and the desktop program load it, drawn,
  // and written back.
  TMegaDriveVDP vdp;
  guarded([&] { ImageToVDP(layout, image, vdp); });
  guarded([&] { ImageToVDPPadded(layout, image, vdp); });
  TIndexedBitmap screen(vdp.GetMetric(mkScreenWidth), vdp.GetMetric(mkScreenHeight), 8);
  vdp.RenderScreen(GetSurfaceInfo(screen), kRenderAllLayers, 0, 0);
  guarded([&] { VDPToImage(layout, image, vdp); });

  // Writes may grow the image, but only within its bound.
  if (image.Size() > SavestateImage::kMaxImageBytes && image.Size() != originalSize) std::abort();
  return 0;
}
