#include "cli/JsonWriter.h"

#include <cstdio>

namespace vantor {

std::string JsonQuote(std::string_view text) {
  std::string quoted = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        quoted += "\\\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\r':
        quoted += "\\r";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          quoted += escape;
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

void TJsonWriter::prefix(std::string_view key) {
  if (m_closers.empty()) return;
  if (!m_first) m_out << ',';
  m_out << '\n' << std::string(2 * m_closers.size(), ' ');
  if (m_closers.back() == '}') m_out << JsonQuote(key) << ": ";
  m_first = false;
}

void TJsonWriter::begin(std::string_view key, char bracket) {
  prefix(key);
  m_out << bracket;
  m_closers.push_back(bracket == '{' ? '}' : ']');
  m_first = true;
}

void TJsonWriter::BeginObject(std::string_view key) {
  begin(key, '{');
}

void TJsonWriter::BeginArray(std::string_view key) {
  begin(key, '[');
}

void TJsonWriter::End() {
  const char closer = m_closers.back();
  m_closers.pop_back();
  if (!m_first) m_out << '\n' << std::string(2 * m_closers.size(), ' ');
  m_out << closer;
  m_first = false;
  if (m_closers.empty()) m_out << '\n';
}

void TJsonWriter::String(std::string_view key, std::string_view text) {
  prefix(key);
  m_out << JsonQuote(text);
}

void TJsonWriter::Number(std::string_view key, int64_t number) {
  prefix(key);
  m_out << number;
}

void TJsonWriter::Bool(std::string_view key, bool flag) {
  prefix(key);
  m_out << (flag ? "true" : "false");
}

}  // namespace vantor
