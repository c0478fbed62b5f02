// Colour conversions between CRAM words and display colours.
//
// CRAM word:  MMMM BBB0 GGG0 RRR0
//   M = intensity mark: 0xE highlight, 0xF shadow, anything else normal.
#pragma once

#include <cstdint>
#include <functional>

namespace vantor {

constexpr uint16_t kCRAMColorMask = 0x0EEE;
constexpr uint16_t kCRAMHighlight = 0xE000;
constexpr uint16_t kCRAMShadow = 0xF000;

// 0xFFRRGGBB; the same value serves as a colour-table entry.
uint32_t CRAMToRGB32(uint16_t word);
// 0x00BBGGRR, the colour value of the colour grid and colour dialog.
uint32_t CRAMToColorRef(uint16_t word);
// 5-6-5 with is565, else 5-5-5 with bit 15 set.
uint16_t CRAMToRGB16(uint16_t word, bool is565);
// 0x00RRGGBB to a CRAM word: the top three bits of each component.
uint16_t RGBToCRAM(uint32_t rgb);
// 0x00BBGGRR to a CRAM word. A negative value names the system colour numbered by its low byte,
// looked up through the system colour hook first.
uint16_t ColorRefToCRAM(int32_t colorRef);

// Returns 0x00BBGGRR for a system colour number. The desktop program installs one; without it
// every system colour is black.
using TSystemColorHook = std::function<uint32_t(int)>;
void SetSystemColorHook(TSystemColorHook hook);

}  // namespace vantor
