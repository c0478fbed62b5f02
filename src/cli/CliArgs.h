// The command line of vantor-cli: positional arguments and options, checked against the
// options a command knows.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

struct TOptionSpec {
  std::string_view Name;  // "--layers", "-o"
  bool TakesValue = false;
};

class TCommandLine {
 public:
  // Options may stand anywhere ("--name value" or "--name=value"); "--" ends them. An
  // argument that looks like a negative number ("-5", "-$10") is never an option. An unknown
  // option, a missing value or a value given to a switch sets the error.
  static TCommandLine Parse(std::span<const std::string> args, std::span<const TOptionSpec> known);

  const std::string& Error() const { return m_error; }
  const std::vector<std::string>& Positional() const { return m_positional; }

  bool Has(std::string_view option) const;
  // The option's last value.
  std::optional<std::string> Value(std::string_view option) const;

 private:
  std::vector<std::string> m_positional;
  std::map<std::string, std::string, std::less<>> m_values;
  std::string m_error;
};

// Options every command takes.
inline constexpr TOptionSpec kLayoutOption{"--layout", true};
inline constexpr TOptionSpec kHelpOption{"--help", false};

}  // namespace vantor
