// Running the real vantor-cli on savestates the tests build.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "document/Layout.h"
#include "document/SavestateImage.h"

namespace vantor::clitest {

struct TRunResult {
  int Status = -1;
  std::string Out;
  std::string Err;
};

// Runs the tool with args; XDG_CONFIG_HOME and XDG_CONFIG_DIRS point at an empty folder so
// that no layout file of the machine is found. Standard output goes to stdoutPath when given
// (Out is then empty).
TRunResult RunTool(const std::vector<std::string>& args, const std::string& stdoutPath = {});
// Runs another program (a full path) the same way.
TRunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& stdoutPath = {});

// A fresh folder, removed with everything in it when the object goes.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  std::string Path(std::string_view name) const;

 private:
  std::string m_path;
};

std::vector<uint8_t> ReadFile(const std::string& path);
std::string ReadText(const std::string& path);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
void WriteText(const std::string& path, std::string_view text);

// The built-in layout, with AutoDetectVRAMEndian switched off when autoDetect is false.
std::string LayoutText(bool autoDetect = true);
TLayout MakeLayout(bool autoDetect = true);

// The blank document of the layout (DefaultFileSize zeros with the identifiers stamped in).
SavestateImage BlankImage(const TLayout& layout);

// Offsets of the built-in layout.
constexpr std::size_t kMainRamOffset = 0x2478;
constexpr std::size_t kZ80RamOffset = 0x474;
constexpr std::size_t kVramOffset = 0x12478;
constexpr std::size_t kCramOffset = 0x112;
constexpr std::size_t kVsramOffset = 0x192;
constexpr std::size_t kRegOffset = 0xFA;  // Reg00; register n at kRegOffset + n

}  // namespace vantor::clitest
