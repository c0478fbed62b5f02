// The emulator's savestate of tests/data/emulator-h40, read as the program reads it: the
// built-in layout with VSRAM byte order detection on.
#pragma once

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "TestData.h"
#include "document/DefaultLayout.h"
#include "document/SavestateDocument.h"
#include "statemodel/StateModel.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor::testkit {

inline std::unique_ptr<TMegaDriveVDP> LoadEmulatorFixture() {
  const std::filesystem::path path = testdata::TestDataPath("emulator-h40/state.gs0");
  TLayout layout(LayoutIni::FromText(DefaultLayoutText()));
  TSavestateDocument document(layout);
  if (document.Load(path.string(), nullptr).Status != TSavestateDocument::TLoadStatus::lsLoaded)
    throw std::runtime_error("cannot load " + path.string());
  auto vdp = std::make_unique<TMegaDriveVDP>();
  ImageToVDP(layout, document.Image(), *vdp);
  return vdp;
}

}  // namespace vantor::testkit
