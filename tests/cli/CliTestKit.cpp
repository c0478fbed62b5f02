#include "CliTestKit.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "document/DefaultLayout.h"
#include "document/LayoutIni.h"
#include "document/SavestateDocument.h"

extern char** environ;

namespace vantor::clitest {

TTempDir::TTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vantor-cli-test-XXXXXX");
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  m_path = pattern;
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(m_path, ignored);
}

std::string TTempDir::Path(std::string_view name) const {
  return m_path + "/" + std::string(name);
}

TRunResult RunTool(const std::vector<std::string>& args, const std::string& stdoutPath) {
  return RunProgram(VANTOR_CLI_PATH, args, stdoutPath);
}

TRunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& stdoutPath) {
  TTempDir dir;
  const std::string outPath = stdoutPath.empty() ? dir.Path("stdout") : stdoutPath;
  const std::string errPath = dir.Path("stderr");

  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string_view text(*entry);
    if (!text.starts_with("XDG_CONFIG_HOME=") && !text.starts_with("XDG_CONFIG_DIRS="))
      environment.emplace_back(text);
  }
  environment.push_back("XDG_CONFIG_HOME=" + dir.Path("home"));
  environment.push_back("XDG_CONFIG_DIRS=" + dir.Path("system"));

  std::vector<std::string> argv = {program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> argp;
  for (std::string& arg : argv)
    argp.push_back(arg.data());
  argp.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& entry : environment)
    envp.push_back(entry.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argp[0], &actions, nullptr, argp.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + argv[0]);

  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
  }
  TRunResult result;
  result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  if (stdoutPath.empty()) result.Out = ReadText(outPath);
  result.Err = ReadText(errPath);
  return result;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void WriteText(const std::string& path, std::string_view text) {
  std::ofstream out(path, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string LayoutText(bool autoDetect) {
  std::string text(DefaultLayoutText());
  if (!autoDetect) {
    const std::string on = "AutoDetectVRAMEndian=1";
    text.replace(text.find(on), on.size(), "AutoDetectVRAMEndian=0");
  }
  return text;
}

TLayout MakeLayout(bool autoDetect) {
  return TLayout(LayoutIni::FromText(LayoutText(autoDetect)));
}

SavestateImage BlankImage(const TLayout& layout) {
  TLayout copy = layout;
  TSavestateDocument document(copy);
  document.NewBlank({});
  return document.Image();
}

}  // namespace vantor::clitest
