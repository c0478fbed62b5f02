#include "cli/StateModel.h"

#include <string>

#include "document/FieldValues.h"

namespace vantor {
namespace {

constexpr std::string_view kSection = "VDP";
constexpr int kLineCount = 1000;

// Positions the image at a usable entry's offset; false (and no move) when it is unusable.
bool seekEntry(const TLayout& layout, SavestateImage& image, std::string_view key,
               bool& bigEndian) {
  TFieldSpec spec;
  if (!layout.ReadFieldSpec(kSection, key, spec)) return false;
  image.Seek(static_cast<std::size_t>(spec.Offset));
  bigEndian = HasFlag(spec.Flags, ffBigEndian);
  return true;
}

}  // namespace

void ImageToVDP(const TLayout& layout, SavestateImage& image, TMegaDriveVDP& vdp) {
  int j = 0;
  for (int i = 0; i < kLineCount && j < TMegaDriveVDP::kRegisterCount; ++i) {
    const TFieldValue field = ReadField(layout, image, kSection, LineKey(i));
    if (!field.Ok) continue;
    vdp.SetReg(static_cast<uint8_t>(j++), static_cast<uint8_t>(field.Value));
  }
  TImageStream stream(image);
  bool bigEndian = false;
  if (seekEntry(layout, image, "CRAM", bigEndian)) vdp.LoadCRAM(stream, bigEndian);
  if (seekEntry(layout, image, "VSRAM", bigEndian)) vdp.LoadVSRAM(stream, bigEndian);
  if (seekEntry(layout, image, "RAM", bigEndian)) vdp.LoadVRAM(stream);
}

std::optional<uint8_t> ReadVDPRegister(const TLayout& layout, SavestateImage& image, int n) {
  for (int i = 0, j = 0; i < kLineCount && j <= n; ++i) {
    const TFieldValue field = ReadField(layout, image, kSection, LineKey(i));
    if (!field.Ok) continue;
    if (j++ == n) return static_cast<uint8_t>(field.Value);
  }
  return std::nullopt;
}

void PlaceHSRAMEntry(TLayout& layout, int register13) {
  const TFieldSpec hsram = layout.ReadFieldSpec(kSection, "HSRAM");
  const TFieldSpec ram = layout.ReadFieldSpec(kSection, "RAM");
  const int64_t offset = ram.Offset < 0 ? -1 : ram.Offset + int64_t{register13 & 0x3F} * 1024;
  layout.Ini().WriteString(kSection, "HSRAM",
                           layout.FormatFieldSpec(hsram.Name, offset, hsram.Size, hsram.Flags));
}

void VDPToImage(const TLayout& layout, SavestateImage& image, const TMegaDriveVDP& vdp) {
  int j = 0;
  for (int i = 0; i < kLineCount && j < TMegaDriveVDP::kRegisterCount; ++i) {
    if (WriteField(layout, image, kSection, LineKey(i), vdp.GetReg(static_cast<uint8_t>(j)))) ++j;
  }
  TImageStream stream(image);
  bool bigEndian = false;
  if (seekEntry(layout, image, "CRAM", bigEndian)) vdp.SaveCRAM(stream, bigEndian);
  if (seekEntry(layout, image, "VSRAM", bigEndian)) vdp.SaveVSRAM(stream, bigEndian);
  if (seekEntry(layout, image, "RAM", bigEndian)) vdp.SaveVRAM(stream);
}

}  // namespace vantor
