// A base fixture for tests that work on real files: a fresh fake platform and a temporary folder,
// removed again after the test, with helpers to write and read files in it.
#pragma once
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/unit/fake_platform.h"

class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeReset();
    char pattern[] = "/tmp/wh_test_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    EXPECT_EQ(gFake.openFiles, 0) << "every opened file is closed again";
    std::string command = "rm -rf '" + folder_ + "'";
    EXPECT_EQ(system(command.c_str()), 0);
  }

  std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }

  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(PathOf(name), std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return PathOf(name);
  }

  std::string MakeFolder(const std::string& name) const {
    EXPECT_EQ(mkdir(PathOf(name).c_str(), 0755), 0);
    return PathOf(name);
  }

  static bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }

  std::string folder_;
};
