#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

// The private clipboard block:
//   bytes 0-3 "QHXE" | 4-7 version $00010001 LE | 8-11 byte count n LE | 12.. the n bytes
inline constexpr uint32_t kClipboardBlockVersion = 0x00010001;
inline constexpr size_t kClipboardBlockHeader = 12;

std::vector<uint8_t> EncodeClipboardBlock(std::span<const uint8_t> bytes);
// The payload (at most maxBytes of it), or nothing when the letters, the version or the
// count do not match the block.
std::optional<std::vector<uint8_t>> DecodeClipboardBlock(std::span<const uint8_t> block,
                                                         size_t maxBytes = SIZE_MAX);

// The 8-bit text of copied bytes: the bytes up to the first zero byte, or, as hex text,
// two digits per byte (digit order swapped with swapNibbles).
std::string ClipboardTextOf(std::span<const uint8_t> bytes, bool asHexText, bool swapNibbles,
                            bool lowerCase);
// Text up to its first zero character, at most maxBytes of it.
std::vector<uint8_t> BytesOfText(std::string_view text, size_t maxBytes = SIZE_MAX);
// Hex text: each pair of hex digits (either case) gives one byte, the first digit high
// unless swapNibbles; every other character is skipped; an odd last digit is dropped.
std::vector<uint8_t> ReadHexText(std::string_view text, bool swapNibbles,
                                 size_t maxBytes = SIZE_MAX);
// "RegEdit_HexData": a 4-byte length (LE), then that many bytes; nothing when cut short.
std::optional<std::vector<uint8_t>> DecodeRegEditHexData(std::span<const uint8_t> block,
                                                         size_t maxBytes = SIZE_MAX);
// A bitmap file of a device-independent bitmap: "BM", twelve zero bytes, then the data.
std::vector<uint8_t> BitmapFileOfDib(std::span<const uint8_t> dib);
// File names, each followed by one zero byte.
std::vector<uint8_t> FileNameList(const std::vector<std::string>& names);

// "Dump of %s.bin" filled with the file name without folder and extension, at most
// 259 characters in all.
std::string DumpFileName(std::string_view fileName);

}  // namespace vantor
