// Errors the user reads: file and stream failures of the savestate core.
#pragma once

#include <stdexcept>
#include <string>

namespace vantor {

class EStreamError;

// A file or stream operation failed; what() is the message shown to the user.
class EFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;

  // "Cannot open file "%s". %s"
  static EFileError CannotOpen(const std::string& path, const std::string& reason);
  // "Cannot create file "%s". %s"
  static EFileError CannotCreate(const std::string& path, const std::string& reason);
  // "Stream read error": a read past the end of the savestate image or a stream.
  static EStreamError StreamRead();
  // "Stream write error": a write further out than the image may grow.
  static EStreamError StreamWrite();
};

// A read or write of the savestate image outside what it holds: the message names no file, so
// that whoever knows which savestate it was can say so.
class EStreamError : public EFileError {
 public:
  EStreamError(const std::string& message, bool reading)
      : EFileError(message), m_reading(reading) {}
  bool Reading() const { return m_reading; }

 private:
  bool m_reading;
};

// The system's text for errno (or the given error number).
std::string SystemErrorText(int error);

}  // namespace vantor
