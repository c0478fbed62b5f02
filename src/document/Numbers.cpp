#include "document/Numbers.h"

namespace vantor {
namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses the integer syntax into `bits` bits (32 or 64).
std::optional<int64_t> parseInteger(std::string_view text, int bits) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;

  const uint64_t fullMask = bits == 64 ? ~uint64_t{0} : (uint64_t{1} << bits) - 1;
  // Hexadecimal may use the full width; decimal must fit the signed range.
  const uint64_t limit = hex ? fullMask : (uint64_t{1} << (bits - 1)) - (negative ? 0 : 1);
  const uint64_t radix = hex ? 16 : 10;
  uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = hexDigit(text[i]);
    if (digit < 0 || static_cast<uint64_t>(digit) >= radix) return std::nullopt;
    if (magnitude > (limit - static_cast<uint64_t>(digit)) / radix) return std::nullopt;
    magnitude = magnitude * radix + static_cast<uint64_t>(digit);
  }
  uint64_t value = negative ? uint64_t{0} - magnitude : magnitude;
  value &= fullMask;
  if (bits == 32) return static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(value)));
  return static_cast<int64_t>(value);
}

}  // namespace

std::string_view TrimText(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= 32)
    ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
    --last;
  return text.substr(first, last - first);
}

std::optional<int64_t> TryParseInt64(std::string_view text) {
  return parseInteger(text, 64);
}

std::optional<int32_t> TryParseInt32(std::string_view text) {
  const auto value = parseInteger(text, 32);
  if (!value) return std::nullopt;
  return static_cast<int32_t>(*value);
}

std::optional<int64_t> TryParseBinary(std::string_view text) {
  text = TrimText(text);
  if (!text.empty() && text.front() == '%') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c != '0' && c != '1') return std::nullopt;
    value = (value << 1) | static_cast<uint64_t>(c - '0');
  }
  return static_cast<int64_t>(value);
}

int64_t ParseBinaryDef(std::string_view text, int64_t defaultValue) {
  return TryParseBinary(text).value_or(defaultValue);
}

int64_t SwapBytes(int n, int64_t value) {
  if (n < 2 || n > 8) return value;
  const uint64_t v = static_cast<uint64_t>(value);
  const uint64_t keep = n == 8 ? 0 : v & ~((uint64_t{1} << (8 * n)) - 1);
  uint64_t swapped = 0;
  for (int i = 0; i < n; ++i)
    swapped |= ((v >> (8 * i)) & 0xFF) << (8 * (n - 1 - i));
  return static_cast<int64_t>(keep | swapped);
}

int64_t SignExtend(int bits, int64_t value) {
  if (bits <= 0 || bits >= 64) return value;
  const uint64_t v = static_cast<uint64_t>(value);
  const uint64_t low = (uint64_t{1} << bits) - 1;
  const bool negative = (v >> (bits - 1)) & 1;
  return static_cast<int64_t>(negative ? (v | ~low) : (v & low));
}

int64_t SetBitRange(int first, int last, int64_t value) {
  uint64_t v = static_cast<uint64_t>(value);
  for (int bit = first < 0 ? 0 : first; bit <= last && bit < 64; ++bit)
    v |= uint64_t{1} << bit;
  return static_cast<int64_t>(v);
}

std::string FormatBinary(int minDigits, int64_t value) {
  const uint64_t v = static_cast<uint64_t>(value);
  int highest = 1;
  for (int bit = 63; bit >= 0; --bit) {
    if ((v >> bit) & 1) {
      highest = bit + 1;
      break;
    }
  }
  int digits = minDigits > highest ? minDigits : highest;
  if (digits > 64) digits = 64;
  std::string text(static_cast<std::size_t>(digits), '0');
  for (int i = 0; i < digits; ++i) {
    if ((v >> i) & 1) text[static_cast<std::size_t>(digits - 1 - i)] = '1';
  }
  return text;
}

std::string FormatHex(int64_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  uint64_t v = static_cast<uint64_t>(value);
  std::string text;
  do {
    text.insert(text.begin(), kDigits[v & 15]);
    v >>= 4;
  } while (v != 0);
  if (static_cast<int>(text.size()) < digits) {
    text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  }
  return text;
}

}  // namespace vantor
