// The graphics round trip on an emulator's savestate, run as a user would: the pattern sheet
// out and back in (once through ImageMagick), palettes in GIMP and Adobe files, and plane maps
// for Tiled read back and drawn again.
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QXmlStreamReader>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliTestKit.h"
#include "TestData.h"
#include "pictureio/PictureIO.h"
#include "statemodel/StateModel.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"

namespace vantor::clitest {
namespace {

using ::testing::HasSubstr;

const std::string kFixture = testdata::TestDataPath("emulator-h40/state.gs0");

class CliRoundTrip : public ::testing::Test {
 protected:
  CliRoundTrip() : state(dir.Path("state.gs0")) {
    original = ReadFile(kFixture);
    WriteFile(state, original);
  }

  TRunResult Run(const std::vector<std::string>& args) {
    TRunResult result = RunTool(args);
    return result;
  }
  void RunOk(const std::vector<std::string>& args) {
    const TRunResult result = RunTool(args);
    ASSERT_EQ(result.Status, 0) << result.Err;
  }

  // The model as the tool loads the savestate.
  std::unique_ptr<TMegaDriveVDP> Model(const std::vector<uint8_t>& bytes) {
    TLayout layout = MakeLayout();
    SavestateImage image{std::vector<uint8_t>(bytes)};
    auto vdp = std::make_unique<TMegaDriveVDP>();
    ImageToVDP(layout, image, *vdp);
    return vdp;
  }

  // The offsets (in the savestate) of the bytes that differ between two files of one size.
  static std::vector<std::size_t> Differences(const std::vector<uint8_t>& a,
                                              const std::vector<uint8_t>& b) {
    EXPECT_EQ(a.size(), b.size());
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
      if (a[i] != b[i]) offsets.push_back(i);
    return offsets;
  }

  TTempDir dir;
  std::string state;
  std::vector<uint8_t> original;
};

TEST_F(CliRoundTrip, AnUnchangedSheetChangesNoByte) {
  for (const char* source : {"vram", "main"}) {
    for (const char* name : {"sheet.bmp", "sheet.png"}) {
      RunOk({"patterns", state, dir.Path(name), "--source", source, "--line", "2"});
      const TRunResult result = Run({"patterns", "import", state, dir.Path(name), "--first", "0",
                                     "--source", source, "-o", dir.Path("back.gs0")});
      ASSERT_EQ(result.Status, 0) << result.Err;
      EXPECT_THAT(result.Out, HasSubstr("2048 patterns written"));
      EXPECT_THAT(result.Out, HasSubstr(" 0 bytes changed"));
      EXPECT_EQ(ReadFile(dir.Path("back.gs0")), original) << source << " " << name;
    }
  }
}

// One pixel of one pattern painted over with ImageMagick's plain command, which rearranges
// the colour table as it writes the picture: exactly that pixel's nibble changes.
TEST_F(CliRoundTrip, OnePixelPaintedInImageMagickChangesOneNibble) {
  if (std::string(VANTOR_IMAGEMAGICK).empty()) GTEST_SKIP() << "ImageMagick is not installed";
  RunOk({"patterns", state, dir.Path("sheet.png")});
  const QImage sheet(QString::fromStdString(dir.Path("sheet.png")));
  ASSERT_EQ(sheet.format(), QImage::Format_Indexed8);

  // Pattern 1000, row 5, column 3; the new value is a colour no other entry of line 0 has.
  constexpr int kPattern = 1000, kRow = 5, kColumn = 3;
  const int x = (kPattern % 64) * 8 + kColumn;
  const int y = (kPattern / 64) * 8 + kRow;
  const int old = sheet.pixelIndex(x, y);
  const QList<QRgb> table = sheet.colorTable();
  int value = -1;
  for (int candidate = 1; candidate < 16 && value < 0; ++candidate) {
    if (candidate != old && std::count(table.begin(), table.begin() + 16, table[candidate]) == 1)
      value = candidate;
  }
  ASSERT_GE(value, 0) << "palette line 0 has no colour of its own";
  const QString fill = QColor(table[value]).name();

  const TRunResult painted =
      RunProgram(VANTOR_IMAGEMAGICK,
                 {dir.Path("sheet.png"), "-fill", fill.toStdString(), "-draw",
                  "point " + std::to_string(x) + "," + std::to_string(y), dir.Path("painted.png")});
  ASSERT_EQ(painted.Status, 0) << painted.Err;
  RunOk({"patterns", "import", state, dir.Path("painted.png"), "--first", "0", "-o",
         dir.Path("painted.gs0")});

  const std::vector<uint8_t> after = ReadFile(dir.Path("painted.gs0"));
  const std::size_t offset = kVramOffset + kPattern * 32 + kRow * 4 + kColumn / 2;
  ASSERT_EQ(Differences(original, after), std::vector<std::size_t>{offset});
  // Column 3 is the low nibble of its byte.
  EXPECT_EQ(after[offset] & 0xF0, original[offset] & 0xF0);
  EXPECT_EQ(after[offset] & 0x0F, value);
}

TEST_F(CliRoundTrip, PatternsPaintedInAProgramLandAtTheFirstPattern) {
  // Two cells, as a drawing program would save them: 8-bit indexed, values above 15.
  QImage picture(16, 8, QImage::Format_Indexed8);
  QList<QRgb> table;
  for (int i = 0; i < 256; ++i)
    table << qRgb(i, 255 - i, i / 2);
  picture.setColorTable(table);
  picture.fill(0x21);  // pattern pixel 1
  picture.setPixel(9, 0, 0x3C);
  ASSERT_TRUE(picture.save(QString::fromStdString(dir.Path("two.png"))));
  RunOk({"patterns", "import", state, dir.Path("two.png"), "--first", "$10", "--source", "main",
         "-o", dir.Path("two.gs0")});

  std::vector<uint8_t> expected = original;
  std::fill_n(expected.begin() + kMainRamOffset + 16 * 32, 64, 0x11);
  expected[kMainRamOffset + 17 * 32] = 0x1C;
  EXPECT_EQ(ReadFile(dir.Path("two.gs0")), expected);
}

TEST_F(CliRoundTrip, APictureThatDoesNotFitWritesNothing) {
  const auto refused = [&](const QImage& picture, std::vector<std::string> extra) {
    picture.save(QString::fromStdString(dir.Path("bad.png")));
    std::vector<std::string> args = {"patterns",          "import", state,
                                     dir.Path("bad.png"), "-o",     dir.Path("bad.gs0")};
    args.insert(args.end(), extra.begin(), extra.end());
    const TRunResult result = Run(args);
    EXPECT_EQ(result.Status, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("bad.gs0")));
    return result.Err;
  };
  QImage narrow(12, 8, QImage::Format_Indexed8);
  narrow.setColorTable({qRgb(0, 0, 0)});
  narrow.fill(0);
  EXPECT_THAT(refused(narrow, {"--first", "0"}), HasSubstr("12 pixels wide"));
  QImage eight(8, 16, QImage::Format_Indexed8);
  eight.setColorTable({qRgb(0, 0, 0)});
  eight.fill(0);
  EXPECT_THAT(refused(eight, {"--first", "2047"}), HasSubstr("room for 1 only"));
  QImage colours(8, 8, QImage::Format_RGB32);
  colours.fill(qRgb(1, 2, 3));
  EXPECT_THAT(refused(colours, {"--first", "0", "--line", "3"}),
              HasSubstr("The colour #010203 at x 0, y 0 is none of the colours of palette "
                        "line 3."));

