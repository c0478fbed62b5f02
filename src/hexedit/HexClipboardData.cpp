#include "hexedit/HexClipboardData.h"

#include <algorithm>

namespace vantor {
namespace {

constexpr char kDigitsUpper[] = "0123456789ABCDEF";
constexpr char kDigitsLower[] = "0123456789abcdef";
constexpr size_t kMaxDumpName = 259;

void PutLe32(std::vector<uint8_t>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

uint32_t GetLe32(const uint8_t* in) {
  return uint32_t{in[0]} | uint32_t{in[1]} << 8 | uint32_t{in[2]} << 16 | uint32_t{in[3]} << 24;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::vector<uint8_t> EncodeClipboardBlock(std::span<const uint8_t> bytes) {
  std::vector<uint8_t> block{'Q', 'H', 'X', 'E'};
  block.reserve(kClipboardBlockHeader + bytes.size());
  PutLe32(block, kClipboardBlockVersion);
  PutLe32(block, static_cast<uint32_t>(bytes.size()));
  block.insert(block.end(), bytes.begin(), bytes.end());
  return block;
}

std::optional<std::vector<uint8_t>> DecodeClipboardBlock(std::span<const uint8_t> block,
                                                         size_t maxBytes) {
  if (block.size() < kClipboardBlockHeader) return std::nullopt;
  if (!std::equal(block.begin(), block.begin() + 4, "QHXE")) return std::nullopt;
  if (GetLe32(block.data() + 4) != kClipboardBlockVersion) return std::nullopt;
  const size_t count = GetLe32(block.data() + 8);
  if (count > block.size() - kClipboardBlockHeader) return std::nullopt;
  const auto payload = block.subspan(kClipboardBlockHeader, std::min(count, maxBytes));
  return std::vector<uint8_t>(payload.begin(), payload.end());
}

std::string ClipboardTextOf(std::span<const uint8_t> bytes, bool asHexText, bool swapNibbles,
                            bool lowerCase) {
  std::string text;
  if (!asHexText) {
    const auto zero = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    text.assign(bytes.begin(), zero);
    return text;
  }
  const char* digits = lowerCase ? kDigitsLower : kDigitsUpper;
  text.reserve(2 * bytes.size());
  for (uint8_t byte : bytes) {
    const char high = digits[byte >> 4];
    const char low = digits[byte & 15];
    text.push_back(swapNibbles ? low : high);
    text.push_back(swapNibbles ? high : low);
  }
  return text;
}

std::vector<uint8_t> BytesOfText(std::string_view text, size_t maxBytes) {
  const size_t zero = std::min(text.find('\0'), text.size());
  const std::string_view part = text.substr(0, std::min(zero, maxBytes));
  return std::vector<uint8_t>(part.begin(), part.end());
}

std::vector<uint8_t> ReadHexText(std::string_view text, bool swapNibbles, size_t maxBytes) {
  std::vector<uint8_t> bytes;
  int pending = -1;
  for (char c : text) {
    if (bytes.size() >= maxBytes) break;
    const int digit = HexDigitValue(c);
    if (digit < 0) continue;
    if (pending < 0) {
      pending = digit;
      continue;
    }
    bytes.push_back(
        static_cast<uint8_t>(swapNibbles ? (digit << 4 | pending) : (pending << 4 | digit)));
    pending = -1;
  }
  return bytes;
}

std::optional<std::vector<uint8_t>> DecodeRegEditHexData(std::span<const uint8_t> block,
                                                         size_t maxBytes) {
  if (block.size() < 4) return std::nullopt;
  const size_t count = GetLe32(block.data());
  if (count > block.size() - 4) return std::nullopt;
  const auto payload = block.subspan(4, std::min(count, maxBytes));
  return std::vector<uint8_t>(payload.begin(), payload.end());
}

std::vector<uint8_t> BitmapFileOfDib(std::span<const uint8_t> dib) {
  std::vector<uint8_t> file(14 + dib.size(), 0);
  file[0] = 'B';
  file[1] = 'M';
  std::copy(dib.begin(), dib.end(), file.begin() + 14);
  return file;
}

std::vector<uint8_t> FileNameList(const std::vector<std::string>& names) {
  std::vector<uint8_t> list;
  for (const std::string& name : names) {
    list.insert(list.end(), name.begin(), name.end());
    list.push_back(0);
  }
  return list;
}

std::string DumpFileName(std::string_view fileName) {
  const size_t slash = fileName.find_last_of("/\\");
  if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
  const size_t dot = fileName.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0) fileName = fileName.substr(0, dot);
  std::string name = "Dump of " + std::string(fileName);
  name.resize(std::min(name.size(), kMaxDumpName - 4));
  return name + ".bin";
}

}  // namespace vantor
