// Tests that need a Western system locale (ANSI code page 1252). CTest runs
// them apart as WesternLocale, with LC_ALL=en_US.UTF-8 and
// QUILL_WESTERN_PROBE set: Wine takes the code page from the locale the
// process starts in. A run of the whole program skips them.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>

class WesternLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("QUILL_WESTERN_PROBE")) GTEST_SKIP() << "runs as WesternLocale";
    ASSERT_EQ(GetACP(), 1252u) << "not started under a Western locale";
  }
};
