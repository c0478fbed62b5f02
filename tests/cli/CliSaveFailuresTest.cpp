// Every file the tool writes (savestate, dump, palette, pictures) against a folder target, a
// missing folder, a read-only folder and a full disk: exit status 2 with the file message, the
// existing file as it was, nothing left beside it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CliTestKit.h"
#include "document/SaveFailures.h"

namespace vantor::clitest {
namespace {

using ::testing::StartsWith;
using vantor::testing::Describe;
using vantor::testing::kSaveFailures;
using vantor::testing::TSaveFailure;
using vantor::testing::TSaveFailureScope;

struct TWriteCommand {
  const char* FileName;
  std::vector<std::string> Args;  // the output file follows these
};

TEST(CliSaveFailures, AFailedWriteKeepsTheExistingFile) {
  TTempDir dir;
  const std::string layout = dir.Path("layout.ini");
  WriteText(layout, LayoutText(false));
  const std::string state = dir.Path("state.gs0");
  WriteFile(state, BlankImage(MakeLayout()).Bytes());

  const std::vector<TWriteCommand> commands = {
      {"out.gs0", {"set", state, "VDP", "Reg01", "$44", "-o"}},
      {"ram.bin", {"dump", state, "main-ram"}},
      {"colors.pal", {"palette", "export", state}},
      {"screen.png", {"render", state}},
      {"patterns.bmp", {"patterns", state}},
  };
  for (const TWriteCommand& command : commands) {
    for (TSaveFailure failure : kSaveFailures) {
      SCOPED_TRACE(command.Args[0] + ": " + Describe(failure));
      TSaveFailureScope scope(failure, dir.Path(""), command.FileName);
      if (!scope.Armed()) continue;
      std::vector<std::string> args = command.Args;
      args.push_back(scope.Target());
      args.insert(args.end(), {"--layout", layout});
      const TRunResult result = RunTool(args);
      scope.Disarm();
      EXPECT_EQ(result.Status, 2);
      // A full disk also stops the tool's own message (its error output is a file here).
      if (failure != TSaveFailure::DiskFull) {
        EXPECT_THAT(result.Err, StartsWith("Cannot create file \"" + scope.Target() + "\"."));
      }
      EXPECT_TRUE(scope.Intact());
      EXPECT_EQ(ReadFile(state), BlankImage(MakeLayout()).Bytes());
    }
  }
}

}  // namespace
}  // namespace vantor::clitest
