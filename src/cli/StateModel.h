// Moving the VDP state between the savestate image and the VDP model, by the layout's rules.
// Shared by the command-line tool and the desktop program, so that both read a savestate the
// same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "document/Layout.h"
#include "document/SavestateImage.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPStream.h"

namespace vantor {

// The image as a stream of the VDP model, from and at the image's current position. Reads
// past the end throw EFileError "Stream read error"; writes past the end make the image grow.
class TImageStream : public TVDPStream {
 public:
  explicit TImageStream(SavestateImage& image) : m_image(image) {}
  void ReadBuffer(void* dst, std::size_t count) override { m_image.Read(dst, count); }
  void WriteBuffer(const void* src, std::size_t count) override { m_image.Write(src, count); }

 private:
  SavestateImage& m_image;
};

// Loads the model from the image: registers 0-23 from the low bytes of the first 24 usable
// [VDP] LineNNN fields in line order; 64 CRAM words and 40 VSRAM words from their entries'
// offsets, each word byte-swapped when its entry has ffBigEndian; 65536 VRAM bytes unchanged.
// Each memory only when its entry is usable; the entries' sizes play no part. A field past
// the image's end stops the load there with EFileError "Stream read error".
void ImageToVDP(const TLayout& layout, SavestateImage& image, TMegaDriveVDP& vdp);

// VDP register n (0-23) as ImageToVDP loads it: the low byte of the (n + 1)-th usable [VDP]
// line; nothing when the layout has fewer usable lines. A line past the image's end throws
// EFileError "Stream read error".
std::optional<uint8_t> ReadVDPRegister(const TLayout& layout, SavestateImage& image, int n);

// Rewrites the [VDP] HSRAM entry in the layout store for the horizontal scroll table that VDP
// register 13 names inside Video RAM: offset = [VDP] RAM's offset + (register13 AND $3F) x 1024
// (-1, not usable, when RAM has none); name, size and flags kept.
void PlaceHSRAMEntry(TLayout& layout, int register13);

// The reverse: registers into the first 24 usable [VDP] lines, then CRAM, VSRAM and VRAM into
// their usable entries with the same byte order rule.
void VDPToImage(const TLayout& layout, SavestateImage& image, const TMegaDriveVDP& vdp);

}  // namespace vantor
