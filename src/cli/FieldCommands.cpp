// get and set: one field as the register grids show and take it.
#include <cctype>
#include <optional>

#include "cli/Commands.h"
#include "cli/StateModel.h"
#include "document/FieldValues.h"
#include "document/Numbers.h"

namespace vantor {
namespace {

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// The key as given when the section has it (or it is a sub-field key such as "CRAM|$A|2");
// otherwise the first LineNNN whose name is the given text, so that "Reg01" finds Line001.
// Names match without regard to case, as keys and sections do; an exact match comes first.
std::string resolveKey(const TLayout& layout, std::string_view section, std::string_view key) {
  if (layout.Ini().HasKey(section, key) || layout.ParseFieldSpec(key).Offset >= 0)
    return std::string(key);
  std::optional<std::string> caseless;
  for (int i = 0; i < kLineCount; ++i) {
    const std::string line = LineKey(i);
    TFieldSpec spec;
    if (!layout.ReadFieldSpec(section, line, spec)) continue;
    if (spec.Name == key) return line;
    if (!caseless && sameName(spec.Name, key)) caseless = line;
  }
  return caseless.value_or(std::string(key));
}

// The [VDP] blocks whose 16-bit elements the grids list, addressed by index instead of a
// section: "get STATE HSRAM 3".
constexpr std::string_view kElementBlocks[] = {"CRAM", "VSRAM", "HSRAM"};

struct TFieldAddress {
  std::string Section;
  std::string Key;
};

// The horizontal scroll table lies where register 13 of this savestate puts it.
void placeHSRAM(TLoadedState& state) {
  const std::optional<uint8_t> register13 = ReadVDPRegister(*state.Layout, state.Image(), 13);
  if (!register13) {
    throw ENoEntryError(TheLayout(state.LayoutPath) +
                        " has no VDP register 13, which places the horizontal scroll table.");
  }
  PlaceHSRAMEntry(*state.Layout, *register13);
}

TFieldAddress elementAddress(TLoadedState& state, std::string_view block, std::string_view index) {
  const std::optional<int64_t> number = TryParseInt64(index);
  if (!number || *number < 0) {
    throw EUsageError("an element of " + std::string(block) +
                      " is given by its index (0, 1, ...), not \"" + std::string(index) + "\"");
  }
  if (block == "HSRAM") placeHSRAM(state);
  CheckEntrySize(state, "VDP", block);
  TFieldSpec spec;
  if (!state.Layout->ReadFieldSpec("VDP", block, spec)) {
    throw ENoEntryError(TheLayout(state.LayoutPath) + " has no usable [VDP] " + std::string(block) +
                        " entry.");
  }
  const int64_t count = (int64_t{spec.Size} + 1) / 2;
  if (*number >= count) {
    throw ENoEntryError(spec.Name + " has " + std::to_string(count) + " elements, 0 to " +
                        std::to_string(count - 1) + ": there is no element " +
                        std::to_string(*number) + ".");
  }
  return {"VDP", SubFieldKey(*state.Layout, block, 2 * *number, 2)};
}

TFieldAddress resolveField(TLoadedState& state, const std::string& section,
                           const std::string& key) {
  for (std::string_view block : kElementBlocks)
    if (sameName(section, block)) return elementAddress(state, block, key);
  // The table's own key, or a sub-field key of it ("HSRAM|$6|2"), as well.
  if (sameName(section, "VDP") && sameName(state.Layout->ParseFieldSpec(key).Name, "HSRAM"))
    placeHSRAM(state);
  return {section, resolveKey(*state.Layout, section, key)};
}

TFieldValue readExistingField(TLoadedState& state, std::string_view section,
                              const std::string& key) {
  // A sub-field key names an element of the block entry its name gives.
  const TFieldSpec keySpec = state.Layout->ParseFieldSpec(key);
  CheckEntrySize(state, section, keySpec.Offset >= 0 ? keySpec.Name : key);
  TFieldValue field = ReadField(*state.Layout, state.Image(), section, key);
  if (!field.Ok) {
    throw ENoEntryError(TheLayout(state.LayoutPath) + " has no usable field \"" + key +
                        "\" in section \"" + std::string(section) + "\".");
  }
  return field;
}

void printField(const TCliContext& context, const TFieldValue& field) {
  const auto texts = FormatFieldTexts(field.Value, field.ByteCount);
  context.Out << field.Spec.Name << '\t' << texts[0] << '\t' << texts[1] << '\t' << texts[2]
              << '\n';
}

// A value as typed: the integer syntax with its sign, or binary after "%", read without a
// limit of width so that a value too large for its field is seen as such.
struct TTypedValue {
  bool Negative = false;
  uint64_t Magnitude = 0;
  bool Overflow = false;  // more than 64 bits

