// The layout in use: the layout file's store plus the separator read once at start-up.
#pragma once

#include <string>
#include <string_view>

#include "document/FieldSpec.h"
#include "document/LayoutIni.h"

namespace vantor {

class TLayout {
 public:
  TLayout() = default;
  // Reads SepChar ([General] SepChar, default "|") once; it stays fixed afterwards.
  explicit TLayout(LayoutIni ini);

  LayoutIni& Ini() { return m_ini; }
  const LayoutIni& Ini() const { return m_ini; }
  const std::string& SepChar() const { return m_sepChar; }

  // The entry's field (missing: parsed from ""), and whether it is usable.
  bool ReadFieldSpec(std::string_view section, std::string_view key, TFieldSpec& spec) const;
  TFieldSpec ReadFieldSpec(std::string_view section, std::string_view key) const;

  // Why an entry with an offset and a size names bytes no savestate has: larger than
  // kMaxSavestateBytes or ending past them. "Error in INI File: Section "%s", Key "%s"." and
  // the reason; empty for any other entry (fine, or unusable for other reasons).
  std::string OversizedEntryError(std::string_view section, std::string_view key) const;

  TFieldSpec ParseFieldSpec(std::string_view text) const;
  std::string FormatFieldSpec(std::string_view name, int64_t offset, int32_t size,
                              uint32_t flags) const;

  // [General] FilenameFilter (default empty) and DefaultFileSize (default 0).
  std::string FilenameFilter() const;
  int64_t DefaultFileSize() const;

 private:
  LayoutIni m_ini;
  std::string m_sepChar = "|";
};

// "Line%.3d" and "FileIdentifier%.2d".
std::string LineKey(int i);
std::string FileIdentifierKey(int i);

}  // namespace vantor
