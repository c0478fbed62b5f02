#include "document/Layout.h"

#include <cstdio>

namespace vantor {

TLayout::TLayout(LayoutIni ini)
    : m_ini(std::move(ini)), m_sepChar(m_ini.ReadString("General", "SepChar", "|")) {}

bool TLayout::ReadFieldSpec(std::string_view section, std::string_view key,
                            TFieldSpec& spec) const {
  spec = ParseFieldSpec(m_ini.ReadString(section, key, ""));
  return spec.Usable();
}

TFieldSpec TLayout::ReadFieldSpec(std::string_view section, std::string_view key) const {
  return ParseFieldSpec(m_ini.ReadString(section, key, ""));
}

std::string TLayout::OversizedEntryError(std::string_view section, std::string_view key) const {
  const TFieldSpec spec = ReadFieldSpec(section, key);
  if (spec.Offset < 0 || spec.Size <= 0) return {};
  std::string reason;
  if (spec.Size > kMaxSavestateBytes) {
    reason = "Its size, " + std::to_string(spec.Size) + " bytes, is more than";
  } else if (spec.Offset > kMaxSavestateBytes - spec.Size) {
    reason = "It ends at byte " + std::to_string(spec.Offset + spec.Size) + ", past";
  } else {
    return {};
  }
  return "Error in INI File: Section \"" + std::string(section) + "\", Key \"" + std::string(key) +
         "\". " + reason + " the " + std::to_string(kMaxSavestateBytes) +
         " bytes a savestate holds.";
}

TFieldSpec TLayout::ParseFieldSpec(std::string_view text) const {
  return vantor::ParseFieldSpec(text, m_sepChar);
}

std::string TLayout::FormatFieldSpec(std::string_view name, int64_t offset, int32_t size,
                                     uint32_t flags) const {
  return vantor::FormatFieldSpec(name, offset, size, flags, m_sepChar);
}

std::string TLayout::FilenameFilter() const {
  return m_ini.ReadString("General", "FilenameFilter", "");
}

int64_t TLayout::DefaultFileSize() const {
  return m_ini.ReadInteger("General", "DefaultFileSize", 0);
}

std::string LineKey(int i) {
  char key[16];
  std::snprintf(key, sizeof key, "Line%03d", i);
  return key;
}

std::string FileIdentifierKey(int i) {
  char key[24];
  std::snprintf(key, sizeof key, "FileIdentifier%02d", i);
  return key;
}

}  // namespace vantor