  // Whether the value can be written in n bytes, as an unsigned number or in two's complement:
  // -128 to 255 for one byte.
  bool Fits(int n) const {
    if (Overflow) return false;
    const int bits = 8 * n;
    if (Negative) return Magnitude <= uint64_t{1} << (bits - 1);
    return bits >= 64 || Magnitude < uint64_t{1} << bits;
  }
  int64_t Value() const {
    return static_cast<int64_t>(Negative ? uint64_t{0} - Magnitude : Magnitude);
  }
};

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

std::optional<TTypedValue> parseTypedValue(std::string_view text) {
  TTypedValue typed;
  unsigned radix = 10;
  if (text.starts_with('%')) {
    text.remove_prefix(1);
    radix = 2;
  } else {
    if (text.starts_with('+') || text.starts_with('-')) {
      typed.Negative = text.front() == '-';
      text.remove_prefix(1);
    }
    for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
      if (!text.starts_with(prefix)) continue;
      text.remove_prefix(prefix.size());
      radix = 16;
      break;
    }
  }
  if (text.empty()) return std::nullopt;
  for (char c : text) {
    const auto digit = static_cast<unsigned>(digitValue(c));
    if (digit >= radix) return std::nullopt;
    if (typed.Magnitude > (UINT64_MAX - digit) / radix) typed.Overflow = true;
    typed.Magnitude = typed.Magnitude * radix + digit;
  }
  return typed;
}

// "a field of 2 bytes: -32768 to 65535 ($0000 to $FFFF)"
std::string fieldRange(int n) {
  const int bits = 8 * n;
  const uint64_t highest = bits >= 64 ? UINT64_MAX : (uint64_t{1} << bits) - 1;
  return "a field of " + std::to_string(n) + (n == 1 ? " byte: " : " bytes: ") + "-" +
         std::to_string(uint64_t{1} << (bits - 1)) + " to " + std::to_string(highest) + " ($" +
         std::string(static_cast<std::size_t>(2 * n), '0') + " to $" +
         std::string(static_cast<std::size_t>(2 * n), 'F') + ")";
}

}  // namespace

int RunGet(TCliContext& context) {
  const TLayout layout = LoadLayout(context);
  TLoadedState state = LoadState(context, layout, Argument(context, 0));
  const TFieldAddress field = resolveField(state, Argument(context, 1), Argument(context, 2));
  printField(context, readExistingField(state, field.Section, field.Key));
  return kExitOk;
}

int RunSet(TCliContext& context) {
  const std::string text(TrimText(Argument(context, 3)));
  const std::optional<TTypedValue> typed = parseTypedValue(text);
  if (!typed)
    throw EUsageError("\"" + text + "\" is not a number (decimal, $hexadecimal or %binary)");
  OutputPath(context);

  const TLayout layout = LoadLayout(context);
  TLoadedState state = LoadState(context, layout, Argument(context, 0));
  const auto [section, key] = resolveField(state, Argument(context, 1), Argument(context, 2));
  TFieldValue field = readExistingField(state, section, key);
  if (!typed->Fits(field.ByteCount)) {
    throw EValueError(text + " does not fit " + field.Spec.Name + ", " +
                      fieldRange(field.ByteCount) + "; nothing was written.");
  }

  // As the field reads it back: sign-extended for a signed field.
  const int64_t value = NormaliseFieldValue(typed->Value(), field.Spec);
  if (value != field.Value) WriteField(*state.Layout, state.Image(), section, key, value);
  field.Value = value;
  WriteStateToOutput(context, state);
  printField(context, field);
  return kExitOk;
}

}  // namespace vantor
