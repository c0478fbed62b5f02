#include "document/SavestateDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "document/Errors.h"
#include "document/FileIO.h"
#include "document/Numbers.h"

namespace vantor {
namespace {

constexpr int kIdentifierCount = 100;

// The bytes an identifier expects, or false (and a report) for a malformed one.
bool expectedContent(const TFieldSpec& spec, const std::string& key, const TMessageSink& report,
                     std::vector<uint8_t>& expected) {
  expected.clear();
  if (spec.Name.size() == static_cast<std::size_t>(spec.Size)) {
    expected.assign(spec.Name.begin(), spec.Name.end());
    return true;
  }
  const auto number = TryParseInt64(spec.Name);
  if (!number || spec.Size < 1 || spec.Size > 4) {
    if (report) report("Error in INI File: Section \"General\", Key \"" + key + "\".");
    return false;
  }
  for (int i = 0; i < spec.Size; ++i) {
    expected.push_back(static_cast<uint8_t>(static_cast<uint64_t>(*number) >> (8 * i)));
  }
  return true;
}

// Visits every usable, well-formed identifier: (offset, expected bytes).
template <typename Visit>
void forEachIdentifier(const TLayout& layout, const TMessageSink& report, Visit visit) {
  std::vector<uint8_t> expected;
  for (int i = 0; i < kIdentifierCount; ++i) {
    const std::string key = FileIdentifierKey(i);
    TFieldSpec spec;
    if (!layout.ReadFieldSpec("General", key, spec)) continue;
    if (!expectedContent(spec, key, report, expected)) continue;
    visit(static_cast<uint64_t>(spec.Offset), expected);
  }
}

class InputFile {
 public:
  explicit InputFile(const std::string& path) : m_path(path), m_file(OpenForReading(path)) {
    struct stat info {};
    if (::fstat(m_file.Get(), &info) != 0)
      throw EFileError::CannotOpen(path, SystemErrorText(errno));
    if (S_ISDIR(info.st_mode)) throw EFileError::CannotOpen(path, SystemErrorText(EISDIR));
    // A pipe or a device cannot be read at offsets: what the image can hold is read at once.
    if (!S_ISREG(info.st_mode)) {
      m_stream = ReadOpenFile(m_file.Get(), path, SavestateImage::kMaxFileBytes);
      m_file.Close();
    }
  }

  // Reads up to count bytes at offset; the number read (short at the end of the file).
  std::size_t readAt(uint64_t offset, void* dst, std::size_t count) {
    if (m_file.Get() < 0) {
      if (offset >= m_stream.size()) return 0;
      const std::size_t n = std::min<std::size_t>(count, m_stream.size() - offset);
      std::memcpy(dst, m_stream.data() + offset, n);
      return n;
    }
    std::size_t done = 0;
    while (done < count) {
      const ssize_t got = ::pread(m_file.Get(), static_cast<uint8_t*>(dst) + done, count - done,
                                  static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) throw EFileError::CannotOpen(m_path, SystemErrorText(errno));
      if (got == 0) break;
      done += static_cast<std::size_t>(got);
    }
    return done;
  }

