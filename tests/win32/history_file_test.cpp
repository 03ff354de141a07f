// The history file is replaced whole or not at all.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "e2e/driver.h"
#include "western_locale.h"
#include "win32/history_saving_win32.h"
#include "win32/text.h"
#include "win32/unique_handle.h"

namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

struct HistoryFileTest : ::testing::Test {
  e2e::TempFolder folder;
  fs::path target = folder.path() / L"log";  // no extension added
  size_t FilesInFolder() {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()));
  }
};

TEST_F(HistoryFileTest, ReplacesALongerFileLeavingNothingOfIt) {
  Write(target, std::string(5000, 'x'));
  EXPECT_EQ(win32::WriteFileReplacing(target.wstring(), "ab\r\n"), std::nullopt);
  EXPECT_EQ(Read(target), "ab\r\n");
  EXPECT_EQ(FilesInFolder(), 1u);  // no temporary file left behind
}

// What a save writes for a text, under the code page the tests run in.
struct SavedBytes {
  const char* text;
  std::string bytes;
};

void CheckSavedBytes(const fs::path& folder, const std::vector<SavedBytes>& cases) {
  win32::HistorySavingWin32 saving(nullptr);
  for (const SavedBytes& c : cases) {
    SCOPED_TRACE(c.text);
    const fs::path file = folder / L"记录.txt";
    ASSERT_EQ(saving.WriteWholeFile(win32::Narrow(file.wstring()), c.text), std::nullopt);
    EXPECT_EQ(Read(file), c.bytes);
  }
}

// The ANSI code page while it holds every character; UTF-8 with its byte
// order mark when it does not, rather than question marks.
TEST_F(HistoryFileTest, WritesTheTextInTheAnsiCodePageWhenItHoldsIt) {
  ASSERT_EQ(GetACP(), 936u) << "the Wine session should give code page 936";
  CheckSavedBytes(folder.path(), {
                                     {"加速\r\n", "\xBC\xD3\xCB\xD9\r\n"},
                                     {"a\r\n", "a\r\n"},
                                     {"加速 🚀\r\n", "\xEF\xBB\xBF加速 🚀\r\n"},
                                 });
}

TEST_F(WesternLocale, HistoryTheCodePageCannotHoldIsSavedAsUtf8) {
  e2e::TempFolder folder;
  CheckSavedBytes(folder.path(), {
                                     {"café\r\n", "caf\xE9\r\n"},
                                     {"加速\r\n", "\xEF\xBB\xBF加速\r\n"},
                                 });
}

TEST_F(HistoryFileTest, FailuresKeepTheOldFileAndALaterSaveWorks) {
  const auto missing = win32::WriteFileReplacing((folder.path() / L"none" / L"log.txt").wstring(), "x");
  ASSERT_TRUE(missing.has_value());
  EXPECT_FALSE(missing->empty());

  Write(target, "old content");
  {
    win32::UniqueHandle held(
        CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(win32::WriteFileReplacing(target.wstring(), "new").has_value());
  }
  EXPECT_EQ(Read(target), "old content");

  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(win32::WriteFileReplacing(target.wstring(), "new").has_value());
  EXPECT_EQ(Read(target), "old content");
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);

  EXPECT_EQ(FilesInFolder(), 1u);
  EXPECT_EQ(win32::WriteFileReplacing(target.wstring(), "new"), std::nullopt);
  EXPECT_EQ(Read(target), "new");
}

}  // namespace
