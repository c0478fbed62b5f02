#include "document/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "document/Errors.h"

namespace vantor {
namespace {

std::string directoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Writes everything to fd; false with errno set when a write fails.
bool writeAll(int fd, const uint8_t* data, std::size_t size) {
  std::size_t written = 0;
  while (written < size) {
    const ssize_t n = ::write(fd, data + written, size - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    written += static_cast<std::size_t>(n);
  }
  return true;
}

// A device or a named pipe: there is nothing to keep and nothing to replace.
void writeInPlace(const std::string& givenPath, const std::string& path, const uint8_t* data,
                  std::size_t size) {
  TFileHandle fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
  if (fd.Get() < 0) throw EFileError::CannotCreate(givenPath, SystemErrorText(errno));
  if (!writeAll(fd.Get(), data, size))
    throw EFileError::CannotCreate(givenPath, SystemErrorText(errno));
  if (!fd.Close()) throw EFileError::CannotCreate(givenPath, SystemErrorText(errno));
}

}  // namespace

bool TFileHandle::Close() {
  if (m_fd < 0) return true;
  return ::close(Release()) == 0;
}

TFileHandle OpenForReading(const std::string& path) {
  TFileHandle fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.Get() < 0) throw EFileError::CannotOpen(path, SystemErrorText(errno));
  ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
  return fd;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path, std::size_t maxBytes) {
  return ReadOpenFile(OpenForReading(path).Get(), path, maxBytes);
}

std::vector<uint8_t> ReadOpenFile(int fd, const std::string& path, std::size_t maxBytes) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw EFileError::CannotOpen(path, SystemErrorText(errno));
  if (S_ISDIR(info.st_mode)) throw EFileError::CannotOpen(path, SystemErrorText(EISDIR));

  std::vector<uint8_t> bytes;
  if (S_ISREG(info.st_mode)) {
    const auto size = static_cast<uint64_t>(info.st_size);
    bytes.reserve(static_cast<std::size_t>(size < maxBytes ? size : maxBytes));
  }
  uint8_t buffer[65536];
  while (bytes.size() < maxBytes) {
    const std::size_t want = std::min(sizeof buffer, maxBytes - bytes.size());
    const ssize_t got = ::read(fd, buffer, want);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw EFileError::CannotOpen(path, SystemErrorText(errno));
    }
    if (got == 0) break;
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  return bytes;
}

void WriteFileSafely(const std::string& givenPath, const uint8_t* data, std::size_t size) {
  // A link is followed, so that the file it names is replaced, not the link.
  std::string path = givenPath;
  if (char* real = ::realpath(givenPath.c_str(), nullptr)) {
    path = real;
    std::free(real);
  }
  struct stat target {};
  const bool exists = ::stat(path.c_str(), &target) == 0;
  if (exists && S_ISDIR(target.st_mode))
    throw EFileError::CannotCreate(givenPath, SystemErrorText(EISDIR));

  if (exists && !S_ISREG(target.st_mode)) {
    writeInPlace(givenPath, path, data, size);
    return;
  }

  std::string temporary = directoryOf(path) + "/.palavex-XXXXXX";
  TFileHandle fd(::mkstemp(temporary.data()));
  if (fd.Get() < 0) throw EFileError::CannotCreate(givenPath, SystemErrorText(errno));

  auto fail = [&](int error) {
    fd.Close();
    ::unlink(temporary.c_str());
    throw EFileError::CannotCreate(givenPath, SystemErrorText(error));
  };
  if (!writeAll(fd.Get(), data, size)) fail(errno);
  // Keep the permissions of the file being replaced; new files get the usual ones.
  mode_t mode = 0666;
  if (exists) {
    mode = target.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  // And its owner, where this user may give a file away (the superuser saving someone else's
  // savestate); otherwise the file becomes this user's, as any new file would.
  if (exists && (target.st_uid != ::geteuid() || target.st_gid != ::getegid()))
    (void)::fchown(fd.Get(), target.st_uid, target.st_gid);
  if (::fchmod(fd.Get(), mode) != 0 && exists) fail(errno);
  if (::fsync(fd.Get()) != 0) fail(errno);
  if (!fd.Close()) {
    const int error = errno;
    ::unlink(temporary.c_str());
    throw EFileError::CannotCreate(givenPath, SystemErrorText(error));
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    throw EFileError::CannotCreate(givenPath, SystemErrorText(error));
  }
}

void WriteFileSafely(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteFileSafely(path, bytes.data(), bytes.size());
}

void WriteFileSafely(const std::string& path, const std::string& text) {
  WriteFileSafely(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

}  // namespace vantor
