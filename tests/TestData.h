// The test data kept in the repository (tests/data; its README.md says where each file came
// from).
#pragma once

#include <string>
#include <string_view>

namespace vantor::testdata {

// The path of tests/data/name in the source tree ("emulator-h40/state.gs0").
std::string TestDataPath(std::string_view name);

}  // namespace vantor::testdata
