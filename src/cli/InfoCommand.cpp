// info: identification, image size, VSRAM byte order and the VDP set-up.
#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "document/FieldSpec.h"

namespace vantor {
namespace {

struct TInfo {
  std::string Path;
  int64_t ImageSize = 0;
  int Detection = 0;  // 0 off, 1 little endian, 2 big endian
  bool VSRAMBigEndian = false;
};

TInfo gatherInfo(TLoadedState& state) {
  TInfo info;
  info.Path = state.Path;
  info.ImageSize = static_cast<int64_t>(state.Image().Size());
  info.Detection = state.VSRAMDetection;
  info.VSRAMBigEndian = HasFlag(state.Layout->ReadFieldSpec("VDP", "VSRAM").Flags, ffBigEndian);
  return info;
}

std::string vsramText(const TInfo& info) {
  std::string text = info.VSRAMBigEndian ? "big endian" : "little endian";
  return text + (info.Detection == 0 ? " (layout; detection off)" : " (detected)");
}

void printText(std::ostream& out, const TInfo& info) {
  out << "File:             " << info.Path << '\n'
      << "Identification:   matches the layout's file identifiers\n"
      << "Image size:       " << info.ImageSize << " bytes\n"
      << "VSRAM byte order: " << vsramText(info) << '\n';
}

void printJson(std::ostream& out, const TInfo& info) {
  TJsonWriter json(out);
  json.BeginObject();
  json.String("file", info.Path);
  json.Bool("identified", true);
  json.Number("imageSize", info.ImageSize);
  json.BeginObject("vsram");
  json.String("byteOrder", info.VSRAMBigEndian ? "big" : "little");
  json.Bool("detected", info.Detection != 0);
  json.End();
  json.End();
}

}  // namespace

int RunInfo(TCliContext& context) {
  const TLayout layout = LoadLayout(context);
  TLoadedState state = LoadState(context, layout, Argument(context, 0));
  const TInfo info = gatherInfo(state);
  if (context.Args.Has("--json")) {
    printJson(context.Out, info);
  } else {
    printText(context.Out, info);
  }
  return kExitOk;
}

}  // namespace vantor
