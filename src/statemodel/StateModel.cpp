#include "statemodel/StateModel.h"

#include <algorithm>
#include <cstring>
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

// Reads the model's bytes from the image at its position. Padded, bytes past the image's end
// read as zero and are noted; otherwise such a read fails with "Stream read error".
class TModelReader : public TVDPStream {
 public:
  TModelReader(SavestateImage& image, bool padded) : m_image(image), m_padded(padded) {}

  void ReadBuffer(void* dst, std::size_t count) override {
    if (!m_padded) {
      m_image.Read(dst, count);
      return;
    }
    const std::size_t position = m_image.Position();
    const std::size_t held =
        position < m_image.Size() ? std::min(count, m_image.Size() - position) : 0;
    auto* bytes = static_cast<uint8_t*>(dst);
    if (held > 0) std::memcpy(bytes, m_image.Data() + position, held);
    std::memset(bytes + held, 0, count - held);
    if (held < count) m_complete = false;
    m_image.Seek(position > SIZE_MAX - count ? SIZE_MAX : position + count);
  }
  void WriteBuffer(const void* src, std::size_t count) override { m_image.Write(src, count); }

  // The register line's value; padded, 0 for a line past the image's end.
  TFieldValue Line(const TLayout& layout, int line) {
    if (!m_padded) return ReadField(layout, m_image, kSection, LineKey(line));
    TFieldValue field = TryReadField(layout, m_image, kSection, LineKey(line));
    if (field.PastEnd) {
      m_complete = false;
      field.Ok = true;
    }
    return field;
  }

  bool Complete() const { return m_complete; }

 private:
  SavestateImage& m_image;
  bool m_padded;
  bool m_complete = true;
};

bool loadModel(const TLayout& layout, SavestateImage& image, TMegaDriveVDP& vdp, bool padded) {
  TModelReader reader(image, padded);
  int j = 0;
  for (int i = 0; i < kLineCount && j < TMegaDriveVDP::kRegisterCount; ++i) {
    const TFieldValue field = reader.Line(layout, i);
    if (!field.Ok) continue;
    vdp.SetReg(static_cast<uint8_t>(j++), static_cast<uint8_t>(field.Value));
  }
  bool bigEndian = false;
  if (seekEntry(layout, image, "CRAM", bigEndian)) vdp.LoadCRAM(reader, bigEndian);
  if (seekEntry(layout, image, "VSRAM", bigEndian)) vdp.LoadVSRAM(reader, bigEndian);
  if (seekEntry(layout, image, "RAM", bigEndian)) vdp.LoadVRAM(reader);
  return reader.Complete();
}

}  // namespace

void ImageToVDP(const TLayout& layout, SavestateImage& image, TMegaDriveVDP& vdp) {
  loadModel(layout, image, vdp, false);
}

bool ImageToVDPPadded(const TLayout& layout, SavestateImage& image, TMegaDriveVDP& vdp) {
  return loadModel(layout, image, vdp, true);
}

std::optional<uint8_t> ReadVDPRegister(const TLayout& layout, SavestateImage& image, int n) {
  for (int i = 0, j = 0; i < kLineCount && j <= n; ++i) {
    const TFieldValue field = ReadField(layout, image, kSection, LineKey(i));
    if (!field.Ok) continue;
    if (j++ == n) return static_cast<uint8_t>(field.Value);
  }
  return std::nullopt;
}

int64_t HScrollTableOffset(const TLayout& layout, int register13) {
  const TFieldSpec ram = layout.ReadFieldSpec(kSection, "RAM");
  return ram.Offset < 0 ? -1 : ram.Offset + int64_t{register13 & 0x3F} * 1024;
}

void PlaceHSRAMEntry(TLayout& layout, int register13) {
  const TFieldSpec hsram = layout.ReadFieldSpec(kSection, "HSRAM");
  const int64_t offset = HScrollTableOffset(layout, register13);
  layout.Ini().WriteString(kSection, "HSRAM",
                           layout.FormatFieldSpec(hsram.Name, offset, hsram.Size, hsram.Flags));
}

void VDPToImage(const TLayout& layout, SavestateImage& image, const TMegaDriveVDP& vdp) {
  VDPToImage(layout, image, vdp, vdpAllParts);
}

void VDPToImage(const TLayout& layout, SavestateImage& image, const TMegaDriveVDP& vdp,
                unsigned parts) {
  if (parts & vdpRegisters) {
    int j = 0;
    for (int i = 0; i < kLineCount && j < TMegaDriveVDP::kRegisterCount; ++i) {
      if (WriteField(layout, image, kSection, LineKey(i), vdp.GetReg(static_cast<uint8_t>(j)))) ++j;
    }
  }
  TImageStream stream(image);
  bool bigEndian = false;
  if ((parts & vdpColorRAM) && seekEntry(layout, image, "CRAM", bigEndian))
    vdp.SaveCRAM(stream, bigEndian);
  if ((parts & vdpVScrollRAM) && seekEntry(layout, image, "VSRAM", bigEndian))
    vdp.SaveVSRAM(stream, bigEndian);
  if ((parts & vdpVideoRAM) && seekEntry(layout, image, "RAM", bigEndian)) vdp.SaveVRAM(stream);
}

void TVDPSnapshot::Take(const TMegaDriveVDP& vdp) {
  for (std::size_t r = 0; r < m_registers.size(); ++r)
    m_registers[r] = vdp.GetReg(static_cast<uint8_t>(r));
  for (std::size_t i = 0; i < m_cram.size(); ++i)
    m_cram[i] = vdp.GetCRAMWord(static_cast<int>(i));
  for (std::size_t i = 0; i < m_vsram.size(); ++i)
    m_vsram[i] = vdp.GetVSRAMWord(static_cast<int>(i));
  std::copy_n(vdp.VRAMData(), m_vram.size(), m_vram.begin());
}

unsigned TVDPSnapshot::Changed(const TMegaDriveVDP& vdp) const {
  unsigned parts = 0;
  for (std::size_t r = 0; r < m_registers.size(); ++r)
    if (m_registers[r] != vdp.GetReg(static_cast<uint8_t>(r))) parts |= vdpRegisters;
  for (std::size_t i = 0; i < m_cram.size(); ++i)
    if (m_cram[i] != vdp.GetCRAMWord(static_cast<int>(i))) parts |= vdpColorRAM;
  for (std::size_t i = 0; i < m_vsram.size(); ++i)
    if (m_vsram[i] != vdp.GetVSRAMWord(static_cast<int>(i))) parts |= vdpVScrollRAM;
  if (std::memcmp(m_vram.data(), vdp.VRAMData(), m_vram.size()) != 0) parts |= vdpVideoRAM;
  return parts;
}

}  // namespace vantor
