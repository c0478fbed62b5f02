#include "document/LayoutIni.h"

#include <utility>

#include "document/Numbers.h"

namespace vantor {
namespace {

// Letter case is ignored for ASCII letters, whatever the process's locale.
char lowered(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Lower-cased "section\nkey" into buffer; empty when it does not fit.
template <std::size_t N>
std::string_view indexKeyIn(std::string_view section, std::string_view key, char (&buffer)[N]) {
  if (section.size() + key.size() + 1 > N) return {};
  char* out = buffer;
  for (char c : section)
    *out++ = lowered(c);
  *out++ = '\n';
  for (char c : key)
    *out++ = lowered(c);
  return {buffer, static_cast<std::size_t>(out - buffer)};
}

std::string indexKey(std::string_view section, std::string_view key) {
  std::string text(section.size() + key.size() + 1, '\0');
  std::size_t n = 0;
  for (char c : section)
    text[n++] = lowered(c);
  text[n++] = '\n';
  for (char c : key)
    text[n++] = lowered(c);
  return text;
}

}  // namespace

LayoutIni LayoutIni::FromText(std::string_view text) {
  LayoutIni ini;
  // Editors that save UTF-8 may put a byte order mark first; it would glue itself to the first
  // line and hide a section opened there.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  bool inSection = false;
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
      inSection = true;
      continue;
    }
    if (!inSection) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      ini.addEntry(ini.m_sections.size() - 1, {std::string(line), {}, false});
    } else {
      ini.addEntry(ini.m_sections.size() - 1,
                   {std::string(TrimText(line.substr(0, equals))),
                    std::string(TrimText(line.substr(equals + 1))), true});
    }
  }
  return ini;
}

void LayoutIni::addEntry(std::size_t section, Entry entry) {
  Section& target = m_sections[section];
  if (entry.HasValue) {
    // The first entry of a name wins, also across sections of the same name.
    m_index.try_emplace(indexKey(target.Name, entry.Key), section, target.Entries.size());
  }
  target.Entries.push_back(std::move(entry));
}

const LayoutIni::Entry* LayoutIni::find(std::string_view section, std::string_view key) const {
  char buffer[96];
  const std::string_view quick = indexKeyIn(section, key, buffer);
  const auto at = quick.empty() ? m_index.find(indexKey(section, key)) : m_index.find(quick);
  if (at == m_index.end()) return nullptr;
  return &m_sections[at->second.first].Entries[at->second.second];
}

LayoutIni::Entry* LayoutIni::find(std::string_view section, std::string_view key) {
  return const_cast<Entry*>(std::as_const(*this).find(section, key));
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

bool LayoutIni::SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lowered(a[i]) != lowered(b[i])) return false;
  return true;
}

bool LayoutIni::HasKey(std::string_view section, std::string_view key) const {
  return find(section, key) != nullptr;
}

const std::string* LayoutIni::FindValue(std::string_view section, std::string_view key) const {
  const Entry* entry = find(section, key);
  return entry ? &entry->Value : nullptr;
}

void LayoutIni::WriteString(std::string_view section, std::string_view key,
                            std::string_view value) {
  if (Entry* entry = find(section, key)) {
    entry->Value = std::string(value);
    return;
  }
  std::size_t target = m_sections.size();
  for (std::size_t i = 0; i < m_sections.size(); ++i) {
    if (SameName(m_sections[i].Name, section)) {
      target = i;
      break;
    }
  }
  if (target == m_sections.size()) m_sections.push_back({std::string(section), {}});
  addEntry(target, {std::string(key), std::string(value), true});
}

}  // namespace vantor
