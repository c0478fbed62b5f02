// Plane map files: a Tiled map (TMX) with its tileset picture, or CSV of name-table words.
// The Tiled scheme (tile ids, palette lines, priority) is described in vdp/PlaneMap.h.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

#include "vdp/MegaDriveVDP.h"
#include "vdp/PlaneMap.h"

namespace vantor {

enum class TMapFormat { mfTiled, mfCsv };

// ".tmx" Tiled, ".csv" CSV, in any letter case; nothing for other names.
std::optional<TMapFormat> MapFormatFromFileName(std::string_view path);

// The tileset picture beside a Tiled map: the map's path with ".png" in place of its extension
// (or added, when the map itself ends in ".png").
std::string TilesetPicturePath(const std::string& mapPath);

// The TMX document of the plane's map: an orthogonal map of the plane's cells, two tilesets
// over the tileset picture imageName (imageWidth x imageHeight pixels), low priority from
// global tile id 1 and high priority after it, and one tile layer with CSV data. Written with
// QXmlStreamWriter, in UTF-8.
QByteArray FormatTiledMap(const TMegaDriveVDP& vdp, TPlaneId plane, const QString& imageName,
                          int imageWidth, int imageHeight);

// Writes the plane's map to path in the format: CSV (FormatPlaneCsv); or the tileset picture
// (PNG, colour 0 of every palette line transparent) and then the TMX document that names it.
// Throws EFileError "Cannot create file ..." when a file cannot be written.
void SavePlaneMap(const std::string& path, const TMegaDriveVDP& vdp, TPlaneId plane,
                  TMapFormat format);

}  // namespace vantor
