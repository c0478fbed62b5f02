// Ways a save fails on a real system, arranged for one test case at a time: the target is a
// folder, the folder does not exist, the folder is read-only, the disk is full. Each case has
// an existing file with known contents at the target, so a test can prove that a failed save
// left it as it was and left no temporary file behind.
#pragma once

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace vantor::testing {

enum class TSaveFailure { TargetIsFolder, MissingFolder, ReadOnlyFolder, DiskFull };

inline constexpr TSaveFailure kSaveFailures[] = {
    TSaveFailure::TargetIsFolder, TSaveFailure::MissingFolder, TSaveFailure::ReadOnlyFolder,
    TSaveFailure::DiskFull};

inline const char* Describe(TSaveFailure failure) {
  switch (failure) {
    case TSaveFailure::TargetIsFolder:
      return "the target is a folder";
    case TSaveFailure::MissingFolder:
      return "the folder does not exist";
    case TSaveFailure::ReadOnlyFolder:
      return "the folder is read-only";
    case TSaveFailure::DiskFull:
      return "the disk is full";
  }
  return "?";
}

// Arranges one failure for saving into a fresh folder `name` under `parent`, and undoes it
// when it goes. The disk-full case limits the size of any file this process (and the
// processes it starts) writes to fileSizeLimit bytes.
class TSaveFailureScope {
 public:
  TSaveFailureScope(TSaveFailure failure, const std::filesystem::path& parent,
                    const std::string& fileName, std::size_t fileSizeLimit = 1)
      : m_failure(failure),
        m_folder(parent / ("failing-" + std::to_string(int(failure)) + "-" + fileName)) {
    std::filesystem::create_directories(m_folder);
    m_target = (m_folder / fileName).string();
    m_existing = m_target;
    if (failure == TSaveFailure::TargetIsFolder) {
      std::filesystem::create_directory(m_target);
      writeFile(m_target + "/inside", kOldContents);
    } else {
      writeFile(m_target, kOldContents);
    }
    switch (failure) {
      case TSaveFailure::TargetIsFolder:
        break;
      case TSaveFailure::MissingFolder:
        m_target = (m_folder / "no such folder" / fileName).string();
        break;
      case TSaveFailure::ReadOnlyFolder:
        m_armed = makeReadOnly();
        break;
      case TSaveFailure::DiskFull:
        m_oldSignal = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_oldLimit);
        rlimit limit = m_oldLimit;
        limit.rlim_cur = fileSizeLimit;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        break;
    }
  }

  ~TSaveFailureScope() { Disarm(); }

  TSaveFailureScope(const TSaveFailureScope&) = delete;
  TSaveFailureScope& operator=(const TSaveFailureScope&) = delete;

  // The path to save to.
  const std::string& Target() const { return m_target; }
  // False when this system cannot arrange the failure (a read-only folder for a superuser on
  // a file system without the immutable flag): the case proves nothing and is skipped.
  bool Armed() const { return m_armed; }

  // Ends the failure: afterwards a save to Target() works (except for the two path cases).
  void Disarm() {
    if (m_failure == TSaveFailure::ReadOnlyFolder && m_armed) {
      setImmutable(false);
      ::chmod(m_folder.c_str(), 0755);
    }
    if (m_failure == TSaveFailure::DiskFull && m_oldSignal != SIG_ERR) {
      ::setrlimit(RLIMIT_FSIZE, &m_oldLimit);
      std::signal(SIGXFSZ, m_oldSignal);
      m_oldSignal = SIG_ERR;
    }
    m_armed = false;
  }

  // Whether what existed before the save is still there, unchanged, with nothing beside it.
  bool Intact() const {
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_folder))
      ++entries;
    if (m_failure == TSaveFailure::TargetIsFolder)
      return entries == 1 && std::filesystem::is_directory(m_target) &&
             readFile(m_target + "/inside") == kOldContents;
    return entries == 1 && readFile(m_existing) == kOldContents;
  }

  static constexpr const char* kOldContents = "the old contents of the file\n";

 private:
  static void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  static std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  bool setImmutable(bool on) {
    const int fd = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
      flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
      done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
  }

  // Read-only for everyone who may write: the permissions for an ordinary user, the immutable
  // flag for the superuser. Checked by trying to create a file.
  bool makeReadOnly() {
    ::chmod(m_folder.c_str(), 0555);
    if (::geteuid() == 0) setImmutable(true);
    const std::string probe = (m_folder / "probe").string();
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return true;
    ::close(fd);
    ::unlink(probe.c_str());
    setImmutable(false);
    ::chmod(m_folder.c_str(), 0755);
    return false;
  }

  TSaveFailure m_failure;
  std::filesystem::path m_folder;
  std::string m_target;
  std::string m_existing;  // the file at the target before the save
  bool m_armed = true;
  rlimit m_oldLimit{};
  void (*m_oldSignal)(int) = SIG_ERR;
};

}  // namespace vantor::testing
