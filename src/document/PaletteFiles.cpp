#include "document/PaletteFiles.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "document/SavestateDocument.h"

namespace vantor {

namespace {

constexpr std::string_view kGimpHeader = "GIMP Palette";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::size_t kGimpMaxBytes = 1 << 20;
constexpr std::size_t kActColors = 256;
constexpr std::size_t kActBytes = 3 * kActColors;
constexpr std::size_t kActTrailerBytes = 4;

struct TPaletteExtension {
  std::string_view Extension;  // lower case
  TPaletteFormat Format;
};
constexpr TPaletteExtension kExtensions[] = {{".pal", TPaletteFormat::pfJasc},
                                             {".psppalette", TPaletteFormat::pfJasc},
                                             {".gpl", TPaletteFormat::pfGimp},
                                             {".act", TPaletteFormat::pfAct}};

struct TPaletteName {
  std::string_view Name;
  TPaletteFormat Format;
};
constexpr TPaletteName kNames[] = {{"jasc", TPaletteFormat::pfJasc},
                                   {"gimp", TPaletteFormat::pfGimp},
                                   {"act", TPaletteFormat::pfAct}};

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string lowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return result;
}

std::string_view trimLeft(std::string_view text) {
  while (!text.empty() && isBlank(text.front()))
    text.remove_prefix(1);
  return text;
}

std::string_view trimRight(std::string_view text) {
  while (!text.empty() && isBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

std::string wrongFileType() {
  return std::string(kWrongFileType);
}

// A colour component: decimal digits only, 0..255.
std::optional<int> component(std::string_view& rest) {
  rest = trimLeft(rest);
  std::size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9')
    ++digits;
  if (digits == 0 || digits > 3) return std::nullopt;
  if (digits < rest.size() && !isBlank(rest[digits])) return std::nullopt;
  int value = 0;
  for (std::size_t i = 0; i < digits; ++i)
    value = value * 10 + (rest[i] - '0');
  rest.remove_prefix(digits);
  if (value > 255) return std::nullopt;
  return value;
}

// Three components, optionally followed by a blank and the colour's name.
std::optional<TPalColor> gimpColor(std::string_view line) {
  TPalColor color;
  for (int32_t* target : {&color.R, &color.G, &color.B}) {
    const std::optional<int> value = component(line);
    if (!value) return std::nullopt;
    *target = *value;
  }
  return color;
}

std::string badGimpLine(int number, std::string_view line) {
  constexpr std::size_t kShown = 40;
  std::string shown(trimRight(line.substr(0, kShown)));
  if (line.size() > kShown) shown += "...";
  return "Line " + std::to_string(number) +
         " of the GIMP palette is not a colour (red, green and blue from 0 to 255): \"" + shown +
         "\".";
}

// The next line of the text without its LF, which is taken off the text.
std::string_view nextLine(std::string_view& text) {
  const std::size_t end = std::min(text.find('\n'), text.size());
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(std::min(end + 1, text.size()));
  return line;
}

TPaletteReadResult readGimp(std::string_view text, int maxColors) {
  TPaletteReadResult result;
  text = text.substr(0, kGimpMaxBytes);
  if (text.starts_with(kUtf8Mark)) text.remove_prefix(kUtf8Mark.size());
  if (trimRight(nextLine(text)) != kGimpHeader) {
    result.Message = wrongFileType();
    return result;
  }
  int number = 1;
  bool colorsStarted = false;
  while (!text.empty() && int(result.Colors.size()) < maxColors) {
    const std::string_view raw = nextLine(text);
    ++number;
    const std::string_view line = trimLeft(raw);
    if (line.empty() || line.front() == '#') continue;
    if (!colorsStarted && (line.starts_with("Name:") || line.starts_with("Columns:"))) continue;
    const std::optional<TPalColor> color = gimpColor(line);
    if (!color) {
      result.Message = badGimpLine(number, raw);
      result.Colors.clear();
      return result;
    }
    colorsStarted = true;
    result.Colors.push_back(*color);
  }
  result.Ok = true;
  return result;
}

TPaletteReadResult readAct(std::string_view bytes, int maxColors) {
  TPaletteReadResult result;
  std::size_t count = kActColors;
  if (bytes.size() == kActBytes + kActTrailerBytes) {
    count = std::size_t(uint8_t(bytes[kActBytes])) << 8 | uint8_t(bytes[kActBytes + 1]);
  } else if (bytes.size() != kActBytes) {
    count = kActColors + 1;
  }
  if (count > kActColors) {
    result.Message = wrongFileType();
    return result;
  }
  count = std::min(count, std::size_t(std::max(maxColors, 0)));
  for (std::size_t i = 0; i < count; ++i) {
    result.Colors.push_back(
        {uint8_t(bytes[3 * i]), uint8_t(bytes[3 * i + 1]), uint8_t(bytes[3 * i + 2])});
  }
  result.Ok = true;
  return result;
}

uint8_t byteOf(int32_t component) {
  return uint8_t(std::clamp(component, 0, 255));
}

std::string formatGimp(std::span<const TPalColor> colors) {
  std::string text = "GIMP Palette\nName: Palavex Colour RAM\nColumns: 16\n#\n";
  char line[64];
  for (std::size_t i = 0; i < colors.size(); ++i) {
    std::snprintf(line, sizeof line, "%3d %3d %3d\tIndex %zu\n", int(byteOf(colors[i].R)),
                  int(byteOf(colors[i].G)), int(byteOf(colors[i].B)), i);
    text += line;
  }
  return text;
}

std::string formatAct(std::span<const TPalColor> colors) {
  const std::size_t count = std::min(colors.size(), kActColors);
  std::string bytes(kActBytes + kActTrailerBytes, '\0');
  for (std::size_t i = 0; i < count; ++i) {
    bytes[3 * i] = char(byteOf(colors[i].R));
    bytes[3 * i + 1] = char(byteOf(colors[i].G));
    bytes[3 * i + 2] = char(byteOf(colors[i].B));
  }
  bytes[kActBytes] = char(count >> 8);
  bytes[kActBytes + 1] = char(count & 0xFF);
  bytes[kActBytes + 2] = char(0xFF);  // no transparent colour
  bytes[kActBytes + 3] = char(0xFF);
  return bytes;
}

}  // namespace

std::optional<TPaletteFormat> PaletteFormatFromFileName(std::string_view path) {
  const std::string lower = lowerCase(path);
  for (const TPaletteExtension& item : kExtensions)
    if (lower.ends_with(item.Extension)) return item.Format;
  return std::nullopt;
}

std::optional<TPaletteFormat> PaletteFormatFromName(std::string_view name) {
  for (const TPaletteName& item : kNames)
    if (item.Name == name) return item.Format;
  return std::nullopt;
}

std::size_t PaletteReadLimit(TPaletteFormat format) {
  switch (format) {
    case TPaletteFormat::pfGimp:
      return kGimpMaxBytes;
    case TPaletteFormat::pfAct:
      // One byte more than the longest table, so that a longer file is seen to be too long.
      return kActBytes + kActTrailerBytes + 1;
    case TPaletteFormat::pfJasc:
      break;
  }
  return kJascPalMaxBytes;
}

std::string FormatPalette(TPaletteFormat format, std::span<const TPalColor> colors) {
  switch (format) {
    case TPaletteFormat::pfGimp:
      return formatGimp(colors);
    case TPaletteFormat::pfAct:
      return formatAct(colors);
    case TPaletteFormat::pfJasc:
      break;
  }
  return FormatJascPal(colors);
}

TPaletteReadResult ReadPalette(TPaletteFormat format, std::string_view bytes, int maxColors) {
  switch (format) {
    case TPaletteFormat::pfGimp:
      return readGimp(bytes, maxColors);
    case TPaletteFormat::pfAct:
      return readAct(bytes, maxColors);
    case TPaletteFormat::pfJasc:
      break;
  }
  TJascPalReadResult jasc = ReadJascPal(bytes, maxColors);
  TPaletteReadResult result;
  result.Ok = jasc.Ok;
  if (!jasc.Ok) result.Message = wrongFileType();
  result.Colors = std::move(jasc.Colors);
  return result;
}

}  // namespace vantor
