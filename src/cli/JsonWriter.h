// A small writer of indented JSON for the --json listings.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

class TJsonWriter {
 public:
  explicit TJsonWriter(std::ostream& out) : m_out(out) {}

  // key is ignored inside arrays and for the outermost value.
  void BeginObject(std::string_view key = {});
  void BeginArray(std::string_view key = {});
  // Closes the innermost object or array; the outermost one ends with a line end.
  void End();

  void String(std::string_view key, std::string_view text);
  void Number(std::string_view key, int64_t number);
  void Bool(std::string_view key, bool flag);

 private:
  void begin(std::string_view key, char bracket);
  void prefix(std::string_view key);

  std::ostream& m_out;
  std::vector<char> m_closers;
  bool m_first = true;
};

// text as a JSON string literal, with quotes.
std::string JsonQuote(std::string_view text);

}  // namespace vantor
