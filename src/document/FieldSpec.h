// Field entries of the layout file: "Name|File Offset|Size in Bytes|Flags".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

// The most bytes a savestate holds (a longer file is cut to its first 1 MiB): no field or block
// of the layout can be larger.
inline constexpr int64_t kMaxSavestateBytes = 1048576;

constexpr uint32_t ffValid = 1;      // the flag word is valid
constexpr uint32_t ffBigEndian = 2;  // most significant byte first
constexpr uint32_t ffSigned = 4;     // two's-complement signed

struct TFieldSpec {
  std::string Name;
  int64_t Offset = -1;
  int32_t Size = 0;
  uint32_t Flags = 0;

  // A size no savestate can hold makes the entry as unusable as a missing one: nothing ever
  // allocates or copies it.
  bool Usable() const { return Offset >= 0 && Size > 0 && Size <= kMaxSavestateBytes; }
};

// True when bit 0 and every bit of mask are set.
constexpr bool HasFlag(uint32_t flags, uint32_t mask) {
  return (flags & ffValid) != 0 && (flags & mask) == mask;
}

// Never fails: pieces that are missing or do not parse take their defaults.
TFieldSpec ParseFieldSpec(std::string_view text, std::string_view sepChar);
// Name, sep, "$" offset in upper-case hex, sep, size in decimal; with bit 0 of flags set also
// sep, "%" and the flags in binary.
std::string FormatFieldSpec(std::string_view name, int64_t offset, int32_t size, uint32_t flags,
                            std::string_view sepChar);

}  // namespace vantor
