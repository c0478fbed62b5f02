#pragma once

#include <cstdint>
#include <optional>

namespace vantor {

// The 8-bit code page of the character field and of 8-bit text (Windows-1252): bytes
// $80..$9F carry the typographic characters of that page, the rest match Latin-1.
char32_t CharOfByte(uint8_t byte);
// The byte of a character, or nothing when the code page has no such character.
std::optional<uint8_t> ByteOfChar(char32_t ch);
// False for control codes and for the five unassigned bytes, which show the mask character.
bool IsPrintableByte(uint8_t byte);

}  // namespace vantor
