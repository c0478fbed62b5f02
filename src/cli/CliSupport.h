// What every command of vantor-cli shares: exit statuses, errors, the layout, loading and
// writing savestates, the names of the memory blocks.
#pragma once

#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "cli/CliArgs.h"
#include "document/Errors.h"
#include "document/FieldSpec.h"
#include "document/Layout.h"
#include "document/SavestateDocument.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor {

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;    // the command line is wrong
constexpr int kExitFile = 2;     // wrong file type, a file that cannot be read or written,
                                 // a savestate shorter than its layout says
constexpr int kExitNoEntry = 3;  // the layout has no usable entry for the block or field asked

// A wrong command line; what() is the short reason, the usage text follows it.
class EUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A value the field cannot take (exit status 1); what() is the whole message.
class EValueError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The layout names no usable entry for what was asked.
class ENoEntryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct TCliContext {
  TCommandLine Args;
  std::ostream& Out;
  std::ostream& Err;
  std::string ProgramPath;  // the executable, for finding the layout file
  // Filled in as the command goes, so that errors can name the files: the layout file read
  // (empty for the built-in layout) and the savestate loaded last.
  std::string LayoutPath;
  std::string StatePath;
};

// The layout of --layout FILE, or the file the desktop program reads (vantor.ini in its
// directories), never created; the built-in layout when there is none.
TLayout LoadLayout(TCliContext& context);

// "The layout file "x.ini"", or "The built-in layout" for an empty path: how messages about
// the layout's entries begin.
std::string TheLayout(const std::string& layoutPath);
// A message of the document about the layout file ("Error in INI File: Section ...") with
// the file named: "Error in INI File "x.ini": Section ...".
std::string NameLayoutFile(const std::string& layoutPath, const std::string& message);
// "Stream read error: "a.gs0" is shorter than its layout says.", or the write error likewise.
std::string StreamErrorMessage(const EStreamError& error, const std::string& statePath);

// A savestate loaded with its own copy of the layout: the VSRAM byte-order detection rewrites
// the layout's [VDP] VSRAM entry for this file.
struct TLoadedState {
  std::string Path;
  std::string LayoutPath;  // as TCliContext::LayoutPath
  std::unique_ptr<TLayout> Layout;
  std::unique_ptr<TSavestateDocument> Document;
  int VSRAMDetection = 0;
  TVSRAMReason VSRAMReason = TVSRAMReason::vrOff;

  SavestateImage& Image() { return Document->Image(); }
};

// Throws EFileError with "Wrong File Type!" or the file message when it cannot be read.
TLoadedState LoadState(TCliContext& context, const TLayout& layout, const std::string& path);

// Runs work, which reads or writes the state's image; a stream error names the savestate. For
// commands on two savestates (the one-savestate commands are covered by the error handler).
template <typename Work>
decltype(auto) OnStateImage(const TLoadedState& state, Work&& work) {
  try {
    return work();
  } catch (const EStreamError& error) {
    throw EFileError(StreamErrorMessage(error, state.Path));
  }
}

// The -o file; EUsageError when it is missing.
std::string OutputPath(const TCliContext& context);
// Writes the image to the -o file, replacing it only once fully written.
void WriteStateToOutput(const TCliContext& context, const TLoadedState& state);

// The positional argument at index, which the argument count check guarantees.
const std::string& Argument(const TCliContext& context, std::size_t index);

// Integer option values in the integer syntax, checked against [low, high].
int IntegerOption(const TCliContext& context, std::string_view option, int defaultValue, int low,
                  int high);

// The memory blocks the tool names, with their layout entries.
struct TBlockName {
  std::string_view Name;
  std::string_view Section;
  std::string_view Key;
};
inline constexpr TBlockName kBlockNames[] = {
    {"main-ram", "CPU MC68000", "RAM"},
    {"z80-ram", "CPU Z80", "RAM"},
    {"vram", "VDP", "RAM"},
    {"cram", "VDP", "CRAM"},
    {"vsram", "VDP", "VSRAM"},
};
// EUsageError for a name that is not in kBlockNames.
const TBlockName& BlockByName(std::string_view name);
// ENoEntryError naming the entry when it names bytes no savestate has (a block of 2 GiB).
void CheckEntrySize(const TLoadedState& state, std::string_view section, std::string_view key);
// The block's entry; ENoEntryError when it is not usable or too large.
TFieldSpec BlockEntry(const TLoadedState& state, const TBlockName& block);
// Loads the VDP model from the image (ImageToVDP) once CheckEntrySize has passed every entry
// the model is read from.
void LoadVDPModel(TLoadedState& state, TMegaDriveVDP& vdp);

// The sections whose LineNNN entries are register lines.
inline constexpr std::string_view kRegisterSections[] = {"CPU MC68000", "CPU Z80", "VDP", "PSG",
                                                         "YM2612"};
inline constexpr int kLineCount = 1000;

}  // namespace vantor
