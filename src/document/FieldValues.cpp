#include "document/FieldValues.h"

#include <algorithm>
#include <climits>

#include "document/Errors.h"
#include "document/Layout.h"
#include "document/Numbers.h"
#include "document/SavestateImage.h"

namespace vantor {
namespace {

// Offset + relative as an image position; past any image when it does not fit.
std::size_t imageOffset(int64_t offset, int64_t relative) {
  if (offset < 0 || relative < 0 || offset > INT64_MAX - relative) return SIZE_MAX;
  return static_cast<std::size_t>(offset + relative);
}

// n bytes at offset, lowest first; byte order and sign applied by the flags.
int64_t readValue(SavestateImage& image, std::size_t offset, int n, uint32_t flags) {
  uint8_t bytes[8] = {};
  image.ReadAt(offset, bytes, static_cast<std::size_t>(n));
  uint64_t raw = 0;
  for (int i = n - 1; i >= 0; --i)
    raw = (raw << 8) | bytes[i];
  int64_t value = static_cast<int64_t>(raw);
  if (HasFlag(flags, ffBigEndian)) value = SwapBytes(n, value);
  if (HasFlag(flags, ffSigned)) value = SignExtend(8 * n, value);
  return value;
}

void writeValue(SavestateImage& image, std::size_t offset, int n, uint32_t flags, int64_t value) {
  if (HasFlag(flags, ffBigEndian)) value = SwapBytes(n, value);
  uint8_t bytes[8];
  for (int i = 0; i < n; ++i) {
    bytes[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
  }
  image.WriteAt(offset, bytes, static_cast<std::size_t>(n));
}

// The byte count inside a block: count limited to 0..8 and to the bytes left in the block;
// 0 when the relative offset lies outside the block.
int blockByteCount(const TFieldSpec& block, int64_t relative, int count) {
  if (relative < 0 || relative >= block.Size) return 0;
  const int64_t left = block.Size - relative;
  return static_cast<int>(std::min<int64_t>(std::clamp(count, 0, 8), left));
}

}  // namespace

bool ReadFieldValueAt(const TLayout& layout, SavestateImage& image, std::string_view section,
                      std::string_view key, int64_t relativeOffset, int count, int64_t& value) {
  value = 0;
  TFieldSpec block;
  if (!layout.ReadFieldSpec(section, key, block)) return false;
  const int n = blockByteCount(block, relativeOffset, count);
  if (n <= 0) return false;
  value = readValue(image, imageOffset(block.Offset, relativeOffset), n, block.Flags);
  return true;
}

bool WriteFieldValueAt(const TLayout& layout, SavestateImage& image, std::string_view section,
                       std::string_view key, int64_t relativeOffset, int64_t value, int count) {
  TFieldSpec block;
  if (!layout.ReadFieldSpec(section, key, block)) return false;
  const int n = blockByteCount(block, relativeOffset, count);
  if (n <= 0) return false;
  writeValue(image, imageOffset(block.Offset, relativeOffset), n, block.Flags, value);
  return true;
}

namespace {

// ReadField's work; with tolerant set, a field past the image's end is flagged, not read.
TFieldValue readField(const TLayout& layout, SavestateImage& image, std::string_view section,
                      std::string_view key, bool tolerant) {
  TFieldValue result;
  const TFieldSpec keySpec = layout.ParseFieldSpec(key);
  TFieldSpec entry;
  const bool usable = layout.ReadFieldSpec(section, keySpec.Name, entry);
  result.Spec = entry;
  if (!usable) return result;

  std::size_t offset = 0;
  int n = 0;
  if (keySpec.Offset >= 0) {
    // Sub-field key: one element inside the block.
    const int64_t index = keySpec.Size > 0 ? keySpec.Offset / keySpec.Size : 0;
    result.Spec.Name = entry.Name;
    result.Spec.Name += '[';
    result.Spec.Name += std::to_string(index);
    result.Spec.Name += ']';
    offset = imageOffset(entry.Offset, keySpec.Offset);
    result.Spec.Offset = offset == SIZE_MAX ? -1 : entry.Offset + keySpec.Offset;
    result.Spec.Size = keySpec.Size;
    n = blockByteCount(entry, keySpec.Offset, keySpec.Size);
    if (n <= 0) return result;
  } else {
    n = std::min(entry.Size, 8);
    result.Spec.Size = n;
    offset = imageOffset(entry.Offset, 0);
  }
  if (tolerant && !image.Holds(offset, static_cast<std::size_t>(n))) {
    result.PastEnd = true;
    return result;
  }
  result.Value = readValue(image, offset, n, entry.Flags);
  result.ByteCount = n;
  result.Ok = true;
  return result;
}

}  // namespace

TFieldValue ReadField(const TLayout& layout, SavestateImage& image, std::string_view section,
                      std::string_view key) {
  return readField(layout, image, section, key, false);
}

TFieldValue TryReadField(const TLayout& layout, SavestateImage& image, std::string_view section,
                         std::string_view key) {
  return readField(layout, image, section, key, true);
}

bool WriteField(const TLayout& layout, SavestateImage& image, std::string_view section,
                std::string_view key, int64_t value) {
  const TFieldSpec keySpec = layout.ParseFieldSpec(key);
  if (keySpec.Offset >= 0) {
    return WriteFieldValueAt(layout, image, section, keySpec.Name, keySpec.Offset, value,
                             keySpec.Size);
  }
  TFieldSpec entry;
  if (!layout.ReadFieldSpec(section, keySpec.Name, entry)) return false;
  writeValue(image, imageOffset(entry.Offset, 0), std::min(entry.Size, 8), entry.Flags, value);
  return true;
}

std::string SubFieldKey(const TLayout& layout, std::string_view key, int64_t relativeOffset,
                        int32_t size) {
  return layout.FormatFieldSpec(key, relativeOffset, size, 0);
}

std::array<std::string, 3> FormatFieldTexts(int64_t value, int n) {
  n = std::clamp(n, 1, 8);
  const std::string hex = FormatHex(value, 2 * n);
  const std::string binary = FormatBinary(8 * n, value);
  std::array<std::string, 3> texts;
  texts[0] = '$';
  texts[0].append(hex, hex.size() - static_cast<std::size_t>(2 * n));
  texts[1] = std::to_string(value);
  texts[2] = '%';
  texts[2].append(binary, binary.size() - static_cast<std::size_t>(8 * n));
  return texts;
}

int64_t ParseFieldInput(TColumnKind kind, std::string_view typed, int64_t currentValue,
                        const TFieldSpec& spec) {
  std::string text(TrimText(typed));
  int64_t candidate = currentValue;
  int64_t step = 10;
  switch (kind) {
    case TColumnKind::ckHex:
      if (!text.empty() && text.front() != '$') text.insert(text.begin(), '$');
      candidate = TryParseInt64(text).value_or(currentValue);
      if (!text.empty()) text.erase(text.begin());
      step = 16;
      break;
    case TColumnKind::ckDecimal:
      candidate = TryParseInt64(text).value_or(currentValue);
      step = 10;
      break;
    case TColumnKind::ckBinary:
      candidate = ParseBinaryDef(text, currentValue);
      step = 2;
      break;
  }
  // Wrap-around arithmetic: done unsigned, normalised to the field below.
  auto add = [&](int64_t delta) {
    candidate =
        static_cast<int64_t>(static_cast<uint64_t>(candidate) + static_cast<uint64_t>(delta));
  };
  if (text.size() == 1) {
    switch (text.front()) {
      case '*':
        add(step);
        break;
      case '+':
        add(1);
        break;
      case '-':
        add(-1);
        break;
      case '/':
        add(-step);
        break;
      default:
        break;
    }
  }
  return NormaliseFieldValue(candidate, spec);
}

int64_t NormaliseFieldValue(int64_t value, const TFieldSpec& spec) {
  const int n = std::clamp(spec.Size, 1, 8);
  if (HasFlag(spec.Flags, ffSigned)) return SignExtend(8 * n, value);
  return value & SetBitRange(0, 8 * n - 1, 0);
}

}  // namespace vantor
