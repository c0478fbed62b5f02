// Finding, creating and reading the layout file.
#pragma once

#include <cstddef>
#include <string>

#include "document/LayoutIni.h"

namespace vantor {

// Where the layout file may lie. The production values come from FromEnvironment; tests point
// every directory at folders of their own.
struct TLayoutLocations {
  std::string FileName;    // the executable's name with ".ini", e.g. "vantor.ini"
  std::string SystemDir;   // first entry of XDG_CONFIG_DIRS, default "/etc/xdg"
  std::string ProgramDir;  // the executable's own directory
  std::string UserDir;     // XDG_CONFIG_HOME, default "$HOME/.config"
  // The program lies in a folder of the system (an installed program: /usr/..., /opt/...):
  // a layout file there is still read, but a new one is never written there.
  bool ProgramDirIsSystem = false;

  // programPath: the executable's path (as from /proc/self/exe); its name gives FileName.
  static TLayoutLocations FromEnvironment(const std::string& programPath);
};

// The longest layout file read (the built-in one is 10 KiB).
inline constexpr std::size_t kMaxLayoutFileBytes = 1048576;

// Reads a layout file. EFileError "Cannot open file "%s". %s" when it cannot be read or is
// longer than kMaxLayoutFileBytes (a device such as /dev/zero would never end).
LayoutIni ReadLayoutFile(const std::string& path);

struct TLayoutFileResult {
  LayoutIni Ini;         // the layout read, or the built-in default held in memory
  std::string Path;      // the file used; empty when running on the built-in layout
  bool Created = false;  // the default was written to Path
  std::string Error;     // "Cannot create file "%s". %s" when no file could be created
};

// Looks for the file in SystemDir, then ProgramDir, then UserDir. When none has it and create
// is true, writes the built-in default beside the program, or, when that directory cannot be
// written or belongs to the system, in UserDir. With create false (the
// command-line tool) UserDir is also searched and nothing is written; the built-in layout is
// used when no file exists.
TLayoutFileResult OpenLayoutFile(const TLayoutLocations& where, bool create = true);

}  // namespace vantor
