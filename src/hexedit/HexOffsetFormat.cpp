#include "hexedit/HexOffsetFormat.h"

#include <algorithm>
#include <cstdio>

namespace vantor {
namespace {

constexpr char kUpperDigits[] = "0123456789ABCDEF";
constexpr char kLowerDigits[] = "0123456789abcdef";

std::string MissingChar(std::string_view what) {
  return "Missing char in offset format: " + std::string(what);
}

std::string Printf(const char* pattern, long value) {
  char text[96];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

// A hexadecimal number of the format; error set for a character outside the radix.
std::optional<int> HexNumber(std::string_view token, std::string& error) {
  long value = 0;
  for (char c : token) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (digit < 0) {
      error = "Invalid character " + std::string(1, c) + ", cannot convert using radix 10h";
      return std::nullopt;
    }
    value = value * 16 + digit;
    if (value > 0xFFFFFF) value = 0xFFFFFF;  // far beyond every meaningful value
  }
  return static_cast<int>(value);
}

int DigitCount(uint64_t number, int radix) {
  int digits = 1;
  while (number >= static_cast<uint64_t>(radix)) {
    number /= static_cast<uint64_t>(radix);
    ++digits;
  }
  return digits;
}

bool IsUnitValue(int bytes) {
  return bytes == 1 || bytes == 2 || bytes == 4 || bytes == 8;
}

}  // namespace

OffsetFormatParse ParseOffsetFormat(std::string_view text) {
  OffsetFormatParse result;
  HexOffsetFormat format;
  if (text.empty()) {
    result.format = format;
    return result;
  }
  format.none = false;
  const size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    result.error = MissingChar(":");
    return result;
  }
  std::string_view head = text.substr(0, colon);
  const size_t bar = text.find('|', colon + 1);
  if (bar == std::string_view::npos) {
    result.error = MissingChar("|");
    return result;
  }
  format.prefix = std::string(text.substr(colon + 1, bar - colon - 1));
  format.suffix = std::string(text.substr(bar + 1));

  if (const size_t percent = head.find('%'); percent != std::string_view::npos) {
    const std::string_view unit = head.substr(0, percent);
    head.remove_prefix(percent + 1);
    if (unit == "R" || unit == "r") {
      format.unit = TOffsetUnit::ouRow;
    } else if (unit == "C" || unit == "c") {
      format.unit = TOffsetUnit::ouColumn;
    } else if (!unit.empty()) {
      const auto bytes = HexNumber(unit, result.error);
      if (!bytes) return result;
      if (!IsUnitValue(*bytes)) {
        result.error = Printf("Invalid bytes per unit value %ld, allowed: 1,2,4,8", *bytes);
        return result;
      }
      format.unit = TOffsetUnit::ouFixed;
      format.unitBytes = *bytes;
    }
  }
  if (const size_t bang = head.find('!'); bang != std::string_view::npos) {
    const std::string_view digits = head.substr(0, bang);
    head.remove_prefix(bang + 1);
    if (digits == "-") {
      format.autoDigits = true;
    } else if (!digits.empty()) {
      const auto count = HexNumber(digits, result.error);
      if (!count) return result;
      format.minDigits = std::max(1, std::min(*count, 64));
    }
  }
  if (head.empty()) {
    result.error = MissingChar("number radix");
    return result;
  }
  const auto radix = HexNumber(head, result.error);
  if (!radix) return result;
  if (*radix < 2 || *radix > 16) {
    result.error = Printf("Invalid radix in offset format (%lxh), allowed: 02h..10h", *radix);
    return result;
  }
  format.radix = *radix;
  result.format = format;
  return result;
}

int OffsetUnitBytes(const HexOffsetFormat& format, int bytesPerRow, int bytesPerColumn,
                    int rulerUnit) {
  int bytes = rulerUnit;
  if (format.unit == TOffsetUnit::ouRow) bytes = bytesPerRow;
  if (format.unit == TOffsetUnit::ouColumn) bytes = bytesPerColumn;
  if (format.unit == TOffsetUnit::ouFixed) bytes = format.unitBytes;
  return IsUnitValue(bytes) ? bytes : 0;
}

std::string OffsetUnitError(const HexOffsetFormat& format, int bytesPerRow, int bytesPerColumn,
                            int rulerUnit) {
  if (format.none || OffsetUnitBytes(format, bytesPerRow, bytesPerColumn, rulerUnit) != 0) {
    return {};
  }
  int bytes = rulerUnit;
  if (format.unit == TOffsetUnit::ouRow) bytes = bytesPerRow;
  if (format.unit == TOffsetUnit::ouColumn) bytes = bytesPerColumn;
  return Printf("Invalid bytes per unit value %ld, allowed: 1,2,4,8", bytes);
}

std::string FormatOffset(const HexOffsetFormat& format, int64_t offset, int unitBytes,
                         int64_t lastRowOffset, bool lowerCase) {
  if (format.none) return {};
  if (unitBytes <= 0) unitBytes = 1;
  const auto number = static_cast<uint64_t>(offset < 0 ? 0 : offset) / unitBytes;
  int digits = format.minDigits;
  if (format.autoDigits) {
    const auto last = static_cast<uint64_t>(lastRowOffset < 0 ? 0 : lastRowOffset) / unitBytes;
    digits = DigitCount(last, format.radix);
  }
  digits = std::max(digits, DigitCount(number, format.radix));
  std::string text(static_cast<size_t>(digits), '0');
  const char* table = lowerCase ? kLowerDigits : kUpperDigits;
  uint64_t rest = number;
  for (int i = digits - 1; i >= 0 && rest > 0; --i) {
    text[static_cast<size_t>(i)] = table[rest % static_cast<uint64_t>(format.radix)];
    rest /= static_cast<uint64_t>(format.radix);
  }
  return format.prefix + text + format.suffix;
}

std::string RulerHexText(int bytesPerRow, int rulerUnit) {
  std::string text(static_cast<size_t>(2 * bytesPerRow), ' ');
  if (rulerUnit <= 0) return text;
  const int digits = 2 * rulerUnit;
  for (int unit = 0; unit < bytesPerRow / rulerUnit; ++unit) {
    int rest = unit;
    for (int i = digits - 1; i >= 0; --i) {
      text[static_cast<size_t>(unit * digits + i)] = kUpperDigits[rest & 15];
      rest >>= 4;
    }
  }
  return text;
}

std::string RulerCharText(int bytesPerRow, int rulerUnit) {
  std::string text(static_cast<size_t>(bytesPerRow), ' ');
  if (rulerUnit <= 0) return text;
  for (int unit = 0; unit < bytesPerRow / rulerUnit; ++unit) {
    text[static_cast<size_t>(unit * rulerUnit + rulerUnit - 1)] = kUpperDigits[unit & 15];
  }
  return text;
}

}  // namespace vantor
