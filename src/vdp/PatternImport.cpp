#include "vdp/PatternImport.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <utility>
#include <vector>

namespace vantor {

namespace {

constexpr int kLineColors = 16;

std::string colourText(uint32_t rgb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", unsigned(rgb & 0xFFFFFF));
  return text;
}

std::string placeText(int32_t x, int32_t y) {
  return "x " + std::to_string(x) + ", y " + std::to_string(y);
}

// The entries of a palette line that have one colour: how many, and the first two.
struct TMatches {
  int Count = 0;
  int First[2] = {-1, -1};
};

// Pattern pixels of a picture, one pixel at a time; the first pixel that has none stops the
// import with its message.
class TPixelReader {
 public:
  TPixelReader(const TIndexedBitmap& picture, const TMegaDriveVDP& vdp, int palLine)
      : m_picture(picture), m_line(palLine & 3) {
    for (int i = 0; i < kLineColors; ++i) {
      m_colors[std::size_t(i)] =
          CRAMToRGB32(vdp.GetPaletteColor(uint8_t(m_line), uint8_t(i))) & 0xFFFFFF;
    }
  }

  // Indexed pictures: decides the pattern pixel of every colour-table entry. Normally that is
  // the entry's number modulo 16. But when the entries the picture uses have different
  // colours, all of them colours of the palette line, and some of them stand at another place
  // than in the line, a program has rearranged the colour table (ImageMagick does when it
  // writes a picture): then each entry is the entry of the line with its colour. False, with
  // the message, when a colour in use is in several entries of the line.
  bool Prepare(std::string& message) {
    if (m_picture.ColorCount() == 0) return true;
    std::array<bool, 256> used{};
    std::array<std::pair<int32_t, int32_t>, 256> firstAt{};
    for (int32_t y = 0; y < m_picture.Height(); ++y) {
      for (int32_t x = 0; x < m_picture.Width(); ++x) {
        const uint32_t entry = m_picture.Pixel(x, y) & 0xFF;
        if (!used[entry]) firstAt[entry] = {x, y};
        used[entry] = true;
      }
    }
    bool lineColors = true;
    bool inPlace = true;
    std::vector<uint32_t> seen;
    for (std::size_t i = 0; i < used.size(); ++i) {
      m_entryPixel[i] = uint8_t(i & 0x0F);
      if (!used[i]) continue;
      const uint32_t rgb = m_picture.Color(int(i)) & 0xFFFFFF;
      lineColors = lineColors && matches(rgb).Count > 0;
      lineColors = lineColors && std::find(seen.begin(), seen.end(), rgb) == seen.end();
      inPlace = inPlace && m_colors[i & 0x0F] == rgb;
      seen.push_back(rgb);
    }
    if (!lineColors || inPlace) return true;
    // The program may also have merged entries of one colour: a colour of several entries of
    // the line is refused even where it stands at one of them.
    for (std::size_t i = 0; i < used.size(); ++i) {
      if (!used[i]) continue;
      const uint32_t rgb = m_picture.Color(int(i)) & 0xFFFFFF;
      const TMatches found = matches(rgb);
      if (found.Count == 1) {
        m_entryPixel[i] = uint8_t(found.First[0]);
        continue;
      }
      message = unknownPixel(rgb, firstAt[i].first, firstAt[i].second, found) +
                ", and the picture's colour table is not in the order of the line, so its "
                "pattern pixel is not known.";
      return false;
    }
    return true;
  }

  std::optional<uint8_t> Pixel(int32_t x, int32_t y, std::string& message) const {
    const uint32_t value = m_picture.Pixel(x, y);
    if (m_picture.ColorCount() > 0) return m_entryPixel[value & 0xFF];
    const bool opaque = m_picture.BitsPerPixel() == 24 || (value >> 24) != 0;
    if (!opaque) return uint8_t(0);
    const uint32_t rgb = value & 0xFFFFFF;
    const TMatches found = matches(rgb);
    if (found.Count == 1) return uint8_t(found.First[0]);
    message = unknownPixel(rgb, x, y, found);
    message += found.Count == 0 ? "."
                                : ", so its pattern pixel is not known. Save the picture with "
                                  "its colour table (indexed colours) to say which.";
    return std::nullopt;
  }

 private:
  TMatches matches(uint32_t rgb) const {
    TMatches found;
    for (int i = 0; i < kLineColors; ++i) {
      if (m_colors[std::size_t(i)] != rgb) continue;
      if (found.Count < 2) found.First[found.Count] = i;
      ++found.Count;
    }
    return found;
  }

