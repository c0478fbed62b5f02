#include "document/LayoutIni.h"

#include <cctype>

#include "document/Numbers.h"

namespace vantor {
namespace {

bool sameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

LayoutIni LayoutIni::FromText(std::string_view text) {
  LayoutIni ini;
  Section* current = nullptr;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = TrimText(text.substr(start, end - start));
    start = end + 1;
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      ++start;
    }
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      ini.m_sections.push_back({std::string(TrimText(line.substr(1, line.size() - 2))), {}});
      current = &ini.m_sections.back();
      continue;
    }
    if (!current) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      current->Entries.push_back({std::string(line), {}, false});
    } else {
      current->Entries.push_back({std::string(TrimText(line.substr(0, equals))),
                                  std::string(TrimText(line.substr(equals + 1))), true});
    }
  }
  return ini;
}

const LayoutIni::Entry* LayoutIni::find(std::string_view section, std::string_view key) const {
  for (const Section& s : m_sections) {
    if (!sameText(s.Name, section)) continue;
    for (const Entry& e : s.Entries) {
      if (e.HasValue && sameText(e.Key, key)) return &e;
    }
  }
  return nullptr;
}

LayoutIni::Section* LayoutIni::findSection(std::string_view section) {
  for (Section& s : m_sections) {
    if (sameText(s.Name, section)) return &s;
  }
  return nullptr;
}

std::string LayoutIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
  const Entry* entry = find(section, key);
  return std::string(entry ? std::string_view(entry->Value) : defaultValue);
}

int64_t LayoutIni::ReadInteger(std::string_view section, std::string_view key,
                               int64_t defaultValue) const {
  const Entry* entry = find(section, key);
  if (!entry) return defaultValue;
  const auto value = TryParseInt32(entry->Value);
  return value ? *value : defaultValue;
}

bool LayoutIni::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool LayoutIni::HasKey(std::string_view section, std::string_view key) const {
  return find(section, key) != nullptr;
}

void LayoutIni::WriteString(std::string_view section, std::string_view key,
                            std::string_view value) {
  for (Section& s : m_sections) {
    if (!sameText(s.Name, section)) continue;
    for (Entry& e : s.Entries) {
      if (e.HasValue && sameText(e.Key, key)) {
        e.Value = std::string(value);
        return;
      }
    }
  }
  Section* target = findSection(section);
  if (!target) {
    m_sections.push_back({std::string(section), {}});
    target = &m_sections.back();
  }
  target->Entries.push_back({std::string(key), std::string(value), true});
}

}  // namespace vantor
