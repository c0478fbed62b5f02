// The pixel inspector against the renderer itself, on every pixel of a picture: the final
// code against RenderScreen's 8-bit picture, and each layer's account against a picture of
// that layer alone (shadow/highlight ignored, no backdrop).
#pragma once

#include <cstdint>
#include <sstream>
#include <string>

#include "vdp/Bitmap.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/PixelInspector.h"
#include "vdp/VDPPictures.h"

namespace vantor::testkit {

// No pixel code has both marks, so RenderScreen never writes this value.
constexpr uint8_t kUntouched = 0xFF;

inline TIndexedBitmap RenderForInspection(const TMegaDriveVDP& vdp, uint16_t options, int32_t width,
                                          int32_t height) {
  TIndexedBitmap picture(width, height, 8);
  for (std::size_t i = 0; i < picture.ByteSize(); ++i)
    picture.Bits()[i] = kUntouched;
  vdp.RenderScreen(GetSurfaceInfo(picture), options, 0, 0);
  return picture;
}

// What a picture of one layer alone shows for the layer's account.
inline uint32_t ExpectedAlone(bool shown, const TPatternPixel& pixel) {
  if (!shown || pixel.ColorIndex == 0) return kUntouched;
  return uint32_t(pixel.PaletteLine << 4 | pixel.ColorIndex);
}

// "" when the inspector agrees with the renderer on every pixel, else the first difference.
inline std::string InspectorDisagreement(const TMegaDriveVDP& vdp, uint16_t options) {
  const TPixelInspector inspector(vdp, options);
  const int32_t width = inspector.Geometry().Width, height = inspector.Geometry().Height;
  constexpr uint16_t kKept =
      kRenderIgnoreHScroll | kRenderIgnoreVScroll | kRenderVirtualScreen | kRenderAllSprites;
  const uint16_t alone = uint16_t((options & kKept) | kRenderIgnoreShadowHighlight);
  const TIndexedBitmap full = RenderForInspection(vdp, options, width, height);
  const TIndexedBitmap planeB = RenderForInspection(
      vdp, uint16_t(alone | (options & (kRenderPlaneBLo | kRenderPlaneBHi))), width, height);
  const TIndexedBitmap planeA = RenderForInspection(
      vdp, uint16_t(alone | (options & (kRenderPlaneALo | kRenderPlaneAHi))), width, height);
  const TIndexedBitmap window = RenderForInspection(
      vdp, uint16_t(alone | (options & (kRenderWindowLo | kRenderWindowHi))), width, height);
  const TIndexedBitmap sprites = RenderForInspection(
      vdp, uint16_t(alone | (options & (kRenderSpritesLo | kRenderSpritesHi))), width, height);
  TPixelAccount a;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      inspector.Inspect(x, y, a);
      const uint32_t code = a.Written ? a.Code : kUntouched;
      const struct {
        const char* What;
        uint32_t Expected, Rendered;
      } checks[] = {
          {"code", code, full.Pixel(x, y)},
          {"plane B", ExpectedAlone(a.PlaneB.TakesPart, a.PlaneB.Pixel), planeB.Pixel(x, y)},
          {"plane A", ExpectedAlone(a.PlaneA.TakesPart, a.PlaneA.Pixel), planeA.Pixel(x, y)},
          {"window", ExpectedAlone(a.Window.TakesPart, a.Window.Pixel), window.Pixel(x, y)},
          {"sprite", ExpectedAlone(a.Sprite.Found, a.Sprite.Pixel), sprites.Pixel(x, y)},
      };
      for (const auto& check : checks) {
        if (check.Expected == check.Rendered) continue;
        std::ostringstream text;
        text << check.What << " at " << x << "," << y << ": inspector " << std::hex
             << check.Expected << ", renderer " << check.Rendered << " (options " << options << ", "
             << PixelSummary(a) << ")";
        return text.str();
      }
    }
  }
  return {};
}

}  // namespace vantor::testkit