  // "The colour #RRGGBB at x X, y Y is none of the colours of palette line L" or "... is colour
  // A and colour B of palette line L".
  std::string unknownPixel(uint32_t rgb, int32_t x, int32_t y, const TMatches& found) const {
    std::string text = "The colour " + colourText(rgb) + " at " + placeText(x, y) + " is ";
    if (found.Count == 0) {
      text += "none of the colours";
    } else {
      text += "colour " + std::to_string(found.First[0]) + " and colour " +
              std::to_string(found.First[1]);
    }
    return text + " of palette line " + std::to_string(m_line);
  }

  const TIndexedBitmap& m_picture;
  int m_line;
  std::array<uint32_t, kLineColors> m_colors{};
  std::array<uint8_t, 256> m_entryPixel{};
};

bool supportedFormat(uint8_t bitsPerPixel) {
  return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 24 ||
         bitsPerPixel == 32;
}

// The refusals that need no pixel: size, place and room.
std::string checkShape(const TIndexedBitmap& picture, const TMegaDriveVDP& vdp, int first,
                       int room) {
  const int32_t cellWidth = vdp.CellWidth();
  const int32_t cellHeight = vdp.CellHeight();
  if (picture.IsEmpty()) return "The picture is empty.";
  if (!supportedFormat(picture.BitsPerPixel())) {
    return "The picture has " + std::to_string(picture.BitsPerPixel()) +
           " bits per pixel; patterns are read from indexed pictures or from 24- or 32-bit "
           "colour.";
  }
  if (picture.Width() % cellWidth != 0) {
    return "The picture is " + std::to_string(picture.Width()) +
           " pixels wide; patterns need a width that is a multiple of " +
           std::to_string(cellWidth) + ".";
  }
  if (picture.Height() % cellHeight != 0) {
    return "The picture is " + std::to_string(picture.Height()) +
           " pixels high; patterns of this screen mode need a height that is a multiple of " +
           std::to_string(cellHeight) + ".";
  }
  if (first < 0 || first >= room) {
    return "There is no pattern " + std::to_string(first) + " to start at: the patterns run from " +
           "0 to " + std::to_string(room - 1) + ".";
  }
  const int64_t cells =
      int64_t(picture.Width() / cellWidth) * int64_t(picture.Height() / cellHeight);
  if (cells > room - first) {
    return "The picture holds " + std::to_string(cells) + " patterns, but from pattern " +
           std::to_string(first) + " on there is room for " + std::to_string(room - first) +
           " only.";
  }
  return {};
}

}  // namespace

TPatternImport ImportPatterns(const TIndexedBitmap& picture, const TMegaDriveVDP& vdp, int palLine,
                              int first, std::span<uint8_t> source) {
  TPatternImport result;
  result.First = first;
  const int patternBytes = vdp.GetMetric(mkPatternBytes);
  const int room = std::min<int>(vdp.GetMetric(mkPatternCount),
                                 int(std::min<std::size_t>(source.size(), 65536) / patternBytes));
  result.Message = checkShape(picture, vdp, first, room);
  if (!result.Message.empty()) return result;

  const int32_t cellWidth = vdp.CellWidth();
  const int32_t cellHeight = vdp.CellHeight();
  const int32_t cellsWide = picture.Width() / cellWidth;
  const int cells = int(cellsWide * (picture.Height() / cellHeight));
  // All patterns are built before any byte of the source changes.
  std::vector<uint8_t> bytes(std::size_t(cells) * std::size_t(patternBytes), 0);
  TPixelReader reader(picture, vdp, palLine);
  if (!reader.Prepare(result.Message)) return result;
  for (int32_t y = 0; y < picture.Height(); ++y) {
    for (int32_t x = 0; x < picture.Width(); ++x) {
      const std::optional<uint8_t> pixel = reader.Pixel(x, y, result.Message);
      if (!pixel) return result;
      const int32_t cell = (y / cellHeight) * cellsWide + x / cellWidth;
      const int32_t inCell = (y % cellHeight) * cellWidth + x % cellWidth;
      uint8_t& byte = bytes[std::size_t(cell * patternBytes + inCell / 2)];
      byte |= (inCell & 1) ? *pixel : uint8_t(*pixel << 4);
    }
  }

  uint8_t* target = source.data() + std::size_t(first) * std::size_t(patternBytes);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    result.ChangedBytes += target[i] != bytes[i];
  std::copy(bytes.begin(), bytes.end(), target);
  result.Ok = true;
  result.Cells = cells;
  return result;
}

}  // namespace vantor
