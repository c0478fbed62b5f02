#include "document/LayoutFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "document/DefaultLayout.h"
#include "document/Errors.h"
#include "document/FileIO.h"

namespace vantor {
namespace {

std::string joinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  return directory.back() == '/' ? directory + name : directory + "/" + name;
}

bool isRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// Creates the directory and its parents (mode 0755); true when it exists afterwards.
bool makeDirectories(const std::string& directory) {
  if (directory.empty()) return false;
  std::size_t at = 1;
  while (at != std::string::npos) {
    at = directory.find('/', at);
    const std::string part = directory.substr(0, at);
    if (!part.empty()) ::mkdir(part.c_str(), 0755);
    if (at != std::string::npos) ++at;
  }
  struct stat info {};
  return ::stat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

TLayoutFileResult readLayout(const std::string& path) {
  TLayoutFileResult result;
  result.Ini = ReadLayoutFile(path);
  result.Path = path;
  return result;
}

}  // namespace

LayoutIni ReadLayoutFile(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadFileBytes(path, kMaxLayoutFileBytes + 1);
  if (bytes.size() > kMaxLayoutFileBytes) {
    throw EFileError::CannotOpen(path, "It is longer than " + std::to_string(kMaxLayoutFileBytes) +
                                           " bytes, too long for a layout file.");
  }
  return LayoutIni::FromText(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

TLayoutLocations TLayoutLocations::FromEnvironment(const std::string& programPath) {
  TLayoutLocations where;
  const std::size_t slash = programPath.find_last_of('/');
  std::string name = slash == std::string::npos ? programPath : programPath.substr(slash + 1);
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  where.FileName = name + ".ini";
  where.ProgramDir = slash == std::string::npos ? "." : programPath.substr(0, slash);
  for (const char* system : {"/usr/", "/opt/", "/bin", "/sbin", "/snap/"}) {
    if (where.ProgramDir.rfind(system, 0) == 0) where.ProgramDirIsSystem = true;
  }

  std::string systemDirs = environment("XDG_CONFIG_DIRS");
  systemDirs = systemDirs.substr(0, systemDirs.find(':'));
  where.SystemDir = systemDirs.empty() ? "/etc/xdg" : systemDirs;

  where.UserDir = environment("XDG_CONFIG_HOME");
  if (where.UserDir.empty()) {
    const std::string home = environment("HOME");
    if (!home.empty()) where.UserDir = joinPath(home, ".config");
  }
  return where;
}

TLayoutFileResult OpenLayoutFile(const TLayoutLocations& where, bool create) {
  const std::string systemFile = joinPath(where.SystemDir, where.FileName);
  const std::string programFile = joinPath(where.ProgramDir, where.FileName);
  const std::string userFile =
      where.UserDir.empty() ? std::string() : joinPath(where.UserDir, where.FileName);

  TLayoutFileResult result;
  for (const std::string& candidate : {systemFile, programFile, userFile}) {
    if (candidate.empty() || !isRegularFile(candidate)) continue;
    try {
      return readLayout(candidate);
    } catch (const EFileError& error) {
      // A layout file that exists but cannot be read: run on the built-in layout.
      result.Ini = LayoutIni::FromText(DefaultLayoutText());
      result.Error = error.what();
      return result;
    }
  }

  result.Ini = LayoutIni::FromText(DefaultLayoutText());
  if (!create) return result;

  const std::string_view text = DefaultLayoutText();
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  std::string programError;
  if (!where.ProgramDirIsSystem) {
    try {
      WriteFileSafely(programFile, bytes, text.size());
      result.Path = programFile;
      result.Created = true;
      return result;
    } catch (const EFileError& error) {
      programError = error.what();
    }
  }
  // An installed program's folder is not ours to write: the user's configuration takes over.
  if (!userFile.empty() && makeDirectories(where.UserDir)) {
    try {
      WriteFileSafely(userFile, bytes, text.size());
      result.Path = userFile;
      result.Created = true;
      return result;
    } catch (const EFileError& error) {
      result.Error = error.what();
      return result;
    }
  }
  result.Error = !programError.empty()
                     ? programError
                     : EFileError::CannotCreate(userFile.empty() ? where.FileName : userFile,
                                                SystemErrorText(EACCES))
                           .what();
  return result;
}

}  // namespace vantor
