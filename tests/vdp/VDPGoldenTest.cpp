// The composed screen of a savestate written by an emulator equals that emulator's own frame.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>

#include "TestData.h"
#include "cli/StateModel.h"
#include "document/DefaultLayout.h"
#include "document/SavestateDocument.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

// A savestate of a current emulator with its own picture of the frame (see its README.txt).
const fs::path kFixture = testdata::TestDataPath("emulator-h40");

// The emulator's output levels: channel c shows L[2c] normal, L[c] shadowed, L[7 + c]
// highlighted.
constexpr std::array<int, 15> kLevels = {0,   27,  49,  71,  87,  103, 119, 130,
                                         146, 157, 174, 190, 206, 228, 255};

// The emulator's colour of one pixel code (bits 0-5 CRAM entry, 6 highlight, 7 shadow).
QRgb emulatorColor(const TMegaDriveVDP& vdp, uint8_t code) {
  const uint16_t w = vdp.GetColor(code & 0x3F);
  auto level = [&](int c) {
    if (code & 0x80) return kLevels[std::size_t(c)];
    if (code & 0x40) return kLevels[std::size_t(7 + c)];
    return kLevels[std::size_t(2 * c)];
  };
  return qRgb(level((w >> 1) & 7), level((w >> 5) & 7), level((w >> 9) & 7));
}

// The savestate is read as the program reads it: the built-in layout, VSRAM byte order
// detection on. This emulator writes its VSRAM little-endian without the header byte that
// says so; the content tells.
TEST(VDPGoldenTest, ComposedScreenEqualsTheEmulatorsFrame) {
  TLayout layout(LayoutIni::FromText(DefaultLayoutText()));
  TSavestateDocument document(layout);
  const auto load = document.Load((kFixture / "state.gs0").string(), nullptr);
  ASSERT_EQ(load.Status, TSavestateDocument::TLoadStatus::lsLoaded);
  EXPECT_EQ(load.VSRAMDetection, 1);
  EXPECT_EQ(load.VSRAMReason, TVSRAMReason::vrContent);
  auto vdp = std::make_unique<TMegaDriveVDP>();
  ImageToVDP(layout, document.Image(), *vdp);

  TIndexedBitmap picture;
  RenderScreenPicture(*vdp, kRenderAllLayers, picture);
  const QImage frame = QImage(QString::fromStdString((kFixture / "frame.png").string()))
                           .convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(frame.isNull());
  ASSERT_EQ(picture.Width(), frame.width());
  ASSERT_EQ(picture.Height(), frame.height());
  std::array<bool, 256> used{};
  int differing = 0;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const uint8_t code = uint8_t(picture.Pixel(x, y));
      used[code] = true;
      const QRgb expected = frame.pixel(x, y) & 0xFFFFFF;
      const QRgb ours = emulatorColor(*vdp, code) & 0xFFFFFF;
      if (ours != expected && ++differing <= 10) {
        ADD_FAILURE() << "pixel " << x << "," << y << " code " << int(code) << std::hex << " ours "
                      << ours << " frame " << expected;
      }
    }
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(std::count(used.begin(), used.end(), true), 20);  // a busy scene, not a blank one
}

}  // namespace
}  // namespace vantor
