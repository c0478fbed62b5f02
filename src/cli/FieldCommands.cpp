// get and set: one field as the register grids show and take it.
#include <optional>

#include "cli/Commands.h"
#include "document/FieldValues.h"
#include "document/Numbers.h"

namespace vantor {
namespace {

// The key as given when the section has it (or it is a sub-field key such as "CRAM|$A|2");
// otherwise the first LineNNN whose name is the given text, so that "Reg01" finds Line001.
std::string resolveKey(const TLayout& layout, std::string_view section, std::string_view key) {
  if (layout.Ini().HasKey(section, key) || layout.ParseFieldSpec(key).Offset >= 0)
    return std::string(key);
  for (int i = 0; i < kLineCount; ++i) {
    const std::string line = LineKey(i);
    TFieldSpec spec;
    if (layout.ReadFieldSpec(section, line, spec) && spec.Name == key) return line;
  }
  return std::string(key);
}

TFieldValue readExistingField(TLoadedState& state, std::string_view section,
                              const std::string& key) {
  // A sub-field key names an element of the block entry its name gives.
  const TFieldSpec keySpec = state.Layout->ParseFieldSpec(key);
  CheckEntrySize(*state.Layout, section, keySpec.Offset >= 0 ? keySpec.Name : key);
  TFieldValue field = ReadField(*state.Layout, state.Image(), section, key);
  if (!field.Ok) {
    throw ENoEntryError("The layout has no usable field \"" + key + "\" in section \"" +
                        std::string(section) + "\".");
  }
  return field;
}

void printField(const TCliContext& context, const TFieldValue& field) {
  const auto texts = FormatFieldTexts(field.Value, field.ByteCount);
  context.Out << field.Spec.Name << '\t' << texts[0] << '\t' << texts[1] << '\t' << texts[2]
              << '\n';
}

}  // namespace

int RunGet(TCliContext& context) {
  const TLayout layout = LoadLayout(context);
  TLoadedState state = LoadState(context, layout, Argument(context, 0));
  const std::string& section = Argument(context, 1);
  const std::string key = resolveKey(*state.Layout, section, Argument(context, 2));
  printField(context, readExistingField(state, section, key));
  return kExitOk;
}

int RunSet(TCliContext& context) {
  const std::string_view text = TrimText(Argument(context, 3));
  const bool binary = !text.empty() && text.front() == '%';
  const bool number = binary ? TryParseBinary(text).has_value() : TryParseInt64(text).has_value();
  if (!number) {
    throw EUsageError("\"" + std::string(text) +
                      "\" is not a number (decimal, $hexadecimal or %binary)");
  }
  OutputPath(context);

  const TLayout layout = LoadLayout(context);
  TLoadedState state = LoadState(context, layout, Argument(context, 0));
  const std::string& section = Argument(context, 1);
  const std::string key = resolveKey(*state.Layout, section, Argument(context, 2));
  TFieldValue field = readExistingField(state, section, key);

  // As a grid cell takes it: masked to the field, or sign-extended for a signed one.
  const int64_t value = ParseFieldInput(binary ? TColumnKind::ckBinary : TColumnKind::ckDecimal,
                                        text, field.Value, field.Spec);
  if (value != field.Value) WriteField(*state.Layout, state.Image(), section, key, value);
  field.Value = value;
  WriteStateToOutput(context, state);
  printField(context, field);
  return kExitOk;
}

}  // namespace vantor
