#include "cli/CliSupport.h"

#include "cli/StateModel.h"
#include "document/Errors.h"
#include "document/LayoutFile.h"
#include "document/Numbers.h"

namespace vantor {

TLayout LoadLayout(TCliContext& context) {
  if (const auto path = context.Args.Value("--layout")) {
    TLayout layout(ReadLayoutFile(*path));
    context.LayoutPath = *path;
    return layout;
  }
  TLayoutLocations where = TLayoutLocations::FromEnvironment(context.ProgramPath);
  // The desktop program's layout file, whatever this tool is called.
  where.FileName = "vantor.ini";
  TLayoutFileResult found = OpenLayoutFile(where, false);
  if (!found.Error.empty()) context.Err << found.Error << " The built-in layout is used.\n";
  context.LayoutPath = found.Path;
  return TLayout(std::move(found.Ini));
}

std::string TheLayout(const std::string& layoutPath) {
  return layoutPath.empty() ? "The built-in layout" : "The layout file \"" + layoutPath + "\"";
}

std::string NameLayoutFile(const std::string& layoutPath, const std::string& message) {
  constexpr std::string_view kIniError = "Error in INI File:";
  if (layoutPath.empty() || !message.starts_with(kIniError)) return message;
  return "Error in INI File \"" + layoutPath + "\":" + message.substr(kIniError.size());
}

std::string StreamErrorMessage(const EStreamError& error, const std::string& statePath) {
  return std::string(error.what()) + ": \"" + statePath + "\"" +
         (error.Reading() ? " is shorter than its layout says." : " cannot grow that far.");
}

TLoadedState LoadState(TCliContext& context, const TLayout& layout, const std::string& path) {
  TLoadedState state;
  state.Path = path;
  state.LayoutPath = context.LayoutPath;
  state.Layout = std::make_unique<TLayout>(layout);
  state.Document = std::make_unique<TSavestateDocument>(*state.Layout);
  context.StatePath = path;
  const auto result = state.Document->Load(path, [&](const std::string& message) {
    context.Err << NameLayoutFile(context.LayoutPath, message) << '\n';
  });
  if (result.Status != TSavestateDocument::TLoadStatus::lsLoaded) {
    throw EFileError(std::string(kWrongFileType) + " \"" + path +
                     "\" does not match the layout's file identifiers.");
  }
  state.VSRAMDetection = result.VSRAMDetection;
  state.VSRAMReason = result.VSRAMReason;
  state.Document->SetFileName(path);
  return state;
}

std::string OutputPath(const TCliContext& context) {
  const auto output = context.Args.Value("-o");
  if (!output || output->empty()) throw EUsageError("the output file is missing (-o OUT)");
  return *output;
}

void WriteStateToOutput(const TCliContext& context, const TLoadedState& state) {
  state.Document->WriteTo(OutputPath(context));
}

const std::string& Argument(const TCliContext& context, std::size_t index) {
  return context.Args.Positional().at(index);
}

int IntegerOption(const TCliContext& context, std::string_view option, int defaultValue, int low,
                  int high) {
  const auto text = context.Args.Value(option);
  if (!text) return defaultValue;
  const auto value = TryParseInt32(*text);
  if (!value || *value < low || *value > high) {
    throw EUsageError(std::string(option) + " needs a number from " + std::to_string(low) + " to " +
                      std::to_string(high) + ", not \"" + *text + "\"");
  }
  return *value;
}

const TBlockName& BlockByName(std::string_view name) {
  for (const TBlockName& block : kBlockNames)
    if (block.Name == name) return block;
  throw EUsageError("unknown block \"" + std::string(name) +
                    "\" (main-ram, z80-ram, vram, cram or vsram)");
}

void CheckEntrySize(const TLoadedState& state, std::string_view section, std::string_view key) {
  const std::string error = state.Layout->OversizedEntryError(section, key);
  if (!error.empty()) throw ENoEntryError(NameLayoutFile(state.LayoutPath, error));
}

TFieldSpec BlockEntry(const TLoadedState& state, const TBlockName& block) {
  CheckEntrySize(state, block.Section, block.Key);
  TFieldSpec spec;
  if (!state.Layout->ReadFieldSpec(block.Section, block.Key, spec)) {
    throw ENoEntryError(TheLayout(state.LayoutPath) + " has no usable [" +
                        std::string(block.Section) + "] " + std::string(block.Key) +
                        " entry for the block " + std::string(block.Name) + ".");
  }
  return spec;
}

void LoadVDPModel(TLoadedState& state, TMegaDriveVDP& vdp) {
  for (std::string_view key : {"RAM", "CRAM", "VSRAM"})
    CheckEntrySize(state, "VDP", key);
  for (int i = 0; i < kLineCount; ++i)
    CheckEntrySize(state, "VDP", LineKey(i));
  ImageToVDP(*state.Layout, state.Image(), vdp);
}

}  // namespace vantor
