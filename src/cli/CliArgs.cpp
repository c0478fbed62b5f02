#include "cli/CliArgs.h"

#include <algorithm>

#include "document/Numbers.h"

namespace vantor {
namespace {

const TOptionSpec* findOption(std::span<const TOptionSpec> known, std::string_view name) {
  const auto it = std::find_if(known.begin(), known.end(),
                               [&](const TOptionSpec& spec) { return spec.Name == name; });
  return it == known.end() ? nullptr : &*it;
}

bool looksLikeOption(std::string_view arg) {
  // "-" alone and negative numbers ("-5", "-$10", "-x1F" as field values) are arguments; a
  // minus before a digit, "$" or "%" starts a number, even one that turns out malformed.
  if (arg.size() < 2 || arg[0] != '-') return false;
  if (std::string_view("0123456789$%").find(arg[1]) != std::string_view::npos) return false;
  return !TryParseInt64(arg).has_value();
}

}  // namespace

TCommandLine TCommandLine::Parse(std::span<const std::string> args,
                                 std::span<const TOptionSpec> known) {
  TCommandLine result;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || !looksLikeOption(arg)) {
      result.m_positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const TOptionSpec* spec = findOption(known, name);
    if (!spec) {
      result.m_error = "unknown option " + name;
      return result;
    }
    if (!spec->TakesValue) {
      if (equals != std::string::npos) {
        result.m_error = "option " + name + " takes no value";
        return result;
      }
      result.m_values[name] = "";
      continue;
    }
    if (equals != std::string::npos) {
      result.m_values[name] = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      result.m_values[name] = args[++i];
    } else {
      result.m_error = "option " + name + " needs a value";
      return result;
    }
  }
  return result;
}

bool TCommandLine::Has(std::string_view option) const {
  return m_values.find(option) != m_values.end();
}

std::optional<std::string> TCommandLine::Value(std::string_view option) const {
  const auto it = m_values.find(option);
  if (it == m_values.end()) return std::nullopt;
  return it->second;
}

}  // namespace vantor
