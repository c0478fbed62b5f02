#include "document/FieldSpec.h"

#include "document/Numbers.h"

namespace vantor {
namespace {

// Takes the next piece up to the separator (all the rest when there is none) off the text.
std::string_view takePiece(std::string_view& text, std::string_view sepChar) {
  const std::size_t at = sepChar.empty() ? std::string_view::npos : text.find(sepChar);
  std::string_view piece = text.substr(0, at);
  text = at == std::string_view::npos ? std::string_view() : text.substr(at + sepChar.size());
  return piece;
}

int64_t parsePiece(std::string_view piece, bool wide, int64_t defaultValue) {
  if (piece.empty()) return defaultValue;  // a missing piece, as in a key without sub-field
  if (piece.front() == '%') {
    const auto value = TryParseBinary(piece);
    if (!value) return defaultValue;
    return wide ? *value : static_cast<int32_t>(static_cast<uint32_t>(*value));
  }
  if (wide) return TryParseInt64(piece).value_or(defaultValue);
  return TryParseInt32(piece).value_or(static_cast<int32_t>(defaultValue));
}

}  // namespace

TFieldSpec ParseFieldSpec(std::string_view text, std::string_view sepChar) {
  TFieldSpec spec;
  text = TrimText(text);
  spec.Name = std::string(takePiece(text, sepChar));
  spec.Offset = parsePiece(takePiece(text, sepChar), true, -1);
  spec.Size = static_cast<int32_t>(parsePiece(takePiece(text, sepChar), false, 0));
  spec.Flags = static_cast<uint32_t>(parsePiece(takePiece(text, sepChar), false, 0));
  return spec;
}

std::string FormatFieldSpec(std::string_view name, int64_t offset, int32_t size, uint32_t flags,
                            std::string_view sepChar) {
  std::string text(name);
  text += sepChar;
  text += '$';
  text += FormatHex(offset, 1);
  text += sepChar;
  text += std::to_string(size);
  if (flags & ffValid) {
    text += sepChar;
    text += '%';
    text += FormatBinary(0, flags);
  }
  return text;
}

}  // namespace vantor
