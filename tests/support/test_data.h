// Access to the files under tests/data for the unit tests.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace vesk {

inline std::string testDataPath(const std::string& relative) {
  return std::string(VESK_TEST_DATA_DIR "/") + relative;
}

// The whole file as bytes; empty (and a test failure) when it is missing.
inline std::string testDataBytes(const std::string& relative) {
  std::ifstream in(testDataPath(relative), std::ios::binary);
  if (!in) ADD_FAILURE() << "missing test file " << relative;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace vesk