 private:
  std::string m_path;
  TFileHandle m_file;
  std::vector<uint8_t> m_stream;  // the whole content of a pipe or device
};

}  // namespace

bool MatchFileIdentifiers(const TLayout& layout, const TByteReader& read,
                          const TMessageSink& report) {
  if (!read) return false;
  bool matches = true;
  std::vector<uint8_t> actual;
  forEachIdentifier(layout, report, [&](uint64_t offset, const std::vector<uint8_t>& expected) {
    actual.assign(expected.size(), 0);
    if (!read(offset, actual.data(), actual.size()) || actual != expected) matches = false;
  });
  return matches;
}

bool MatchFileIdentifiers(const TLayout& layout, const SavestateImage& image,
                          const TMessageSink& report) {
  const std::size_t base = image.Position();
  return MatchFileIdentifiers(
      layout,
      [&](uint64_t offset, void* dst, std::size_t count) {
        if (offset > SIZE_MAX - base || !image.Holds(base + offset, count)) return false;
        std::memcpy(dst, image.Data() + base + offset, count);
        return true;
      },
      report);
}

void StampFileIdentifiers(const TLayout& layout, SavestateImage& image,
                          const TMessageSink& report) {
  const std::size_t base = image.Position();
  forEachIdentifier(layout, report, [&](uint64_t offset, const std::vector<uint8_t>& expected) {
    try {
      if (offset > SIZE_MAX - base) throw EFileError::StreamWrite();
      image.WriteAt(base + offset, expected.data(), expected.size());
    } catch (const EFileError& error) {
      if (report) report(error.what());
    }
  });
}

int AutoDetectVSRAMEndian(TLayout& layout, const SavestateImage& image) {
  if (!layout.Ini().ReadBool("General", "AutoDetectVRAMEndian", false)) return 0;
  const TFieldSpec vsram = layout.ReadFieldSpec("VDP", "VSRAM");
  static constexpr uint8_t kHeader[8] = {0x47, 0x53, 0x54, 0x40, 0xE0, 0x00, 0x00, 0x00};
  const bool little =
      image.Size() >= 81 && std::memcmp(image.Data(), kHeader, 8) == 0 && image.Data()[80] == 5;
  const uint32_t flags = little ? 5 : 7;
  layout.Ini().WriteString("VDP", "VSRAM",
                           layout.FormatFieldSpec(vsram.Name, vsram.Offset, vsram.Size, flags));
  return little ? 1 : 2;
}

std::string VSRAMStatusText(int detection) {
  if (detection == 1) return "AutoDetect: VSRAM is little endian";
  if (detection == 2) return "AutoDetect: VSRAM is big endian";
  return {};
}

std::string TSavestateDocument::Caption() const {
  std::string caption(kApplicationTitle);
  caption += " - ";
  caption += m_fileName;
  if (m_modified) caption += '*';
  return caption;
}

void TSavestateDocument::NewBlank(const TMessageSink& report) {
  const int64_t size = std::clamp<int64_t>(m_layout->DefaultFileSize(), 0, kMaxSavestateBytes);
  m_image = SavestateImage(std::vector<uint8_t>(static_cast<std::size_t>(size), 0));
  m_image.Seek(0);
  StampFileIdentifiers(*m_layout, m_image, report);
  m_image.Seek(0);
  m_modified = false;
  m_fileName.clear();
}

TSavestateDocument::TLoadResult TSavestateDocument::Load(const std::string& path,
                                                         const TMessageSink& report) {
  TLoadResult result;
  InputFile file(path);
  const bool matches = MatchFileIdentifiers(
      *m_layout,
      [&](uint64_t offset, void* dst, std::size_t count) {
        return file.readAt(offset, dst, count) == count;
      },
      report);
  if (!matches) return result;

  std::vector<uint8_t> bytes(SavestateImage::kMaxFileBytes);
  bytes.resize(file.readAt(0, bytes.data(), bytes.size()));
  m_image = SavestateImage(std::move(bytes));
  result.Status = TLoadStatus::lsLoaded;
  result.VSRAMDetection = AutoDetectVSRAMEndian(*m_layout, m_image);
  return result;
}

void TSavestateDocument::WriteTo(const std::string& path) const {
  WriteFileSafely(path, m_image.Bytes());
}

std::span<const uint8_t> TSavestateDocument::PatternSourceData(TPatternSource source) const {
  const TFieldSpec block = source == TPatternSource::psMainRAM
                               ? m_layout->ReadFieldSpec("CPU MC68000", "RAM")
                               : m_layout->ReadFieldSpec("VDP", "RAM");
  std::size_t start = 0;
  if (block.Usable()) {
    start = static_cast<uint64_t>(block.Offset) < m_image.Size()
                ? static_cast<std::size_t>(block.Offset)
                : m_image.Size();
  }
  return {m_image.Data() + start, m_image.Size() - start};
}

}  // namespace vantor
