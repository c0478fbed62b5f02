// dump and load: the raw bytes of a memory block.
#include <vector>

#include "cli/Commands.h"
#include "document/FileIO.h"

namespace vantor {

int RunDump(TCliContext& context) {
  const TBlockName& block = BlockByName(Argument(context, 1));
  const TLayout layout = LoadLayout(context);
  TLoadedState state = LoadState(context, layout, Argument(context, 0));
  const TFieldSpec spec = BlockEntry(state, block);

  std::vector<uint8_t> bytes(static_cast<std::size_t>(spec.Size));
  state.Image().ReadAt(static_cast<std::size_t>(spec.Offset), bytes.data(), bytes.size());
  WriteFileSafely(Argument(context, 2), bytes);
  return kExitOk;
}

int RunLoad(TCliContext& context) {
  const TBlockName& block = BlockByName(Argument(context, 1));
  OutputPath(context);
  const TLayout layout = LoadLayout(context);
  TLoadedState state = LoadState(context, layout, Argument(context, 0));
  const TFieldSpec spec = BlockEntry(state, block);

  // The block keeps its size: a short file leaves the rest zero, a long one is cut.
  const auto size = static_cast<std::size_t>(spec.Size);
  std::vector<uint8_t> bytes = ReadFileBytes(Argument(context, 2), size);
  bytes.resize(size, 0);
  state.Image().WriteAt(static_cast<std::size_t>(spec.Offset), bytes.data(), bytes.size());
  WriteStateToOutput(context, state);
  return kExitOk;
}

}  // namespace vantor
