// Whole pictures built from the model, shared by the desktop pages, the view window and the
// command-line tool so that all of them produce the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vdp/Bitmap.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor {

// Patterns per row of the pattern sheet.
constexpr int kPatternSheetColumns = 64;

// All patterns of a 65536-byte source, read straight through pattern after pattern (pattern k
// at column k mod 64, row k div 64), as a 512 x 256 picture of 4 bits per pixel whose
// 16-entry colour table is palette line palLine. Bytes past available (the source may be
// shorter) show colour 0; nothing past available is read.
void BuildPatternSheet(const uint8_t* source, std::size_t available, const TMegaDriveVDP& vdp,
                       int palLine, TIndexedBitmap& out);

// The same sheet with 8 bits per pixel: pixel = nibble | palLine << 4, with the 256-entry
// colour table of palette line 0.
void BuildPatternSheet8(const uint8_t* source, std::size_t available, const TMegaDriveVDP& vdp,
                        int palLine, TIndexedBitmap& out);

// Every sprite of the table in table order, perRow to a row, each drawn transparent at the
// top-left of its mkSpriteMaxWidth x mkSpriteMaxHeight cell over the background colour;
// 8 bits per pixel with the 256-entry colour table of palette line 0.
void BuildSpriteSheet(const TMegaDriveVDP& vdp, int perRow, TIndexedBitmap& out);

// Sprites per row of the view window's sprite picture: 8 for 64 sprites, else 16.
int ViewSpritesPerRow(const TMegaDriveVDP& vdp);

// Size of the composed picture for these render options: the screen, or the entire virtual
// screen (option kRenderVirtualScreen) reaching as far as the chained sprites do.
void ScreenPictureSize(const TMegaDriveVDP& vdp, uint16_t options, int32_t& width, int32_t& height);

// The composed screen as an 8-bit picture of ScreenPictureSize with the 256-entry colour
// table of palette line 0.
void RenderScreenPicture(const TMegaDriveVDP& vdp, uint16_t options, TIndexedBitmap& out);

// Rewrites the palette line bits of every pixel of an 8-bit picture: (pixel & 0x0F) | line << 4.
void SetPalLineBits(TIndexedBitmap& bitmap, int line);

}  // namespace vantor
