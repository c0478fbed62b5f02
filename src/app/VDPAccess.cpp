#include "app/VDPAccess.h"

#include "document/FieldValues.h"
#include "document/Layout.h"
#include "document/SavestateImage.h"
#if VANTOR_HAVE_VDP
#include "vdp/VDPStream.h"
#endif

namespace vantor {
namespace {

constexpr int kLineKeys = 1000;

#if VANTOR_HAVE_VDP
// The image seen by the model as a stream at the image's current position.
class TImageStream : public TVDPStream {
 public:
  explicit TImageStream(SavestateImage& image) : m_image(image) {}
  void ReadBuffer(void* dst, std::size_t count) override { m_image.Read(dst, count); }
  void WriteBuffer(const void* src, std::size_t count) override { m_image.Write(src, count); }

 private:
  SavestateImage& m_image;
};

// Positions the image at the usable entry's offset; false when the entry is not usable.
bool seekEntry(const TLayout& layout, SavestateImage& image, const char* key, bool& swap) {
  TFieldSpec spec;
  if (!layout.ReadFieldSpec("VDP", key, spec)) return false;
  image.Seek(std::size_t(spec.Offset));
  swap = HasFlag(spec.Flags, ffBigEndian);
  return true;
}
#endif

}  // namespace

std::unique_ptr<TMegaDriveVDP> NewVDPModel() {
  return std::make_unique<TMegaDriveVDP>();
}

int VDPRegister(const TMegaDriveVDP& vdp, int index) {
  return vdp.GetReg(uint8_t(index));
}

void LoadModelFromImage(TMegaDriveVDP& vdp, const TLayout& layout, SavestateImage& image) {
  int j = 0;
  for (int i = 0; i < kLineKeys && j < TMegaDriveVDP::kRegisterCount; ++i) {
    const TFieldValue field = ReadField(layout, image, "VDP", LineKey(i));
    if (field.Ok) vdp.SetReg(uint8_t(j++), uint8_t(field.Value));
  }
#if VANTOR_HAVE_VDP
  TImageStream stream(image);
  bool swap = false;
  if (seekEntry(layout, image, "CRAM", swap)) vdp.LoadCRAM(stream, swap);
  if (seekEntry(layout, image, "VSRAM", swap)) vdp.LoadVSRAM(stream, swap);
  if (seekEntry(layout, image, "RAM", swap)) vdp.LoadVRAM(stream);
#endif
}

void StoreModelToImage(const TMegaDriveVDP& vdp, const TLayout& layout, SavestateImage& image) {
  int j = 0;
  for (int i = 0; i < kLineKeys && j < TMegaDriveVDP::kRegisterCount; ++i) {
    if (WriteField(layout, image, "VDP", LineKey(i), vdp.GetReg(uint8_t(j)))) ++j;
  }
#if VANTOR_HAVE_VDP
  TImageStream stream(image);
  bool swap = false;
  if (seekEntry(layout, image, "CRAM", swap)) vdp.SaveCRAM(stream, swap);
  if (seekEntry(layout, image, "VSRAM", swap)) vdp.SaveVSRAM(stream, swap);
  if (seekEntry(layout, image, "RAM", swap)) vdp.SaveVRAM(stream);
#endif
}

}  // namespace vantor
