// vantor-cli's entry: finds the command, checks the command line, runs the command and turns
// its errors into messages and exit statuses.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace vantor {

// args without the program name. programPath locates the layout file.
int RunCli(std::span<const std::string> args, std::ostream& out, std::ostream& err,
           const std::string& programPath);

}  // namespace vantor
