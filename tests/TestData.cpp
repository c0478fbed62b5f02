#include "TestData.h"

namespace vantor::testdata {

std::string TestDataPath(std::string_view name) {
  // The folder is the one compile definition that differs between clones: kept to this file,
  // so that a build in another clone takes every other object from the compiler cache.
  return std::string(VANTOR_TEST_DATA) + "/" + std::string(name);
}

}  // namespace vantor::testdata
