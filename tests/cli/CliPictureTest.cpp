// render, inspect, patterns, sprites, palette export and import, vram-map's picture and info's
// VDP part, run as a program on a small scene the tests build.
#include <QImage>

#include <algorithm>
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliTestKit.h"
#include "statemodel/StateModel.h"
#include "vdp/BmpWriter.h"
#include "vdp/VDPColors.h"
#include "vdp/VDPPictures.h"

namespace vantor::clitest {
namespace {

using ::testing::HasSubstr;

// The colour of pattern 1, drawn into the top-left cell of plane A.
constexpr int kPatternColor = 3;
constexpr int kBackground = 0x21;  // palette line 2, index 1

class CliPictures : public ::testing::Test {
 protected:
  CliPictures() : m_layout(dir.Path("layout.ini")) {
    WriteText(m_layout, LayoutText(false));
    image = BlankImage(MakeLayout());
  }

  // H40, V28; plane A at $C000, window at $B000, plane B at $E000, sprites at $F800,
  // scroll table at $FC00. Pattern 1 is all colour 3; plane A cell (0, 0) shows it.
  void BuildScene() {
    const std::pair<int, uint8_t> registers[] = {{1, 0x44},  {2, 0x30},  {3, 0x2C},
                                                 {4, 0x07},  {5, 0x7C},  {7, kBackground},
                                                 {12, 0x81}, {13, 0x3F}, {16, 0x01}};
    for (const auto& [reg, value] : registers)
      Poke(kRegOffset + static_cast<std::size_t>(reg), {value});
    for (int i = 0; i < 64; ++i)  // CRAM words, little endian: entry i = i * 0x22 & 0x0EEE
      PokeWord(kCramOffset + 2 * static_cast<std::size_t>(i), static_cast<uint16_t>(i * 0x222));
    Poke(kVramOffset + 0x20, std::vector<uint8_t>(32, 0x33));
    Poke(kVramOffset + 0xC000, {0x00, 0x01});
  }
  void Poke(std::size_t offset, std::vector<uint8_t> bytes) {
    image.WriteAt(offset, bytes.data(), bytes.size());
  }
  void PokeWord(std::size_t offset, uint16_t word) {
    Poke(offset, {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8)});
  }
  const std::string& Save() {
    WriteFile(dir.Path("state.gs0"), image.Bytes());
    return m_statePath = dir.Path("state.gs0");
  }
  TRunResult Run(std::vector<std::string> args) {
    args.push_back("--layout");
    args.push_back(m_layout);
    return RunTool(args);
  }
  // The model as the tool loads it.
  TMegaDriveVDP Model() {
    TLayout layout = MakeLayout(false);
    TMegaDriveVDP vdp;
    ImageToVDP(layout, image, vdp);
    return vdp;
  }
  QImage RunPng(std::vector<std::string> args, const std::string& name) {
    args.push_back(dir.Path(name));
    const TRunResult result = Run(args);
    EXPECT_EQ(result.Status, 0) << result.Err;
    return QImage(QString::fromStdString(dir.Path(name)));
  }

  TTempDir dir;
  SavestateImage image;

