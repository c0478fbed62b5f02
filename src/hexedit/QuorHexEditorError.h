#pragma once

#include <stdexcept>
#include <string>

namespace vantor {

// Every message of the hex editor component; what() is the text the user reads.
class EQuorHexEditor : public std::runtime_error {
 public:
  explicit EQuorHexEditor(const std::string& message) : std::runtime_error(message) {}
};

inline constexpr const char* kErrUndoStorage = "Cannot update undo storage";
inline constexpr const char* kErrFixedFileSize = "Cannot change fixed filesize";
inline constexpr const char* kErrOutOfBounds = "Data position/length out of data bounds";
inline constexpr const char* kErrBytesPerLine = "Invalid bytes per line argument";
inline constexpr const char* kErrBytesPerColumn = "Invalid bytes per column argument";
inline constexpr const char* kErrSelectionStart = "Invalid selection start";
inline constexpr const char* kErrSelectionEnd = "Invalid selection end";
inline constexpr const char* kErrBookmarkIndex = "Invalid bookmark index";

}  // namespace vantor
