#include "document/LayoutFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TempDir.h"
#include "document/DefaultLayout.h"

namespace vantor {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteText;

struct Locations {
  TempDir system, program, user;
  TLayoutLocations where() const {
    return {"vantor.ini", system.Path().string(), program.Path().string(),
            (user.Path() / "config").string()};
  }
};

std::string asText(const std::vector<uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
}

TEST(LayoutFile, FileNameAndDirectoriesComeFromTheProgramAndEnvironment) {
  ::setenv("XDG_CONFIG_DIRS", "/first/dir:/second", 1);
  ::setenv("XDG_CONFIG_HOME", "/home/u/.cfg", 1);
  const TLayoutLocations where = TLayoutLocations::FromEnvironment("/opt/pal/bin/vantor");
  EXPECT_EQ(where.FileName, "vantor.ini");
  EXPECT_EQ(where.ProgramDir, "/opt/pal/bin");
  EXPECT_EQ(where.SystemDir, "/first/dir");
  EXPECT_EQ(where.UserDir, "/home/u/.cfg");
  EXPECT_EQ(TLayoutLocations::FromEnvironment("/x/Vantor.exe").FileName, "Vantor.ini");
  ::unsetenv("XDG_CONFIG_DIRS");
  ::unsetenv("XDG_CONFIG_HOME");
  ::setenv("HOME", "/home/v", 1);
  const TLayoutLocations defaults = TLayoutLocations::FromEnvironment("vantor");
  EXPECT_EQ(defaults.SystemDir, "/etc/xdg");
  EXPECT_EQ(defaults.UserDir, "/home/v/.config");
  EXPECT_EQ(defaults.ProgramDir, ".");
}

TEST(LayoutFile, FirstStartWritesTheDefaultBesideTheProgramAndTheNextStartReadsIt) {
  Locations dirs;
  const TLayoutFileResult first = OpenLayoutFile(dirs.where());
  EXPECT_TRUE(first.Created);
  EXPECT_EQ(first.Path, dirs.program.File("vantor.ini"));
  EXPECT_EQ(asText(ReadBytes(first.Path)), DefaultLayoutText());
  EXPECT_TRUE(first.Error.empty());

  WriteText(first.Path, "[General]\r\nDefaultFileSize=99\r\n");
  const TLayoutFileResult second = OpenLayoutFile(dirs.where());
  EXPECT_FALSE(second.Created);
  EXPECT_EQ(second.Ini.ReadInteger("General", "DefaultFileSize", 0), 99);
}

TEST(LayoutFile, TheSystemDirectoryWinsOverTheProgramDirectory) {
  Locations dirs;
  WriteText(dirs.program.File("vantor.ini"), "[General]\nDefaultFileSize=1\n");
  WriteText(dirs.system.File("vantor.ini"), "[General]\nDefaultFileSize=2\n");
  const TLayoutFileResult result = OpenLayoutFile(dirs.where());
  EXPECT_EQ(result.Path, dirs.system.File("vantor.ini"));
  EXPECT_EQ(result.Ini.ReadInteger("General", "DefaultFileSize", 0), 2);
}

TEST(LayoutFile, AReadOnlyProgramDirectoryFallsBackToTheUserConfiguration) {
  // A folder that does not exist cannot be written, even by root.
  Locations dirs;
  TLayoutLocations where = dirs.where();
  where.ProgramDir = dirs.program.File("missing/deeper");
  const TLayoutFileResult result = OpenLayoutFile(where);
  EXPECT_TRUE(result.Created);
  EXPECT_EQ(result.Path, where.UserDir + "/vantor.ini");
  EXPECT_EQ(asText(ReadBytes(result.Path)), DefaultLayoutText());

  // The next start finds the user's file and writes nothing new.
  const TLayoutFileResult again = OpenLayoutFile(where);
  EXPECT_FALSE(again.Created);
  EXPECT_EQ(again.Path, result.Path);
}

TEST(LayoutFile, AnInstalledProgramWritesItsLayoutIntoTheUserConfiguration) {
  EXPECT_TRUE(TLayoutLocations::FromEnvironment("/usr/bin/vantor").ProgramDirIsSystem);
  EXPECT_TRUE(TLayoutLocations::FromEnvironment("/opt/palavex/vantor").ProgramDirIsSystem);
  EXPECT_FALSE(TLayoutLocations::FromEnvironment("/home/u/build/bin/vantor").ProgramDirIsSystem);

  Locations dirs;
  TLayoutLocations where = dirs.where();
  where.ProgramDirIsSystem = true;  // even where it could be written (as root)
  const TLayoutFileResult result = OpenLayoutFile(where);
  EXPECT_TRUE(result.Created);
  EXPECT_TRUE(result.Error.empty());
  EXPECT_EQ(result.Path, where.UserDir + "/vantor.ini");
  EXPECT_FALSE(std::filesystem::exists(dirs.program.File("vantor.ini")));

  // A layout shipped beside the installed program is still read first.
  WriteText(dirs.program.File("vantor.ini"), "[General]\nDefaultFileSize=3\n");
  EXPECT_EQ(OpenLayoutFile(where).Path, dirs.program.File("vantor.ini"));
}

TEST(LayoutFile, WhenNothingCanBeWrittenItRunsOnTheBuiltInLayout) {
  Locations dirs;
  TLayoutLocations where = dirs.where();
  where.ProgramDir = dirs.program.File("missing");
  WriteText(dirs.user.File("blocker"), "a file where a folder should be");
  where.UserDir = dirs.user.File("blocker/config");
  const TLayoutFileResult result = OpenLayoutFile(where);
  EXPECT_FALSE(result.Created);
  EXPECT_TRUE(result.Path.empty());
  EXPECT_EQ(result.Error.rfind("Cannot create file \"", 0), 0u) << result.Error;
  EXPECT_EQ(result.Ini.ReadInteger("General", "DefaultFileSize", 0), 140408);
}

TEST(LayoutFile, AFileLongerThanALayoutCanBeIsNotReadToItsEnd) {
  Locations dirs;
  const std::string path = dirs.program.File("vantor.ini");
  WriteText(path, "[General]\nDefaultFileSize=99\n" + std::string(kMaxLayoutFileBytes, ';'));
  const TLayoutFileResult result = OpenLayoutFile(dirs.where());
  EXPECT_EQ(result.Error, "Cannot open file \"" + path +
                              "\". It is longer than 1048576 bytes, too long for a layout file.");
  EXPECT_EQ(result.Ini.ReadInteger("General", "DefaultFileSize", 0), 140408);  // built-in

  // Up to the bound it is an ordinary layout file.
  WriteText(path, "[General]\nDefaultFileSize=99\n" + std::string(kMaxLayoutFileBytes - 30, ';'));
  EXPECT_EQ(OpenLayoutFile(dirs.where()).Ini.ReadInteger("General", "DefaultFileSize", 0), 99);
}

TEST(LayoutFile, WithoutCreateNothingIsWritten) {
  Locations dirs;
  const TLayoutFileResult result = OpenLayoutFile(dirs.where(), false);
  EXPECT_FALSE(result.Created);
  EXPECT_TRUE(result.Path.empty());
  EXPECT_TRUE(result.Error.empty());
  EXPECT_FALSE(std::filesystem::exists(dirs.program.File("vantor.ini")));
  EXPECT_EQ(result.Ini.ReadInteger("General", "DefaultFileSize", 0), 140408);
}

}  // namespace
}  // namespace vantor