 private:
  std::string m_layout;
  std::string m_statePath;
};

uint32_t CramColor(int index) {
  return CRAMToRGB32(static_cast<uint16_t>(index * 0x222) & kCRAMColorMask);
}

TEST_F(CliPictures, RenderOfTheBlankDocumentIsTheBackdropOnly) {
  ASSERT_EQ(Run({"render", Save(), dir.Path("blank.bmp")}).Status, 0);
  const std::vector<uint8_t> bmp = ReadFile(dir.Path("blank.bmp"));
  // H32, V28: 256 x 224, 8 bits per pixel, 256 colours, every pixel the background colour 0.
  ASSERT_EQ(bmp.size(), 14u + 40u + 256u * 4u + 256u * 224u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[18] | bmp[19] << 8, 256);
  EXPECT_EQ(bmp[22] | bmp[23] << 8, 224);
  EXPECT_EQ(bmp[28], 8);
  EXPECT_TRUE(std::all_of(bmp.end() - 256 * 224, bmp.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(CliPictures, RenderWritesTheFileTheScreenPageSaves) {
  BuildScene();
  const std::string state = Save();
  ASSERT_EQ(Run({"render", state, dir.Path("screen.bmp")}).Status, 0);
  TIndexedBitmap picture;
  RenderScreenPicture(Model(), kRenderAllLayers, picture);
  EXPECT_EQ(ReadFile(dir.Path("screen.bmp")), EncodeBmp(picture));

  ASSERT_EQ(Run({"render", state, dir.Path("v.bmp"), "--virtual", "--ignore-hscroll", "--layers",
                 "a-lo,spr-hi"})
                .Status,
            0);
  RenderScreenPicture(Model(),
                      kRenderBackdrop | kRenderVirtualScreen | kRenderAllSprites |
                          kRenderIgnoreHScroll | kRenderPlaneALo | kRenderSpritesHi,
                      picture);
  EXPECT_EQ(picture.Width(), 640);
  EXPECT_EQ(ReadFile(dir.Path("v.bmp")), EncodeBmp(picture));
}

// 21 one-cell sprites side by side on the screen's top line: the console draws 20 of them.
TEST_F(CliPictures, RenderFollowsTheSpriteLimitsUnlessAllSprites) {
  BuildScene();
  for (int i = 0; i < 21; ++i) {
    const auto x = static_cast<uint16_t>(128 + 8 * i);
    const auto link = static_cast<uint8_t>(i < 20 ? i + 1 : 0);
    // Y 128 | size 0 | link | pattern 1 in palette line 1 | X
    Poke(kVramOffset + 0xF800 + 8 * static_cast<std::size_t>(i),
         {0x00, 0x80, 0x00, link, 0x20, 0x01, static_cast<uint8_t>(x >> 8),
          static_cast<uint8_t>(x)});
  }
  const std::string state = Save();
  constexpr int kSprite = 0x10 | kPatternColor;
  EXPECT_EQ(RunPng({"render", state}, "limits.png").pixelIndex(152, 0), kSprite);
  EXPECT_EQ(RunPng({"render", state}, "limits.png").pixelIndex(160, 0), kBackground);
  EXPECT_EQ(RunPng({"render", state, "--all-sprites"}, "all.png").pixelIndex(160, 0), kSprite);
  // The entire virtual screen draws every sprite unless the limits are asked for.
  EXPECT_EQ(RunPng({"render", state, "--virtual"}, "v.png").pixelIndex(288, 128), kSprite);
  EXPECT_EQ(
      RunPng({"render", state, "--virtual", "--sprite-limits"}, "vl.png").pixelIndex(288, 128),
      kBackground);
  const TRunResult both =
      Run({"render", state, dir.Path("x.png"), "--all-sprites", "--sprite-limits"});
  EXPECT_EQ(both.Status, 1);
  EXPECT_THAT(both.Err, HasSubstr("--all-sprites and --sprite-limits exclude each other"));
}

TEST_F(CliPictures, RenderPngKeepsIndicesAndColourTable) {
  BuildScene();
  const std::string state = Save();
  const QImage png = RunPng({"render", state}, "screen.png");
  ASSERT_EQ(png.format(), QImage::Format_Indexed8);
  ASSERT_EQ(png.size(), QSize(320, 224));
  ASSERT_EQ(png.colorCount(), 256);
  EXPECT_EQ(png.pixelIndex(0, 0), kPatternColor);
  EXPECT_EQ(png.pixelIndex(7, 7), kPatternColor);
  EXPECT_EQ(png.pixelIndex(8, 0), kBackground);
  EXPECT_EQ(png.color(kPatternColor), CramColor(kPatternColor));
  EXPECT_EQ(png.color(kBackground), CramColor(kBackground));

  // Without plane A only the backdrop is left.
  const QImage withoutA = RunPng({"render", state, "--layers", "b-lo,b-hi,spr-lo"}, "b.png");
  EXPECT_EQ(withoutA.pixelIndex(0, 0), kBackground);
}

TEST_F(CliPictures, NoBackdropMakesEmptyPixelsTransparent) {
  BuildScene();
  const QImage png = RunPng({"render", Save(), "--no-backdrop"}, "nobd.png");
  ASSERT_EQ(png.format(), QImage::Format_Indexed8);
  EXPECT_EQ(png.pixelIndex(0, 0), kPatternColor);
  EXPECT_EQ(qAlpha(png.pixel(0, 0)), 255);
  EXPECT_EQ(png.pixelIndex(8, 0), 0);
  EXPECT_EQ(qAlpha(png.pixel(8, 0)), 0);
}

TEST_F(CliPictures, LayersDirWritesOneTransparentPngPerLayerHalf) {
  BuildScene();
  ASSERT_EQ(Run({"render", Save(), "--layers-dir", dir.Path("layers")}).Status, 0);
  for (const char* name :
       {"a-lo", "a-hi", "b-lo", "b-hi", "win-lo", "win-hi", "spr-lo", "spr-hi"}) {
    const QImage layer(QString::fromStdString(dir.Path("layers/" + std::string(name) + ".png")));
    ASSERT_EQ(layer.size(), QSize(320, 224)) << name;
    EXPECT_EQ(qAlpha(layer.pixel(100, 100)), 0) << name;
  }
  const QImage aLo(QString::fromStdString(dir.Path("layers/a-lo.png")));
  EXPECT_EQ(aLo.pixelIndex(0, 0), kPatternColor);
  const QImage aHi(QString::fromStdString(dir.Path("layers/a-hi.png")));
  EXPECT_EQ(qAlpha(aHi.pixel(0, 0)), 0);

  // --layers picks the files.
  ASSERT_EQ(
      Run({"render", Save(), "--layers-dir", dir.Path("two"), "--layers", "b-hi,spr-lo"}).Status,
      0);
  EXPECT_TRUE(std::filesystem::exists(dir.Path("two/b-hi.png")));
  EXPECT_TRUE(std::filesystem::exists(dir.Path("two/spr-lo.png")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("two/a-lo.png")));

  EXPECT_EQ(Run({"render", Save(), dir.Path("x.png"), "--layers-dir", dir.Path("l")}).Status, 1);
  EXPECT_EQ(Run({"render", Save()}).Status, 1);
  EXPECT_EQ(Run({"render", Save(), dir.Path("x.png"), "--layers", "a-lo,c-hi"}).Status, 1);
}

TEST_F(CliPictures, PatternSheetIsTheFourBitPictureOfThePage) {
  BuildScene();
  const std::string state = Save();
  ASSERT_EQ(Run({"patterns", state, dir.Path("p.bmp"), "--line", "2"}).Status, 0);
  const std::vector<uint8_t> bmp = ReadFile(dir.Path("p.bmp"));
  ASSERT_EQ(bmp.size(), 14u + 40u + 16u * 4u + 512u * 256u / 2u);
  EXPECT_EQ(bmp[28], 4);
  TIndexedBitmap sheet;
  BuildPatternSheet(image.Data() + kVramOffset, 65536, Model(), 2, sheet);
  EXPECT_EQ(bmp, EncodeBmp(sheet));

  const QImage png = RunPng({"patterns", state, "--transparent"}, "p.png");
  ASSERT_EQ(png.format(), QImage::Format_Indexed8);
  ASSERT_EQ(png.size(), QSize(512, 256));
  ASSERT_EQ(png.colorCount(), 16);
  EXPECT_EQ(png.pixelIndex(8, 0), kPatternColor);  // pattern 1
  EXPECT_EQ(png.pixelIndex(0, 0), 0);
  EXPECT_EQ(qAlpha(png.color(0)), 0);
  EXPECT_EQ(png.color(kPatternColor), CramColor(kPatternColor));

  // From main CPU RAM: pattern 0 there is colour 5.
  Poke(kMainRamOffset, std::vector<uint8_t>(32, 0x55));
  const QImage main = RunPng({"patterns", Save(), "--source", "main"}, "m.png");
  EXPECT_EQ(main.pixelIndex(0, 0), 5);
  EXPECT_EQ(main.pixelIndex(8, 0), 0);
  EXPECT_EQ(Run({"patterns", state, dir.Path("x.png"), "--line", "4"}).Status, 1);
  EXPECT_EQ(Run({"patterns", state, dir.Path("x.png"), "--source", "rom"}).Status, 1);
}

TEST_F(CliPictures, SpriteSheetAndItsTransparentForm) {
  BuildScene();
  // Sprite 0: one cell of pattern 1 in palette line 1; sprite 1 is not drawn.
  Poke(kVramOffset + 0xF800, {0x00, 0x80, 0x00, 0x00, 0x20, 0x01, 0x00, 0x80});
  const std::string state = Save();
  ASSERT_EQ(Run({"sprites", state, dir.Path("s.bmp")}).Status, 0);
  TIndexedBitmap sheet;
  BuildSpriteSheet(Model(), 16, sheet);
  ASSERT_EQ(sheet.Width(), 512);
  ASSERT_EQ(sheet.Height(), 160);  // the 80 sprites of an H40 table
  EXPECT_EQ(ReadFile(dir.Path("s.bmp")), EncodeBmp(sheet));

  const QImage png = RunPng({"sprites", state, "--transparent"}, "s.png");
  ASSERT_EQ(png.size(), QSize(512, 160));
  EXPECT_EQ(png.pixelIndex(0, 0), 0x10 | kPatternColor);
  EXPECT_EQ(qAlpha(png.pixel(0, 0)), 255);
  EXPECT_EQ(png.pixelIndex(8, 0), 0);
  EXPECT_EQ(qAlpha(png.pixel(8, 0)), 0);
  const QImage opaque = RunPng({"sprites", state}, "o.png");
  EXPECT_EQ(opaque.pixelIndex(8, 0), kBackground);
}

TEST_F(CliPictures, PaletteExportWritesTheColourRamPageFormat) {
  BuildScene();
  const std::string state = Save();
  ASSERT_EQ(Run({"palette", "export", state, dir.Path("all.pal")}).Status, 0);
  const std::string all = ReadText(dir.Path("all.pal"));
  EXPECT_TRUE(all.starts_with("JASC-PAL\r\n0100\r\n256\r\n0 0 0\r\n36 36 36\r\n73 73 73\r\n"));
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 3 + 256);

  ASSERT_EQ(
      Run({"palette", "export", state, dir.Path("p.pal"), "--first", "2", "--count", "3"}).Status,
      0);
  std::string expected = "JASC-PAL\r\n0100\r\n16\r\n73 73 73\r\n109 109 109\r\n146 146 146\r\n";
  for (int i = 0; i < 13; ++i)
    expected += "0 0 0\r\n";
  EXPECT_EQ(ReadText(dir.Path("p.pal")), expected);
  EXPECT_EQ(
      Run({"palette", "export", state, dir.Path("p.pal"), "--first", "60", "--count", "5"}).Status,
      1);
}

TEST_F(CliPictures, PaletteImportWritesColoursFromTheFirstEntryOn) {
  const std::string state = Save();
  WriteText(dir.Path("in.pal"), "JASC-PAL\r\n0100\r\n3\r\n255 128 0\r\n0 0 255\r\n36 73 109\r\n");
  const TRunResult run = Run(
      {"palette", "import", state, dir.Path("in.pal"), "--first", "62", "-o", dir.Path("out.gs0")});
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "2 colours read into entries 62 to 63, 2 changed\n");
  std::vector<uint8_t> expected = image.Bytes();
  expected[kCramOffset + 124] = 0x8E;  // 255 128 0: red 7, green 4
  expected[kCramOffset + 127] = 0x0E;  // blue 7
  EXPECT_EQ(ReadFile(dir.Path("out.gs0")), expected);

  WriteText(dir.Path("bad.pal"), "JASC-PAL \r\n0100\r\n1\r\n1 2 3\r\n");
  const TRunResult bad =
      Run({"palette", "import", state, dir.Path("bad.pal"), "-o", dir.Path("o2.gs0")});
  EXPECT_EQ(bad.Status, 2);
  EXPECT_EQ(bad.Err,
            "Wrong File Type! \"" + dir.Path("bad.pal") + "\" is not a JASC-PAL palette file.\n");
}

TEST_F(CliPictures, PaletteImportHonoursABigEndianColourRam) {
  std::string layout = LayoutText(false);
  const std::string entry = "CRAM=Color RAM|$00112|128";
  layout.replace(layout.find(entry), entry.size(), entry + "|%11");
  WriteText(dir.Path("be.ini"), layout);
  WriteText(dir.Path("in.pal"), "JASC-PAL\r\n0100\r\n1\r\n0 0 255\r\n");
  ASSERT_EQ(RunTool({"palette", "import", Save(), dir.Path("in.pal"), "-o", dir.Path("o.gs0"),
                     "--layout", dir.Path("be.ini")})
                .Status,
            0);
  const std::vector<uint8_t> out = ReadFile(dir.Path("o.gs0"));
  EXPECT_EQ(out[kCramOffset], 0x0E);
  EXPECT_EQ(out[kCramOffset + 1], 0x00);
}

TEST_F(CliPictures, InfoDecodesTheVdpSetUp) {
  BuildScene();
  const TRunResult info = Run({"info", Save()});
  ASSERT_EQ(info.Status, 0);
  EXPECT_THAT(info.Out, HasSubstr("Display:            320 x 224 (H40, V28)\n"));
  EXPECT_THAT(info.Out, HasSubstr("Interlace mode:     0 (No Interlace)\n"));
  EXPECT_THAT(info.Out, HasSubstr("Plane size:         64 x 32 cells\n"));
  EXPECT_THAT(info.Out, HasSubstr("Plane A table:      $C000\nWindow table:       $B000\n"
                                  "Plane B table:      $E000\nSprite table:       $F800\n"
                                  "H scroll table:     $FC00\n"));
  EXPECT_THAT(info.Out, HasSubstr("Background colour:  $21 (palette line 2, index 1)\n"));
  EXPECT_THAT(info.Out, HasSubstr("Sprites in chain:   1\n"));
  const TRunResult json = Run({"info", Save(), "--json"});
  EXPECT_THAT(json.Out, HasSubstr("\"planeA\": 49152"));
  EXPECT_THAT(json.Out, HasSubstr("\"h40\": true"));
}

// The pixel is one of the picture render writes with the same options; one outside it, or
// contradicting sprite rules, are refused.
TEST_F(CliPictures, InspectNamesTheCellAndRefusesPixelsOutsideThePicture) {
  BuildScene();
  const TRunResult plane = Run({"inspect", Save(), "7", "7"});
  ASSERT_EQ(plane.Status, 0) << plane.Err;
  EXPECT_THAT(plane.Out, HasSubstr("Plane A      cell 0,0, pixel 7,7; scroll H 0, V 0\n"
                                   "             name table entry $C000 = $0001: pattern $001"));
  EXPECT_THAT(plane.Out, HasSubstr("Result       code $03: CRAM $03"));
  const TRunResult backdrop = Run({"inspect", Save(), "8", "0", "--json"});
  EXPECT_THAT(backdrop.Out, HasSubstr("\"winner\": \"backdrop\""));
  EXPECT_THAT(backdrop.Out, HasSubstr("\"code\": 33"));
  // The virtual screen is larger: the plane starts at 128, 128.
  EXPECT_THAT(Run({"inspect", Save(), "135", "128", "--virtual"}).Out,
              HasSubstr("Plane A      cell 0,0, pixel 7,0"));

  const TRunResult outside = Run({"inspect", Save(), "320", "0"});
  EXPECT_EQ(outside.Status, 1);
  EXPECT_THAT(outside.Err, HasSubstr("pixel 320,0 lies outside the picture (320 x 224)"));
  EXPECT_EQ(Run({"inspect", Save(), "0", "0", "--all-sprites", "--sprite-limits"}).Status, 1);
  EXPECT_EQ(Run({"inspect", Save(), "x1", "y"}).Status, 1);
}

TEST_F(CliPictures, UnwritableOutputExitsWithTwo) {
  const TRunResult run = Run({"render", Save(), dir.Path("no/such/dir/x.png")});
  EXPECT_EQ(run.Status, 2);
  EXPECT_THAT(run.Err, HasSubstr("Cannot create file"));
  const TRunResult map = Run({"vram-map", Save(), "--png", dir.Path("no/such/dir/x.png")});
  EXPECT_EQ(map.Status, 2);
  EXPECT_THAT(map.Err, HasSubstr("Cannot create file"));
  EXPECT_EQ(map.Out, "");
}

}  // namespace
}  // namespace vantor::clitest
