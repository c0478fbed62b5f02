#include "document/Layout.h"

#include <charconv>

namespace vantor {

TLayout::TLayout(LayoutIni ini)
    : m_ini(std::move(ini)), m_sepChar(m_ini.ReadString("General", "SepChar", "|")) {}

bool TLayout::ReadFieldSpec(std::string_view section, std::string_view key,
                            TFieldSpec& spec) const {
  spec = ReadFieldSpec(section, key);
  return spec.Usable();
}

TFieldSpec TLayout::ReadFieldSpec(std::string_view section, std::string_view key) const {
  const std::string* value = m_ini.FindValue(section, key);
  return ParseFieldSpec(value ? std::string_view(*value) : std::string_view());
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

namespace {

// prefix and i zero-padded to `width` characters, as "%0*d" writes it (without snprintf:
// the savestate's load asks for a hundred of these).
std::string numberedKey(std::string_view prefix, int i, int width) {
  char number[16];
  const char* end = std::to_chars(number, number + sizeof number, i).ptr;  // an int fits
  std::string_view digits(number, static_cast<std::size_t>(end - number));
  std::string key(prefix);
  if (i < 0) {
    key += '-';
    digits.remove_prefix(1);
    --width;
  }
  if (digits.size() < static_cast<std::size_t>(width))
    key.append(static_cast<std::size_t>(width) - digits.size(), '0');
  key += digits;
  return key;
}

}  // namespace

std::string LineKey(int i) {
  return numberedKey("Line", i, 3);
}

std::string FileIdentifierKey(int i) {
  return numberedKey("FileIdentifier", i, 2);
}

}  // namespace vantor
