#include "document/SavestateDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
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

// The number NN of a key "FileIdentifierNN" (any letter case, two digits), or -1.
int identifierNumber(std::string_view key) {
  constexpr std::string_view kPrefix = "FileIdentifier";
  if (key.size() != kPrefix.size() + 2 ||
      !LayoutIni::SameName(key.substr(0, kPrefix.size()), kPrefix))
    return -1;
  const char tens = key[kPrefix.size()], ones = key[kPrefix.size() + 1];
  if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return -1;
  return (tens - '0') * 10 + (ones - '0');
}

// Visits every usable, well-formed identifier in number order: (offset, expected bytes). The
// [General] entries are looked through once rather than asked for all hundred numbers.
template <typename Visit>
void forEachIdentifier(const TLayout& layout, const TMessageSink& report, Visit visit) {
  std::array<std::string_view, kIdentifierCount> values;
  std::array<bool, kIdentifierCount> present{};
  layout.Ini().ForEachEntry("General", [&](std::string_view key, std::string_view value) {
    const int n = identifierNumber(key);
    if (n < 0 || present[std::size_t(n)]) return;  // the first of a key counts
    present[std::size_t(n)] = true;
    values[std::size_t(n)] = value;
  });
  std::vector<uint8_t> expected;
  for (int i = 0; i < kIdentifierCount; ++i) {
    if (!present[std::size_t(i)]) continue;
    const TFieldSpec spec = layout.ParseFieldSpec(values[std::size_t(i)]);
    if (!spec.Usable()) continue;
    if (!expectedContent(spec, FileIdentifierKey(i), report, expected)) continue;
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

namespace {

constexpr int kVSRAMWords = 40;
constexpr int kLayoutLines = 1000;
constexpr int kInterlaceRegister = 12;

// The low byte of a usable field as the image holds it; nullopt past the image's end.
std::optional<uint8_t> lowByteOf(const TFieldSpec& spec, const SavestateImage& image) {
  const std::size_t n = static_cast<std::size_t>(std::min(spec.Size, 8));
  const std::size_t offset = static_cast<std::size_t>(spec.Offset);
  if (!image.Holds(offset, n)) return std::nullopt;
  const uint8_t* bytes = image.Data() + offset;
  return HasFlag(spec.Flags, ffBigEndian) ? bytes[n - 1] : bytes[0];
}

// Interlace mode 2 as register 12 in the image says: the register is the 13th usable [VDP]
// line, as the model is loaded.
bool interlaceMode2(const TLayout& layout, const SavestateImage& image) {
  int registerIndex = 0;
  for (int i = 0; i < kLayoutLines; ++i) {
    TFieldSpec spec;
    if (!layout.ReadFieldSpec("VDP", LineKey(i), spec)) continue;
    if (registerIndex++ < kInterlaceRegister) continue;
    const std::optional<uint8_t> value = lowByteOf(spec, image);
    return value && ((*value >> 1) & 3) >= 2;
  }
  return false;
}

// 1 little endian, 2 big endian, 0 when the content fits both orders equally (or is absent).
int byteOrderByContent(const TLayout& layout, const TFieldSpec& vsram,
                       const SavestateImage& image) {
  if (!vsram.Usable() || static_cast<uint64_t>(vsram.Offset) >= image.Size()) return 0;
  const std::size_t start = static_cast<std::size_t>(vsram.Offset);
  const std::size_t words = std::min<std::size_t>(kVSRAMWords, (image.Size() - start) / 2);
  const uint16_t unused = interlaceMode2(layout, image) ? 0xF800 : 0xFC00;
  int badLittle = 0, badBig = 0;
  for (std::size_t i = 0; i < words; ++i) {
    const uint8_t first = image.Data()[start + 2 * i], second = image.Data()[start + 2 * i + 1];
    if (uint16_t(second << 8 | first) & unused) ++badLittle;
    if (uint16_t(first << 8 | second) & unused) ++badBig;
  }
  if (badLittle == badBig) return 0;
  return badLittle < badBig ? 1 : 2;
}

constexpr std::string_view kReasonTexts[] = {"", "byte 80 is 5", "by content",
                                             "content fits both orders", "no VSRAM to judge by"};

}  // namespace

int AutoDetectVSRAMEndian(TLayout& layout, const SavestateImage& image, TVSRAMReason* reason) {
  TVSRAMReason why = TVSRAMReason::vrOff;
  int result = 0;
  if (layout.Ini().ReadBool("General", "AutoDetectVRAMEndian", false)) {
    const TFieldSpec vsram = layout.ReadFieldSpec("VDP", "VSRAM");
    static constexpr uint8_t kHeader[8] = {0x47, 0x53, 0x54, 0x40, 0xE0, 0x00, 0x00, 0x00};
    if (image.Size() >= 81 && std::memcmp(image.Data(), kHeader, 8) == 0 && image.Data()[80] == 5) {
      result = 1;
      why = TVSRAMReason::vrHeader;
    } else if (const int byContent = byteOrderByContent(layout, vsram, image); byContent != 0) {
      result = byContent;
      why = TVSRAMReason::vrContent;
    } else {
      result = 2;
      const bool present =
          vsram.Usable() && static_cast<uint64_t>(vsram.Offset) + 2 <= image.Size();
      why = present ? TVSRAMReason::vrUndecided : TVSRAMReason::vrNoContent;
    }
    const uint32_t flags = result == 1 ? 5 : 7;
    layout.Ini().WriteString("VDP", "VSRAM",
                             layout.FormatFieldSpec(vsram.Name, vsram.Offset, vsram.Size, flags));
  }
  if (reason) *reason = why;
  return result;
}

std::string_view VSRAMReasonText(TVSRAMReason reason) {
  return kReasonTexts[static_cast<std::size_t>(reason)];
}

std::string VSRAMStatusText(int detection, TVSRAMReason reason) {
  if (detection != 1 && detection != 2) return {};
  std::string text =
      detection == 1 ? "AutoDetect: VSRAM is little endian" : "AutoDetect: VSRAM is big endian";
  text += " (";
  text += VSRAMReasonText(reason);
  text += ')';
  return text;
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
  InputFile file(path);
  const bool matches = MatchFileIdentifiers(
      *m_layout,
      [&](uint64_t offset, void* dst, std::size_t count) {
        return file.readAt(offset, dst, count) == count;
      },
      report);
  if (!matches) return {};

  std::vector<uint8_t> bytes(SavestateImage::kMaxFileBytes);
  bytes.resize(file.readAt(0, bytes.data(), bytes.size()));
  return takeImage(std::move(bytes));
}

TSavestateDocument::TLoadResult TSavestateDocument::LoadBytes(std::span<const uint8_t> bytes,
                                                              const TMessageSink& report) {
  const bool matches = MatchFileIdentifiers(
      *m_layout,
      [&](uint64_t offset, void* dst, std::size_t count) {
        if (offset > bytes.size() || count > bytes.size() - offset) return false;
        std::memcpy(dst, bytes.data() + offset, count);
        return true;
      },
      report);
  if (!matches) return {};
  const std::size_t taken = std::min(bytes.size(), SavestateImage::kMaxFileBytes);
  return takeImage(std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(taken)));
}

TSavestateDocument::TLoadResult TSavestateDocument::takeImage(std::vector<uint8_t> bytes) {
  TLoadResult result;
  m_image = SavestateImage(std::move(bytes));
  result.Status = TLoadStatus::lsLoaded;
  result.VSRAMDetection = AutoDetectVSRAMEndian(*m_layout, m_image, &result.VSRAMReason);
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
