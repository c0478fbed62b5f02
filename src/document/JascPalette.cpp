#include "document/JascPalette.h"

#include <algorithm>
#include <cstdio>

#include "document/Numbers.h"

namespace vantor {
namespace {

bool isBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

// The cursor over the palette text and its two reading steps.
class PalTextReader {
 public:
  explicit PalTextReader(std::string_view text) : m_text(text) {}

  // Skips characters of code 32 or less, then takes the rest of the line (up to NUL, LF or
  // CR) upper-cased. Empty only when the text is used up.
  void NextLine() {
    while (m_at < m_text.size() && isBlank(m_text[m_at]))
      ++m_at;
    const std::size_t start = m_at;
    while (m_at < m_text.size() && m_text[m_at] != '\0' && m_text[m_at] != '\n' &&
           m_text[m_at] != '\r')
      ++m_at;
    m_line.assign(m_text.substr(start, m_at - start));
    for (char& c : m_line)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    m_tokenAt = 0;
  }

  const std::string& Line() const { return m_line; }

  // The next run of characters above code 32 within the current line.
  std::string_view NextToken() {
    while (m_tokenAt < m_line.size() && isBlank(m_line[m_tokenAt]))
      ++m_tokenAt;
    const std::size_t start = m_tokenAt;
    while (m_tokenAt < m_line.size() && !isBlank(m_line[m_tokenAt]))
      ++m_tokenAt;
    return std::string_view(m_line).substr(start, m_tokenAt - start);
  }

 private:
  std::string_view m_text;
  std::size_t m_at = 0;
  std::string m_line;
  std::size_t m_tokenAt = 0;
};

int32_t integerOrZero(std::string_view text) {
  return TryParseInt32(text).value_or(0);
}

}  // namespace

std::string FormatJascPal(std::span<const TPalColor> colors) {
  const std::size_t count = colors.size() <= 16 ? 16 : 256;
  std::string text = "JASC-PAL\r\n0100\r\n";
  text += std::to_string(count);
  text += "\r\n";
  char line[48];
  for (std::size_t i = 0; i < count; ++i) {
    const TPalColor color = i < colors.size() ? colors[i] : TPalColor{};
    std::snprintf(line, sizeof line, "%d %d %d\r\n", color.R, color.G, color.B);
    text += line;
  }
  return text;
}

TJascPalReadResult ReadJascPal(std::string_view text, int maxColors) {
  TJascPalReadResult result;
  PalTextReader reader(text.substr(0, kJascPalMaxBytes));
  reader.NextLine();
  const bool typeOk = reader.Line() == "JASC-PAL";
  reader.NextLine();
  if (!typeOk || reader.Line() != "0100") return result;
  result.Ok = true;

  reader.NextLine();
  const int count = std::min(integerOrZero(reader.Line()), maxColors);
  for (int i = 0; i < count; ++i) {
    reader.NextLine();
    TPalColor color;
    color.R = integerOrZero(reader.NextToken());
    color.G = integerOrZero(reader.NextToken());
    color.B = integerOrZero(reader.NextToken());
    result.Colors.push_back(color);
  }
  return result;
}

TPalColor PalColorFromRGB(uint32_t rgb) {
  return {static_cast<int32_t>((rgb >> 16) & 255), static_cast<int32_t>((rgb >> 8) & 255),
          static_cast<int32_t>(rgb & 255)};
}

uint32_t PalColorToRGB(const TPalColor& color) {
  return static_cast<uint32_t>(color.R) * 65536u | static_cast<uint32_t>(color.G) * 256u |
         static_cast<uint32_t>(color.B);
}

}  // namespace vantor
