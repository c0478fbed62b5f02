// The savestate document: the image, its identification, loading, saving, caption.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "document/Layout.h"
#include "document/SavestateImage.h"

namespace vantor {

inline constexpr std::string_view kApplicationTitle = "Palavex";
inline constexpr std::string_view kWrongFileType = "Wrong File Type!";
inline constexpr std::string_view kSaveChanges = "Save changes?";

// Receives messages the user must see while the operation goes on (the GUI shows an error
// box, the command-line tool prints them).
using TMessageSink = std::function<void(const std::string&)>;

// Reads count bytes at offset from some source; false when they cannot all be read.
using TByteReader = std::function<bool(uint64_t offset, void* dst, std::size_t count)>;

// Read mode: true when the source matches every usable [General] FileIdentifierNN. Malformed
// identifiers are reported ("Error in INI File: Section "General", Key "FileIdentifierNN".")
// and skipped, every time.
bool MatchFileIdentifiers(const TLayout& layout, const TByteReader& read,
                          const TMessageSink& report);
// Write mode: stamps every usable identifier's content into the image at its position + offset.
void StampFileIdentifiers(const TLayout& layout, SavestateImage& image, const TMessageSink& report);
// Read mode on the image, based at its current position.
bool MatchFileIdentifiers(const TLayout& layout, const SavestateImage& image,
                          const TMessageSink& report);

// Why the VSRAM byte order was chosen.
enum class TVSRAMReason {
  vrOff,        // detection off: the layout's flags stand
  vrHeader,     // the Genecyst header with byte 80 = 5: little endian
  vrContent,    // the order under which fewer words use bits the VDP does not have
  vrUndecided,  // both orders fit the content equally: big endian
  vrNoContent,  // no VSRAM in the image to judge by: big endian
};

// 0 detection off, 1 little endian, 2 big endian; rewrites [VDP] VSRAM's flags (5 or 7) in
// the layout store when on. The header with byte 80 = 5 means little endian. Otherwise the
// content decides: VSRAM words use their low 10 bits (11 in interlace mode 2, register 12 as
// the image holds it), so the order under which fewer of the 40 words have higher bits set is
// the right one; a tie, or no VSRAM in the image, keeps big endian.
int AutoDetectVSRAMEndian(TLayout& layout, const SavestateImage& image,
                          TVSRAMReason* reason = nullptr);
// "AutoDetect: VSRAM is little endian (by content)" and the like; empty when detection is off.
std::string VSRAMStatusText(int detection, TVSRAMReason reason);
// The reason in words: "byte 80 is 5", "by content", ...; empty for vrOff.
std::string_view VSRAMReasonText(TVSRAMReason reason);

// The pattern source of the pattern views.
enum class TPatternSource { psVideoRAM = 0, psMainRAM = 1 };

class TSavestateDocument {
 public:
  explicit TSavestateDocument(TLayout& layout) : m_layout(&layout) {}

  TLayout& Layout() { return *m_layout; }
  const TLayout& Layout() const { return *m_layout; }
  SavestateImage& Image() { return m_image; }
  const SavestateImage& Image() const { return m_image; }

  bool Modified() const { return m_modified; }
  void SetModified(bool modified) { m_modified = modified; }
  const std::string& FileName() const { return m_fileName; }
  void SetFileName(std::string fileName) { m_fileName = std::move(fileName); }
  // "Palavex - " + file name + "*" when modified.
  std::string Caption() const;

  // DefaultFileSize zero bytes (at most what a savestate holds) with the identifiers stamped
  // in; not modified, no file name.
  void NewBlank(const TMessageSink& report);

  enum class TLoadStatus { lsLoaded, lsWrongFileType };
  struct TLoadResult {
    TLoadStatus Status = TLoadStatus::lsWrongFileType;
    int VSRAMDetection = 0;  // as AutoDetectVSRAMEndian
    TVSRAMReason VSRAMReason = TVSRAMReason::vrOff;
  };
  // Opens the file (EFileError when it cannot be opened), checks the identifiers, and on a
  // match takes its first 1048576 bytes as the new image and detects the VSRAM byte order.
  // A wrong file type changes nothing. Modified and FileName are left to the caller.
  TLoadResult Load(const std::string& path, const TMessageSink& report);
  // Load for savestate bytes already in memory (at most the first 1048576 become the image).
  TLoadResult LoadBytes(std::span<const uint8_t> bytes, const TMessageSink& report);

  // Writes the whole image to path without damaging an existing file on failure (EFileError
  // "Cannot create file ..."). Modified and FileName are left to the caller.
  void WriteTo(const std::string& path) const;

  // The 64 KiB the pattern pictures read: the image from [VDP] RAM's offset, or from
  // [CPU MC68000] RAM's with psMainRAM; from the image's start when the entry is not usable.
  // The span ends at the image's end (it may be shorter than 65536 bytes).
  std::span<const uint8_t> PatternSourceData(TPatternSource source) const;

 private:
  // Takes bytes whose identifiers matched as the new image and detects the VSRAM byte order.
  TLoadResult takeImage(std::vector<uint8_t> bytes);

  TLayout* m_layout;
  SavestateImage m_image;
  bool m_modified = false;
  std::string m_fileName;
};

}  // namespace vantor
