// Golden pictures and listings of the emulator fixture through vantor-cli: whole screens, the
// virtual screen, the pattern and sprite sheets, the Video RAM map; the pixel inspector's
// accounts and the Video RAM map's lists. Any change of a pixel index, a colour-table entry or
// a character fails. After a deliberate change, rebaseline with
//   VANTOR_REBASELINE=1 ctest -R CliGolden
// which writes the new files into tests/cli/golden/ (then review and commit them).
#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "CliTestKit.h"
#include "TestData.h"

namespace vantor::clitest {
namespace {

struct TGoldenCase {
  const char* Golden;
  std::vector<std::string> Args;  // after "STATE", before "OUT"
};

void PrintTo(const TGoldenCase& test, std::ostream* out) {
  *out << test.Golden;
}

class CliGolden : public ::testing::TestWithParam<TGoldenCase> {};

std::string fixtureDir() {
  return testdata::TestDataPath("emulator-h40");
}

// The number of differing pixels, and where the first one lies.
std::string compareIndexed(const QImage& actual, const QImage& golden) {
  if (actual.format() != QImage::Format_Indexed8) return "not an indexed picture";
  if (actual.size() != golden.size()) return "size differs";
  if (actual.colorTable() != golden.colorTable()) return "colour table differs";
  int differing = 0;
  QPoint first;
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      if (actual.pixelIndex(x, y) == golden.pixelIndex(x, y)) continue;
      if (differing++ == 0) first = QPoint(x, y);
    }
  }
  if (differing == 0) return {};
  return std::to_string(differing) + " pixels differ, the first at " + std::to_string(first.x()) +
         ", " + std::to_string(first.y());
}

TEST_P(CliGolden, PictureMatches) {
  const std::string fixture = fixtureDir();
  ASSERT_TRUE(std::filesystem::exists(fixture + "/state.gs0")) << fixture << " holds no state.gs0";
  const TGoldenCase& test = GetParam();
  TTempDir dir;
  std::vector<std::string> args = {test.Args.front(), fixture + "/state.gs0"};
  args.insert(args.end(), test.Args.begin() + 1, test.Args.end());
  args.insert(args.end(), {dir.Path("out.png"), "--layout", fixture + "/layout.ini"});
  const TRunResult run = RunTool(args);
  ASSERT_EQ(run.Status, 0) << run.Err;

  const std::string golden = std::string(VANTOR_GOLDEN_DIR) + "/" + test.Golden;
  if (std::getenv("VANTOR_REBASELINE")) {
    std::filesystem::copy_file(dir.Path("out.png"), golden,
                               std::filesystem::copy_options::overwrite_existing);
    GTEST_SKIP() << "rebaselined " << golden;
  }
  const QImage expected(QString::fromStdString(golden));
  ASSERT_FALSE(expected.isNull()) << "no golden picture " << golden;
  EXPECT_EQ(compareIndexed(QImage(QString::fromStdString(dir.Path("out.png"))), expected), "");
}

INSTANTIATE_TEST_SUITE_P(
    EmulatorFixture, CliGolden,
    ::testing::Values(TGoldenCase{"screen.png", {"render"}},
                      TGoldenCase{"virtual-no-backdrop.png",
                                  {"render", "--virtual", "--no-backdrop"}},
                      TGoldenCase{"planes-no-scroll.png",
                                  {"render", "--layers", "a-lo,a-hi,b-lo,b-hi", "--ignore-hscroll",
                                   "--ignore-vscroll"}},
                      TGoldenCase{"patterns-line2.png", {"patterns", "--line", "2"}},
                      TGoldenCase{"sprites.png", {"sprites", "--transparent"}}),
    [](const ::testing::TestParamInfo<TGoldenCase>& param) {
      std::string name = param.param.Golden;
      name = name.substr(0, name.find('.'));
      for (char& c : name)
        if (c == '-') c = '_';
      return name;
    });

// The Video RAM map's picture (its option names the file).
TEST(CliGoldenMap, VRAMMapPictureMatches) {
  const std::string fixture = fixtureDir();
  TTempDir dir;
  const TRunResult run = RunTool({"vram-map", fixture + "/state.gs0", "--png", dir.Path("out.png"),
                                  "--layout", fixture + "/layout.ini"});
  ASSERT_EQ(run.Status, 0) << run.Err;
  const std::string golden = std::string(VANTOR_GOLDEN_DIR) + "/vram-map.png";
  if (std::getenv("VANTOR_REBASELINE")) {
    std::filesystem::copy_file(dir.Path("out.png"), golden,
                               std::filesystem::copy_options::overwrite_existing);
    GTEST_SKIP() << "rebaselined " << golden;
  }
  const QImage expected(QString::fromStdString(golden));
  ASSERT_FALSE(expected.isNull()) << "no golden picture " << golden;
  EXPECT_EQ(compareIndexed(QImage(QString::fromStdString(dir.Path("out.png"))), expected), "");
}

// Listings on standard output.
class CliTextGolden : public ::testing::TestWithParam<TGoldenCase> {};

TEST_P(CliTextGolden, OutputMatches) {
  const std::string fixture = fixtureDir();
  const TGoldenCase& test = GetParam();
  std::vector<std::string> args = {test.Args.front(), fixture + "/state.gs0"};
  args.insert(args.end(), test.Args.begin() + 1, test.Args.end());
  args.insert(args.end(), {"--layout", fixture + "/layout.ini"});
  const TRunResult run = RunTool(args);
  ASSERT_EQ(run.Status, 0) << run.Err;

  const std::string golden = std::string(VANTOR_GOLDEN_DIR) + "/" + test.Golden;
  if (std::getenv("VANTOR_REBASELINE")) {
    WriteText(golden, run.Out);
    GTEST_SKIP() << "rebaselined " << golden;
  }
  ASSERT_TRUE(std::filesystem::exists(golden)) << "no golden listing " << golden;
  EXPECT_EQ(run.Out, ReadText(golden));
}

std::string goldenName(const ::testing::TestParamInfo<TGoldenCase>& param) {
  std::string name = param.param.Golden;
  for (char& c : name)
    if (c == '-' || c == '.') c = '_';
  return name;
}

// A sprite over the window at equal priority; the window's high cell over that sprite; a high
// plane B cell over a low sprite; a high sprite over a high plane A cell, on the entire
// virtual screen; the Video RAM map.
INSTANTIATE_TEST_SUITE_P(
    EmulatorFixture, CliTextGolden,
    ::testing::Values(TGoldenCase{"inspect-sprite.txt", {"inspect", "147", "18"}},
                      TGoldenCase{"inspect-window.json", {"inspect", "163", "18", "--json"}},
                      TGoldenCase{"inspect-plane-b.txt", {"inspect", "163", "114"}},
                      TGoldenCase{"inspect-virtual.txt", {"inspect", "331", "298", "--virtual"}},
                      TGoldenCase{"vram-map.txt", {"vram-map"}},
                      TGoldenCase{"vram-map.json", {"vram-map", "--json"}}),
    goldenName);

}  // namespace
}  // namespace vantor::clitest
