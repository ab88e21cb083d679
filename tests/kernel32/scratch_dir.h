// A fixture that runs each test in a fresh temporary directory (the current directory while the
// test runs) and helpers that set up files with POSIX calls, not with the functions under test.
#pragma once

#include "under_wine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class ScratchDir : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates (or replaces) a file relative to the scratch directory, making its parents.
    static void writeFile(const std::string &path, const std::string &content);
    static std::string readFile(const std::string &path); // "<missing>" when it does not exist
    static void makeDir(const std::string &path);

  private:
    std::filesystem::path previous_;
    std::filesystem::path dir_;
};
