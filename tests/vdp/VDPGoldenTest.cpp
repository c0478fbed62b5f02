// The composed screen of a savestate written by an emulator equals that emulator's own frame.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "TestData.h"
#include "VDPTestKit.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

// Where the default layout puts the VDP in a Genecyst savestate.
constexpr std::size_t kRegistersAt = 0xFA;
constexpr std::size_t kCRAMAt = 0x112;
constexpr std::size_t kVSRAMAt = 0x192;
constexpr std::size_t kVRAMAt = 0x12478;

// The emulator's output levels: channel c shows L[2c] normal, L[c] shadowed, L[7 + c]
// highlighted.
constexpr std::array<int, 15> kLevels = {0,   27,  49,  71,  87,  103, 119, 130,
                                         146, 157, 174, 190, 206, 228, 255};

fs::path fixtureFolder() {
  return testdata::TestDataPath("emulator-h40");
}

std::vector<uint8_t> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> slice(const std::vector<uint8_t>& file, std::size_t at, std::size_t n) {
  return {file.begin() + std::ptrdiff_t(at), file.begin() + std::ptrdiff_t(at + n)};
}

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

TEST(VDPGoldenTest, ComposedScreenEqualsTheEmulatorsFrame) {
  const fs::path folder = fixtureFolder();
  ASSERT_TRUE(fs::exists(folder / "state.gs0")) << folder << " holds no state.gs0";
  const std::vector<uint8_t> state = readFile(folder / "state.gs0");
  ASSERT_GE(state.size(), kVRAMAt + 65536);
  auto vdp = std::make_unique<TMegaDriveVDP>();
  for (uint8_t r = 0; r < 24; ++r)
    vdp->SetReg(r, state[kRegistersAt + r]);
  // This emulator stores CRAM and VSRAM as little-endian words: no swap.
  testkit::TVectorStream cram(slice(state, kCRAMAt, 128));
  vdp->LoadCRAM(cram, false);
  testkit::TVectorStream vsram(slice(state, kVSRAMAt, 80));
  vdp->LoadVSRAM(vsram, false);
  testkit::TVectorStream vram(slice(state, kVRAMAt, 65536));
  vdp->LoadVRAM(vram);

  TIndexedBitmap picture;
  RenderScreenPicture(*vdp, kRenderAllLayers, picture);
  const QImage frame = QImage(QString::fromStdString((folder / "frame.png").string()))
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
