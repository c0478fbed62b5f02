// The commands of vantor-cli. Each returns the exit status or throws (CliSupport.h).
#pragma once

#include "cli/CliSupport.h"

namespace vantor {

int RunInfo(TCliContext& context);
int RunRender(TCliContext& context);
int RunInspect(TCliContext& context);
int RunVRAMMap(TCliContext& context);
int RunPatterns(TCliContext& context);
int RunPatternsImport(TCliContext& context);
int RunMap(TCliContext& context);
int RunSprites(TCliContext& context);
int RunPaletteExport(TCliContext& context);
int RunPaletteImport(TCliContext& context);
int RunDump(TCliContext& context);
int RunLoad(TCliContext& context);
int RunGet(TCliContext& context);
int RunSet(TCliContext& context);
int RunDiff(TCliContext& context);

}  // namespace vantor
