// Errors the user reads: file and stream failures of the savestate core.
#pragma once

#include <stdexcept>
#include <string>

namespace vantor {

// A file or stream operation failed; what() is the message shown to the user.
class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;

  // "Cannot open file "%s". %s"
  static EFileError CannotOpen(const std::string& path, const std::string& reason);
  // "Cannot create file "%s". %s"
  static EFileError CannotCreate(const std::string& path, const std::string& reason);
  // "Stream read error": a read past the end of the savestate image or a stream.
  static EFileError StreamRead();
};

// The system's text for errno (or the given error number).
std::string SystemErrorText(int error);

}  // namespace vantor
