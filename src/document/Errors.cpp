#include "document/Errors.h"

#include <cstring>

namespace vantor {

EFileError EFileError::CannotOpen(const std::string& path, const std::string& reason) {
  return EFileError("Cannot open file \"" + path + "\". " + reason);
}

EFileError EFileError::CannotCreate(const std::string& path, const std::string& reason) {
  return EFileError("Cannot create file \"" + path + "\". " + reason);
}

EStreamError EFileError::StreamRead() {
  return EStreamError("Stream read error", true);
}

EStreamError EFileError::StreamWrite() {
  return EStreamError("Stream write error", false);
}

std::string SystemErrorText(int error) {
  std::string text = std::strerror(error);
  if (!text.empty() && text.back() != '.') text += '.';
  return text;
}

}  // namespace vantor
