#include "pictureio/PlaneMapFiles.h"

#include <QXmlStreamWriter>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "document/FileIO.h"
#include "pictureio/PictureIO.h"

namespace vantor {

namespace {

// The version of the TMX format the documents follow.
constexpr const char* kTmxVersion = "1.10";

struct TTilesetSpec {
  const char* Name;
  int Priority;
};
constexpr TTilesetSpec kTilesets[] = {{"low priority", 0}, {"high priority", 1}};

std::string lowerCase(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return result;
}

void writeProperty(QXmlStreamWriter& xml, const char* name, const QString& type,
                   const QString& value) {
  xml.writeStartElement("property");
  xml.writeAttribute("name", name);
  if (!type.isEmpty()) xml.writeAttribute("type", type);
  xml.writeAttribute("value", value);
  xml.writeEndElement();
}

void writeTileset(QXmlStreamWriter& xml, const TTilesetSpec& spec, int firstId,
                  const TMegaDriveVDP& vdp, const QString& imageName, int imageWidth,
                  int imageHeight) {
  xml.writeStartElement("tileset");
  xml.writeAttribute("firstgid", QString::number(firstId));
  xml.writeAttribute("name", spec.Name);
  xml.writeAttribute("tilewidth", QString::number(vdp.CellWidth()));
  xml.writeAttribute("tileheight", QString::number(vdp.CellHeight()));
  xml.writeAttribute("tilecount",
                     QString::number(kTiledPaletteLines * vdp.GetMetric(mkPatternCount)));
  xml.writeAttribute("columns", QString::number(imageWidth / vdp.CellWidth()));
  xml.writeStartElement("properties");
  writeProperty(xml, "priority", "int", QString::number(spec.Priority));
  xml.writeEndElement();
  xml.writeStartElement("image");
  xml.writeAttribute("source", imageName);
  xml.writeAttribute("width", QString::number(imageWidth));
  xml.writeAttribute("height", QString::number(imageHeight));
  xml.writeEndElement();
  xml.writeEndElement();
}

// The layer's tiles: one line per cell row, ids separated by commas, as Tiled writes them.
QString csvTileIds(const TPlaneMap& map, int patternCount) {
  QString text = "\n";
  for (int row = 0; row < map.Height; ++row) {
    for (int column = 0; column < map.Width; ++column) {
      text += QString::number(TiledTileId(map.Word(column, row), patternCount));
      if (column + 1 < map.Width || row + 1 < map.Height) text += ',';
    }
    text += '\n';
  }
  return text;
}

}  // namespace

std::optional<TMapFormat> MapFormatFromFileName(std::string_view path) {
  const std::string lower = lowerCase(path);
  if (lower.ends_with(".tmx")) return TMapFormat::mfTiled;
  if (lower.ends_with(".csv")) return TMapFormat::mfCsv;
  return std::nullopt;
}

std::string TilesetPicturePath(const std::string& mapPath) {
  std::filesystem::path picture(mapPath);
  picture.replace_extension(".png");
  if (picture.string() == mapPath) return mapPath + ".png";
  return picture.string();
}

QByteArray FormatTiledMap(const TMegaDriveVDP& vdp, TPlaneId plane, const QString& imageName,
                          int imageWidth, int imageHeight) {
  const TPlaneMap map = ReadPlaneMap(vdp, plane);
  const int patternCount = vdp.GetMetric(mkPatternCount);
  QByteArray bytes;
  QXmlStreamWriter xml(&bytes);
  xml.setAutoFormatting(true);
  xml.setAutoFormattingIndent(1);
  xml.writeStartDocument();
  xml.writeStartElement("map");
  const std::pair<const char*, QString> attributes[] = {
      {"version", kTmxVersion},
      {"orientation", "orthogonal"},
      {"renderorder", "right-down"},
      {"width", QString::number(map.Width)},
      {"height", QString::number(map.Height)},
      {"tilewidth", QString::number(vdp.CellWidth())},
      {"tileheight", QString::number(vdp.CellHeight())},
      {"infinite", "0"},
      {"nextlayerid", "2"},
      {"nextobjectid", "1"}};
  for (const auto& [name, value] : attributes)
    xml.writeAttribute(name, value);
  xml.writeStartElement("properties");
  writeProperty(
      xml, "plane", {},
      QString::fromLatin1(PlaneCaption(plane).data(), qsizetype(PlaneCaption(plane).size())));
  writeProperty(xml, "patterns per palette line", "int", QString::number(patternCount));
  xml.writeEndElement();
  const int tilesPerSet = kTiledPaletteLines * patternCount;
  for (const TTilesetSpec& spec : kTilesets) {
    writeTileset(xml, spec, 1 + spec.Priority * tilesPerSet, vdp, imageName, imageWidth,
                 imageHeight);
  }
  xml.writeStartElement("layer");
  xml.writeAttribute("id", "1");
  xml.writeAttribute("name", QString::fromLatin1(PlaneCaption(plane).data(),
                                                 qsizetype(PlaneCaption(plane).size())));
  xml.writeAttribute("width", QString::number(map.Width));
  xml.writeAttribute("height", QString::number(map.Height));
  xml.writeStartElement("data");
  xml.writeAttribute("encoding", "csv");
  xml.writeCharacters(csvTileIds(map, patternCount));
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndElement();
  xml.writeEndDocument();
  return bytes;
}

void SavePlaneMap(const std::string& path, const TMegaDriveVDP& vdp, TPlaneId plane,
                  TMapFormat format) {
  if (format == TMapFormat::mfCsv) {
    WriteFileSafely(path, FormatPlaneCsv(ReadPlaneMap(vdp, plane)));
    return;
  }
  TIndexedBitmap tiles;
  BuildTilesetPicture(vdp, tiles);
  const std::string picturePath = TilesetPicturePath(path);
  TPictureOptions options;
  options.TransparentColorZero = true;
  // The picture first: the map never names a picture that is not there.
  SavePicture(picturePath, tiles, options);
  const QString imageName =
      QString::fromStdString(std::filesystem::path(picturePath).filename().string());
  const QByteArray document = FormatTiledMap(vdp, plane, imageName, tiles.Width(), tiles.Height());
  WriteFileSafely(path, reinterpret_cast<const uint8_t*>(document.constData()),
                  std::size_t(document.size()));
}

}  // namespace vantor
