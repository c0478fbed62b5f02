// The layout file held in memory: sections of key/value strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantor {

// Reading rules: a UTF-8 byte order mark at the very start skipped; every line trimmed; empty
// lines and lines starting with ";" ignored; "[name]" opens a section (name trimmed); other
// lines are entries "key=value" (both trimmed; a line without "=" is kept but never found);
// lines before the first section are ignored; section and key names match without regard to
// letter case. Rewrites stay in memory.
class LayoutIni {
 public:
  LayoutIni() = default;
  static LayoutIni FromText(std::string_view text);

  // A missing key yields the default; a key with an empty value yields "".
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // Integer syntax; a value that does not parse yields the default.
  int64_t ReadInteger(std::string_view section, std::string_view key, int64_t defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  bool HasKey(std::string_view section, std::string_view key) const;
  // The entry's value without a copy; null when the key is missing. Valid until the next
  // WriteString.
  const std::string* FindValue(std::string_view section, std::string_view key) const;
  // Calls visit(key, value) for each entry with a value in the sections of that name, in file
  // order. Where a key occurs twice, the first is the one the Read functions find.
  template <typename Visit>
  void ForEachEntry(std::string_view section, Visit&& visit) const {
    for (const Section& s : m_sections) {
      if (!SameName(s.Name, section)) continue;
      for (const Entry& entry : s.Entries)
        if (entry.HasValue) visit(std::string_view(entry.Key), std::string_view(entry.Value));
    }
  }
  // Whether two section or key names match without regard to letter case.
  static bool SameName(std::string_view a, std::string_view b);
  // Replaces (or adds) an entry in memory; the file on disk is never written.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

 private:
  struct Entry {
    std::string Key;  // as written; may hold no "=" (then HasValue is false)
    std::string Value;
    bool HasValue = true;
  };
  struct Section {
    std::string Name;
    std::vector<Entry> Entries;
  };
  const Entry* find(std::string_view section, std::string_view key) const;
  Entry* find(std::string_view section, std::string_view key);
  void addEntry(std::size_t section, Entry entry);

  // Looked up by string views, so that a lookup builds no string.
  struct IndexHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };

  std::vector<Section> m_sections;
  // Lower-cased "section\nkey" -> (section, entry) of the first such entry, for fast lookups.
  std::unordered_map<std::string, std::pair<std::size_t, std::size_t>, IndexHash, std::equal_to<>>
      m_index;
};

}  // namespace vantor
