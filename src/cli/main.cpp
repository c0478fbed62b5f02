// vantor-cli: the savestate on the command line.
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliApp.h"
#include "cli/CliSupport.h"
#include "document/Errors.h"

namespace {

// The executable's own path, through which the layout file is found.
std::string programPath(const char* argv0) {
  char buffer[4096];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length > 0) return std::string(buffer, static_cast<std::size_t>(length));
  return argv0 ? argv0 : "vantor-cli";
}

// Writes everything to standard output; false with errno set when a write fails.
bool writeStandardOutput(const std::string& text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(STDOUT_FILENO, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  // What goes to standard output is gathered first and written in one go, so that a failed
  // write (a full disk, a closed stream) is seen with the system's reason.
  std::ostringstream out;
  int status = vantor::RunCli(args, out, std::cerr, programPath(argv[0]));
  if (!writeStandardOutput(out.str())) {
    std::cerr << "Cannot write to standard output. " << vantor::SystemErrorText(errno) << '\n';
    if (status == vantor::kExitOk) status = vantor::kExitFile;
  }
  return status;
}
