// Number syntax of the layout file and the register grids, and bit helpers of field values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// Blanks and control characters (codes 0..32) removed at both ends.
std::string_view TrimText(std::string_view text);

// The integer syntax: leading blanks skipped, optional "+" or "-", then "$", "x", "X", "0x" or
// "0X" and hexadecimal digits, or decimal digits; nothing may follow. Decimal must fit the
// width as a signed number; hexadecimal may use the full width ($FFFFFFFF as 32 bits is -1).
std::optional<int64_t> TryParseInt64(std::string_view text);
std::optional<int32_t> TryParseInt32(std::string_view text);

// The binary syntax: trimmed, one leading "%" removed, then only "0"/"1", most significant
// first. No overflow check: digits beyond 64 push the oldest out.
std::optional<int64_t> TryParseBinary(std::string_view text);
int64_t ParseBinaryDef(std::string_view text, int64_t defaultValue);

// Order of the lowest n bytes reversed for n = 2..8; other n leave the value unchanged.
int64_t SwapBytes(int n, int64_t value);
// The low `bits` bits read as a two's-complement number (bits 1..64; others: unchanged).
int64_t SignExtend(int bits, int64_t value);
// Sets bits first..last (inclusive) of value.
int64_t SetBitRange(int first, int last, int64_t value);
// Binary digits, bit 63 first, cut to max(minDigits, highest set bit + 1) digits (at most 64).
std::string FormatBinary(int minDigits, int64_t value);

// Upper-case hexadecimal with at least `digits` digits (negative values as 64-bit two's
// complement), without prefix.
std::string FormatHex(int64_t value, int digits);

}  // namespace vantor
