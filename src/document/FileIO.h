// Reading and writing whole files with the program's file messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

// An open file descriptor, closed when the object goes.
class TFileHandle {
 public:
  explicit TFileHandle(int fd = -1) : m_fd(fd) {}
  ~TFileHandle() { Close(); }
  TFileHandle(TFileHandle&& other) noexcept : m_fd(other.Release()) {}
  TFileHandle& operator=(TFileHandle&& other) noexcept {
    if (this != &other) {
      Close();
      m_fd = other.Release();
    }
    return *this;
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;

  int Get() const { return m_fd; }
  int Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
  }
  // Closes now; the close's own result (errno set when false).
  bool Close();

 private:
  int m_fd;
};

// Opens the file for reading. A named pipe is opened without waiting for a writer, so that one
// nobody writes to reads as empty instead of blocking for ever; reads then wait for data as
// usual. Throws EFileError "Cannot open file "%s". %s".
TFileHandle OpenForReading(const std::string& path);

// Reads at most maxBytes from the start of the file. Throws EFileError
// "Cannot open file "%s". %s" when it cannot be opened or read.
std::vector<uint8_t> ReadFileBytes(const std::string& path, std::size_t maxBytes = SIZE_MAX);
// The same from a file already open as fd; path names it in the message.
std::vector<uint8_t> ReadOpenFile(int fd, const std::string& path, std::size_t maxBytes);

// Writes the bytes as the whole new content of path without ever damaging an existing file:
// the bytes go to a temporary file in the same directory, which replaces path only once
// everything was written and flushed. Throws EFileError "Cannot create file "%s". %s" (the
// target is left as it was, the temporary file removed). A target that exists but is not a
// regular file (a device such as /dev/stdout, a named pipe) is written to directly, never
// replaced.
void WriteFileSafely(const std::string& path, const uint8_t* data, std::size_t size);
void WriteFileSafely(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteFileSafely(const std::string& path, const std::string& text);

}  // namespace vantor
