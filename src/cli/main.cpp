// vantor-cli: the savestate on the command line.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/CliApp.h"

namespace {

// The executable's own path, through which the layout file is found.
std::string programPath(const char* argv0) {
  char buffer[4096];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length > 0) return std::string(buffer, static_cast<std::size_t>(length));
  return argv0 ? argv0 : "vantor-cli";
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const int status = vantor::RunCli(args, std::cout, std::cerr, programPath(argv[0]));
  std::cout.flush();
  return status;
}
