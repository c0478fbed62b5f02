// Moving the VDP model's state between the model and the savestate image.
#pragma once

#include <cstdint>
#include <memory>

#if __has_include("vdp/MegaDriveVDP.h")
#include "vdp/MegaDriveVDP.h"
#define VANTOR_HAVE_VDP 1
#else
namespace vantor {
class TMegaDriveVDP {
 public:
  static constexpr int kRegisterCount = 24;
  uint8_t GetReg(uint8_t index) const { return m_regs[index % kRegisterCount]; }
  void SetReg(uint8_t index, uint8_t value) { m_regs[index % kRegisterCount] = value; }

 private:
  uint8_t m_regs[kRegisterCount] = {};
};
}  // namespace vantor
#define VANTOR_HAVE_VDP 0
#endif

namespace vantor {

class TLayout;
class SavestateImage;

std::unique_ptr<TMegaDriveVDP> NewVDPModel();
int VDPRegister(const TMegaDriveVDP& vdp, int index);

// Registers from the first 24 usable [VDP] LineNNN entries; CRAM and VSRAM (bytes of each
// word swapped when the entry is big endian) and Video RAM from their entries, each only when
// usable. A read past the image's end throws "Stream read error".
void LoadModelFromImage(TMegaDriveVDP& vdp, const TLayout& layout, SavestateImage& image);
// The reverse: the model's registers and memories written into the image.
void StoreModelToImage(const TMegaDriveVDP& vdp, const TLayout& layout, SavestateImage& image);

}  // namespace vantor
