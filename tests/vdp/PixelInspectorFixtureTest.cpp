// The pixel inspector on the emulator's savestate: every pixel of the screen and of the entire
// virtual screen agrees with the renderer, for the option words the program uses.
#include <gtest/gtest.h>

#include "EmulatorFixture.h"
#include "InspectorAgreement.h"

namespace vantor {
namespace {

TEST(PixelInspectorFixtureTest, AgreesWithTheRendererOnEveryPixel) {
  const auto vdp = testkit::LoadEmulatorFixture();
  constexpr uint16_t kLayerHalves = kRenderAllLayers & ~kRenderBackdrop;
  const uint16_t optionWords[] = {
      kRenderAllLayers,                                             // the view window
      kRenderAllLayers | kRenderAllSprites,                         // every sprite
      kRenderAllLayers | kRenderVirtualScreen | kRenderAllSprites,  // the virtual screen
      kRenderAllLayers | kRenderVirtualScreen,                      // ... with the limits
      kLayerHalves | kRenderIgnoreShadowHighlight,                  // no backdrop
      kRenderBackdrop | kRenderPlaneAHi | kRenderPlaneBLo | kRenderSpritesHi | kRenderIgnoreHScroll,
      kRenderBackdrop | kRenderPlaneALo | kRenderWindowHi | kRenderSpritesLo |
          kRenderIgnoreVScroll | kRenderVirtualScreen,
  };
  for (const uint16_t options : optionWords)
    EXPECT_EQ(testkit::InspectorDisagreement(*vdp, options), "");
}

}  // namespace
}  // namespace vantor
