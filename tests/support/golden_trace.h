// Golden traces: a drive's trace, reduced to chosen fields, compared line by line with the file that holds it, so
// that a failure names the first line that differs. With VESK_UPDATE_GOLDEN=1 the file is written anew instead
// (review the difference before committing it).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace vesk::test {

inline bool updatingGolden() {
  const char* update = std::getenv("VESK_UPDATE_GOLDEN");
  return update != nullptr && std::string(update) == "1";
}

inline void expectGoldenTrace(const std::string& trace, const std::filesystem::path& path) {
  ASSERT_FALSE(trace.empty());
  if (updatingGolden()) {
    std::ofstream(path, std::ios::binary) << trace;
    GTEST_SKIP() << "trace written: " << path;
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in) << "no trace " << path << " (run with VESK_UPDATE_GOLDEN=1 to write it)";
  std::stringstream expected;
  expected << in.rdbuf();
  std::istringstream want(expected.str());
  std::istringstream got(trace);
  std::string a;
  std::string b;
  int line = 0;
  while (std::getline(want, a)) {
    ++line;
    ASSERT_TRUE(std::getline(got, b)) << "the drive ended early, at line " << line;
    ASSERT_EQ(b, a) << "first difference at line " << line;
  }
  EXPECT_FALSE(std::getline(got, b)) << "the drive ran longer than its trace";
}

}  // namespace vesk::test
