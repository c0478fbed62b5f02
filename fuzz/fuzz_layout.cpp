// The layout file as anyone may have edited it: INI reading, field entries, the number
// syntaxes and file identifiers.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/FieldSpec.h"
#include "document/Layout.h"
#include "document/LayoutIni.h"
#include "document/Numbers.h"
#include "document/SavestateDocument.h"

using namespace vantor;

namespace {

void checkRoundTrip(const TLayout& layout, const TFieldSpec& spec) {
  if (layout.SepChar().empty() || spec.Name.find(layout.SepChar()) != std::string::npos) return;
  // A separator made of characters the numbers are written with ("4", "$", "%") cannot be told
  // apart from them; such a layout reads as it reads, but is not expected to round-trip.
  if (layout.SepChar().find_first_of("0123456789ABCDEFabcdef$%-") != std::string::npos) return;
  if (spec.Flags != 0 && (spec.Flags & ffValid) == 0) return;
  // A name that ends in blanks or starts with them is trimmed away by the parser.
  if (!spec.Name.empty() && (static_cast<unsigned char>(spec.Name.front()) <= 32 ||
                             static_cast<unsigned char>(spec.Name.back()) <= 32)) {
    return;
  }
  const TFieldSpec back =
      layout.ParseFieldSpec(layout.FormatFieldSpec(spec.Name, spec.Offset, spec.Size, spec.Flags));
  if (back.Name != spec.Name || back.Offset != spec.Offset || back.Size != spec.Size ||
      back.Flags != spec.Flags) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TLayout layout(LayoutIni::FromText(text));

  // Every entry kind the program reads.
  for (const char* section : {"General", "CPU MC68000", "CPU Z80", "VDP", "PSG", "YM2612"}) {
    for (int i = 0; i < 40; ++i)
      checkRoundTrip(layout, layout.ReadFieldSpec(section, LineKey(i)));
    for (const char* key : {"RAM", "CRAM", "VSRAM", "HSRAM"}) {
      checkRoundTrip(layout, layout.ReadFieldSpec(section, key));
    }
  }
  (void)layout.FilenameFilter();
  (void)layout.DefaultFileSize();
  (void)layout.Ini().ReadBool("General", "AutoDetectVRAMEndian", false);

  // The raw text through the number syntaxes.
  (void)TryParseInt64(text);
  (void)TryParseInt32(text);
  (void)TryParseBinary(text);
  (void)ParseFieldSpec(text, "|");

  // Identifiers: matched against a small image and stamped into a blank one.
  SavestateImage image(std::vector<uint8_t>(64, 0));
  (void)MatchFileIdentifiers(layout, image, [](const std::string&) {});
  SavestateImage blank;
  StampFileIdentifiers(layout, blank, [](const std::string&) {});
  return 0;
}
