// Moving the VDP state between the savestate image and the VDP model, by the layout's rules.
// Shared by the command-line tool and the desktop program, so that both read a savestate the
// same way.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

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

// Where in the image the horizontal scroll table that VDP register 13 names inside Video RAM
// lies: [VDP] RAM's offset + (register13 AND $3F) x 1024, or -1 when RAM has no offset.
int64_t HScrollTableOffset(const TLayout& layout, int register13);

// Rewrites the [VDP] HSRAM entry in the layout store for that table (offset as above, -1 not
// usable); name, size and flags kept.
void PlaceHSRAMEntry(TLayout& layout, int register13);

// The reverse: registers into the first 24 usable [VDP] lines, then CRAM, VSRAM and VRAM into
// their usable entries with the same byte order rule.
void VDPToImage(const TLayout& layout, SavestateImage& image, const TMegaDriveVDP& vdp);

// The parts of the VDP state a savestate holds, as bits.
enum TVDPParts : unsigned {
  vdpRegisters = 1,
  vdpColorRAM = 2,
  vdpVScrollRAM = 4,
  vdpVideoRAM = 8,
  vdpAllParts = 15,
};

// ImageToVDP for a savestate that may be shorter than its layout: a register or memory lying
// past the image's end reads as zero there instead of failing. False when anything did.
bool ImageToVDPPadded(const TLayout& layout, SavestateImage& image, TMegaDriveVDP& vdp);

// VDPToImage of the given parts (TVDPParts bits) only.
void VDPToImage(const TLayout& layout, SavestateImage& image, const TMegaDriveVDP& vdp,
                unsigned parts);

// The VDP state as it was when the model and the image last held the same; the parts in which
// the model differs from it hold edits the image does not have.
class TVDPSnapshot {
 public:
  void Take(const TMegaDriveVDP& vdp);
  // TVDPParts bits of the parts that differ.
  unsigned Changed(const TMegaDriveVDP& vdp) const;

 private:
  std::array<uint8_t, TMegaDriveVDP::kRegisterCount> m_registers{};
  std::array<uint16_t, TMegaDriveVDP::kCramEntries> m_cram{};
  std::array<uint16_t, TMegaDriveVDP::kVsramEntries> m_vsram{};
  std::vector<uint8_t> m_vram = std::vector<uint8_t>(TMegaDriveVDP::kVramBytes);
};

}  // namespace vantor