  WriteText(dir.Path("text.png"), "not a picture");
  const TRunResult notPicture = Run({"patterns", "import", state, dir.Path("text.png"), "--first",
                                     "0", "-o", dir.Path("bad.gs0")});
  EXPECT_EQ(notPicture.Status, 2);
  EXPECT_THAT(notPicture.Err, HasSubstr("Cannot open file \"" + dir.Path("text.png") + "\""));

  const TRunResult noFirst =
      Run({"patterns", "import", state, dir.Path("bad.png"), "-o", dir.Path("bad.gs0")});
  EXPECT_EQ(noFirst.Status, 1);
  EXPECT_THAT(noFirst.Err, HasSubstr("--first"));
}

// The sheet command keeps its two arguments; a savestate named "import" is given as ./import.
TEST_F(CliRoundTrip, TheSheetCommandIsUnchanged) {
  RunOk({"patterns", state, dir.Path("sheet.bmp")});
  std::filesystem::copy_file(state, dir.Path("import"));
  const TRunResult result = RunTool({"patterns", dir.Path("import"), dir.Path("named.bmp")});
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_EQ(ReadFile(dir.Path("named.bmp")), ReadFile(dir.Path("sheet.bmp")));
}

TEST_F(CliRoundTrip, PalettesInEveryFormatComeBack) {
  std::vector<uint8_t> black = original;
  std::fill_n(black.begin() + kCramOffset, 128, 0);
  WriteFile(dir.Path("black.gs0"), black);
  for (const char* name : {"colours.gpl", "colours.act", "colours.pal", "gimp.txt"}) {
    std::vector<std::string> format;
    if (std::string(name) == "gimp.txt") format = {"--format", "gimp"};
    std::vector<std::string> out = {"palette", "export", state, dir.Path(name)};
    out.insert(out.end(), format.begin(), format.end());
    RunOk(out);
    std::vector<std::string> in = {"palette",      "import", dir.Path("black.gs0"),
                                   dir.Path(name), "-o",     dir.Path("coloured.gs0")};
    in.insert(in.end(), format.begin(), format.end());
    RunOk(in);
    EXPECT_EQ(ReadFile(dir.Path("coloured.gs0")), original) << name;
  }
  EXPECT_EQ(ReadText(dir.Path("gimp.txt")).substr(0, 13), "GIMP Palette\n");

  WriteText(dir.Path("broken.gpl"), "GIMP Palette\n1 2 3\nred green blue\n");
  const TRunResult broken =
      Run({"palette", "import", state, dir.Path("broken.gpl"), "-o", dir.Path("broken.gs0")});
  EXPECT_EQ(broken.Status, 2);
  EXPECT_THAT(broken.Err, HasSubstr("Line 3 of the GIMP palette"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("broken.gs0")));
}

// A Tiled map read back by Tiled's rules.
struct TTileset {
  uint32_t FirstId = 0;
  int TileWidth = 0, TileHeight = 0, Count = 0, Columns = 0;
  int Priority = -1;
  QImage Picture;
};
struct TTiledMap {
  QXmlStreamAttributes Map;
  std::vector<TTileset> Tilesets;
  int Layers = 0;
  int Width = 0, Height = 0;
  std::vector<uint32_t> Ids;
};

TTiledMap ReadTiledMap(const std::string& path) {
  QFile file(QString::fromStdString(path));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  TTiledMap map;
  EXPECT_TRUE(xml.readNextStartElement());
  EXPECT_EQ(xml.name(), QLatin1String("map"));
  map.Map = xml.attributes();
  while (xml.readNextStartElement()) {
    if (xml.name() == QLatin1String("tileset")) {
      TTileset set;
      const QXmlStreamAttributes a = xml.attributes();
      set.FirstId = a.value("firstgid").toUInt();
      set.TileWidth = a.value("tilewidth").toInt();
      set.TileHeight = a.value("tileheight").toInt();
      set.Count = a.value("tilecount").toInt();
      set.Columns = a.value("columns").toInt();
      while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("image")) {
          const QString source = xml.attributes().value("source").toString();
          set.Picture = QImage(QFileInfo(file).dir().filePath(source));
          EXPECT_EQ(set.Picture.width(), xml.attributes().value("width").toInt());
          EXPECT_EQ(set.Picture.height(), xml.attributes().value("height").toInt());
        } else if (xml.name() == QLatin1String("properties")) {
          while (xml.readNextStartElement()) {
            if (xml.attributes().value("name") == QLatin1String("priority"))
              set.Priority = xml.attributes().value("value").toInt();
            xml.skipCurrentElement();
          }
          continue;
        }
        xml.skipCurrentElement();
      }
      map.Tilesets.push_back(set);
    } else if (xml.name() == QLatin1String("layer")) {
      ++map.Layers;
      map.Width = xml.attributes().value("width").toInt();
      map.Height = xml.attributes().value("height").toInt();
      EXPECT_TRUE(xml.readNextStartElement());
      EXPECT_EQ(xml.name(), QLatin1String("data"));
      EXPECT_EQ(xml.attributes().value("encoding"), QLatin1String("csv"));
      for (const QString& id : xml.readElementText().split(',', Qt::SkipEmptyParts))
        map.Ids.push_back(id.trimmed().toUInt());
      xml.skipCurrentElement();
    } else {
      xml.skipCurrentElement();
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return map;
}

// Draws the map as Tiled does: each cell's tile from the tileset its id falls into, flipped
// by the id's two high bits.
QImage DrawTiledMap(const TTiledMap& map) {
  const int tileWidth = map.Map.value("tilewidth").toInt();
  const int tileHeight = map.Map.value("tileheight").toInt();
  QImage picture(map.Width * tileWidth, map.Height * tileHeight, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (std::size_t cell = 0; cell < map.Ids.size(); ++cell) {
    const uint32_t raw = map.Ids[cell];
    EXPECT_EQ(raw & 0x30000000u, 0u) << "no diagonal or hexagonal flip";
    const uint32_t id = raw & 0x0FFFFFFFu;
    const TTileset* set = nullptr;
    for (const TTileset& candidate : map.Tilesets)
      if (candidate.FirstId <= id && (!set || candidate.FirstId > set->FirstId)) set = &candidate;
    EXPECT_NE(set, nullptr);
    if (!set) continue;
    const int local = int(id - set->FirstId);
    EXPECT_LT(local, set->Count);
    const QImage tile = set->Picture
                            .copy((local % set->Columns) * tileWidth,
                                  (local / set->Columns) * tileHeight, tileWidth, tileHeight)
                            .mirrored(raw & 0x80000000u, raw & 0x40000000u);
    painter.drawImage(int(cell % std::size_t(map.Width)) * tileWidth,
                      int(cell / std::size_t(map.Width)) * tileHeight, tile);
  }
  return picture;
}

TEST_F(CliRoundTrip, PlaneAAsATiledMapDrawsThePlanePicture) {
  const TRunResult result = Run({"map", state, "a", dir.Path("plane-a.tmx")});
  ASSERT_EQ(result.Status, 0) << result.Err;
  EXPECT_THAT(result.Out, HasSubstr(dir.Path("plane-a.png")));
  const TTiledMap map = ReadTiledMap(dir.Path("plane-a.tmx"));
  EXPECT_EQ(map.Map.value("orientation"), QLatin1String("orthogonal"));
  EXPECT_EQ(map.Map.value("width").toInt(), 64);
  EXPECT_EQ(map.Map.value("height").toInt(), 32);
  EXPECT_EQ(map.Layers, 1);
  EXPECT_EQ(map.Width, 64);
  ASSERT_EQ(map.Ids.size(), 64u * 32u);
  ASSERT_EQ(map.Tilesets.size(), 2u);
  EXPECT_EQ(map.Tilesets[0].FirstId, 1u);
  EXPECT_EQ(map.Tilesets[0].Priority, 0);
  EXPECT_EQ(map.Tilesets[1].FirstId, 1u + 4 * 2048);
  EXPECT_EQ(map.Tilesets[1].Priority, 1);

  // The plane as the Screen page draws it: plane A alone over nothing, the whole plane
  // without scrolling, colour 0 of every line transparent.
  const std::unique_ptr<TMegaDriveVDP> vdp = Model(original);
  TIndexedBitmap screen;
  RenderScreenPicture(*vdp,
                      kRenderPlaneALo | kRenderPlaneAHi | kRenderIgnoreHScroll |
                          kRenderIgnoreVScroll | kRenderIgnoreShadowHighlight |
                          kRenderVirtualScreen,
                      screen);
  TPictureOptions clear;
  clear.TransparentColorZero = true;
  SavePicture(dir.Path("screen.png"), screen, clear);
  const QImage plane = QImage(QString::fromStdString(dir.Path("screen.png")))
                           .copy(128, 128, 512, 256)
                           .convertToFormat(QImage::Format_ARGB32);
  const QImage drawn = DrawTiledMap(map);
  ASSERT_EQ(drawn.size(), plane.size());
  int differing = 0;
  for (int y = 0; y < plane.height(); ++y) {
    for (int x = 0; x < plane.width(); ++x) {
      const QRgb a = plane.pixel(x, y), b = drawn.pixel(x, y);
      if (qAlpha(a) != qAlpha(b) || (qAlpha(a) != 0 && a != b)) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);

  // Priority, palette line, flips and pattern of every cell against the CSV's words.
  RunOk({"map", state, "a", dir.Path("plane-a.csv")});
  std::istringstream csv(ReadText(dir.Path("plane-a.csv")));
  std::vector<uint32_t> words;
  std::string line;
  int rows = 0;
  while (std::getline(csv, line)) {
    ++rows;
    std::istringstream cells(line);
    std::string cell;
    while (std::getline(cells, cell, ','))
      words.push_back(uint32_t(std::stoul(cell)));
  }
  EXPECT_EQ(rows, 32);
  ASSERT_EQ(words.size(), map.Ids.size());
  const uint32_t table = (uint32_t(original[kRegOffset + 2]) & 0x38) << 10;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::size_t at = kVramOffset + table + 2 * i;
    ASSERT_EQ(words[i], uint32_t(original[at] << 8 | original[at + 1])) << "cell " << i;
    const uint32_t id = map.Ids[i];
    const uint32_t tile = (id & 0x0FFFFFFF) - 1;
    EXPECT_EQ(tile / 8192, words[i] >> 15) << "priority of cell " << i;
    EXPECT_EQ(tile % 8192 / 2048, (words[i] >> 13) & 3) << "palette line of cell " << i;
    EXPECT_EQ(tile % 2048, words[i] & 0x7FF) << "pattern of cell " << i;
    EXPECT_EQ(bool(id & 0x80000000u), bool(words[i] & 0x0800)) << "cell " << i;
    EXPECT_EQ(bool(id & 0x40000000u), bool(words[i] & 0x1000)) << "cell " << i;
  }
}

TEST_F(CliRoundTrip, MapCommandNamesItsMistakes) {
  EXPECT_EQ(Run({"map", state, "c", dir.Path("x.tmx")}).Status, 1);
  EXPECT_THAT(Run({"map", state, "window", dir.Path("x.txt")}).Err, HasSubstr(".tmx"));
  RunOk({"map", state, "window", dir.Path("window.tmx")});
  EXPECT_EQ(ReadTiledMap(dir.Path("window.tmx")).Width, 64);  // H40
}

}  // namespace
}  // namespace vantor::clitest
