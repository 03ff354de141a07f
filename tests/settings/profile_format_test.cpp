#include "settings/profile_format.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using settings::FindProfileValue;
using settings::SetProfileValue;
using namespace std::string_literals;

TEST(ProfileFormatTest, ReadsLikeThePlatform) {
  const std::string text =
      "AutoRun=9\r\n[ Normal ]\r\n  autorun =  1  \r\nAUTORUN=2\r\nAutoMin=\t01\x1A\r\nbare\r\n"
      "[Q]\nX=\"quoted\"\nY='s'\nZ=\"\nW=\"abc\nV=\"\"\nU=\"a'\nT= \" sp \" \n"
      "[Hdr] junk\rk==1\r[Record\rEnableRecord=3\r[Tail]]\r\nz=1\r\n"
      "[normal]\r\nEnableSpeed=1";
  const std::vector<std::tuple<std::string, std::string, std::optional<std::string>>> cases = {
      {"NORMAL", "AutoRun", "1"},
      {"Normal", "AutoMin", "01"},
      {"Normal", "bare", ""},
      {"Q", "X", "quoted"},
      {"Q", "Y", "s"},
      {"Q", "Z", "\""},
      {"Q", "W", "\"abc"},
      {"Q", "V", ""},
      {"Q", "U", "\"a'"},
      {"Q", "T", " sp "},
      {"Hdr", "k", "=1"},
      {"Hdr", "EnableRecord", "3"},
      {"Record", "EnableRecord", std::nullopt},
      {"Tail]", "z", "1"},
      // Only the first section of a name counts; lines before any section
      // form a section without a name.
      {"Normal", "EnableSpeed", std::nullopt},
      {"Q", "AutoRun", std::nullopt},
      {"", "AutoRun", "9"},
      {"", "X", std::nullopt},
  };
  for (const auto& [section, key, expected] : cases) {
    const auto found = FindProfileValue(text, section, key);
    EXPECT_EQ(found ? std::optional<std::string>(*found) : std::nullopt, expected) << section << "/" << key;
  }
  // A whole section reads the same, every line in its order.
  using Entries = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(settings::ProfileSectionEntries(text, "normal"),
            (Entries{{"autorun", "1"}, {"AUTORUN", "2"}, {"AutoMin", "01"}, {"bare", ""}}));
  EXPECT_EQ(settings::ProfileSectionEntries(text, "Hdr"),
            (Entries{{"k", "=1"}, {"[Record", ""}, {"EnableRecord", "3"}}));
  EXPECT_EQ(settings::ProfileSectionEntries(text, ""), (Entries{{"AutoRun", "9"}}));
  EXPECT_TRUE(settings::ProfileSectionEntries(text, "Exclude").empty());
}

TEST(ProfileFormatTest, OddBytesNeitherMatchNorHideTheRestOfTheFile) {
  const std::string text = "\xEF\xBB\xBF[A]\r\nv=1\0abc\r\nk\0ey=7\r\n[\x81\x41]\r\nw=2"s;
  EXPECT_EQ(FindProfileValue(text, "a", "v"), "1");  // byte-order mark skipped, value ends at zero
  EXPECT_EQ(FindProfileValue(text, "A", "k"), std::nullopt);
  EXPECT_EQ(FindProfileValue(text, "\x81\x41", "W"), "2");
  // 0x41 and 0x61 are second bytes of two different double-byte characters.
  EXPECT_EQ(FindProfileValue(text, "\x81\x61", "w"), std::nullopt);
}

TEST(ProfileFormatTest, WritesOnlyWhatItMust) {
  EXPECT_EQ(SetProfileValue("", "Normal", "AutoRun", " 1 "), "[Normal]\r\nAutoRun=1\r\n");
  // Replaced in place, the name keeping its letter case.
  EXPECT_EQ(SetProfileValue("; x\r\n[Normal]\r\n  autorun = 0 ; old\r\nAutoMin=1\n\n[S]\r\nk=2", "NORMAL",
                            "AutoRun", "1"),
            "; x\r\n[Normal]\r\n  autorun =1\r\nAutoMin=1\n\n[S]\r\nk=2");
  EXPECT_EQ(SetProfileValue("[A]\nk  \n", "A", "k", "5"), "[A]\nk=5\n");
  // A new key after the last line of its section, a new section at the end.
  const std::string two = "[A]\r\nk=1\r\n\r\n;c\r\n\r\n[B]\r\nj=2";
  EXPECT_EQ(SetProfileValue(two, "a", "n", "3"), "[A]\r\nk=1\r\n\r\n;c\r\nn=3\r\n\r\n[B]\r\nj=2");
  EXPECT_EQ(SetProfileValue(two, "B", "m", "4"), two + "\r\nm=4\r\n");
  EXPECT_EQ(SetProfileValue(two, "C", "o", "5"), two + "\r\n[C]\r\no=5\r\n");
  EXPECT_EQ(SetProfileValue("[A]\n", "C", "o", "5"), "[A]\n[C]\r\no=5\r\n");
  EXPECT_EQ(SetProfileValue("[A]", "A", "o", "5"), "[A]\r\no=5\r\n");
  // Writes go where reads look: the first section; lines before any section stay.
  EXPECT_EQ(SetProfileValue("k=1\r\n[S]\r\nx=1\r\n[s]\r\nk=9\r\n", "S", "k", "2"),
            "k=1\r\n[S]\r\nx=1\r\nk=2\r\n[s]\r\nk=9\r\n");
  EXPECT_EQ(SetProfileValue("\xEF\xBB\xBF", "A", "k", "1"), "\xEF\xBB\xBF[A]\r\nk=1\r\n");
}

TEST(ProfileFormatTest, RefusesEntriesThatWouldChangeOtherLines) {
  for (const auto& [section, key, value] : std::vector<std::tuple<std::string, std::string, std::string>>{
           {"Normal", "AutoRun", "1\r\n[Evil]\r\nx=y"},
           {"Normal", "AutoRun", "1\n"},
           {"Normal", "AutoRun", "1\0x"s},
           {"Nor\nmal", "AutoRun", "1"},
           {"Normal", "a=b", "1"},
           {"Normal", "[x", "y]"},
           {" ", "AutoRun", "1"},
           {"Normal", "", "1"}}) {
    EXPECT_FALSE(settings::IsStorableEntry(section, key, value)) << key << "=" << value;
    EXPECT_EQ(SetProfileValue("[Normal]\r\n", section, key, value), std::nullopt);
  }
  EXPECT_TRUE(settings::IsStorableEntry("Speed", "Name", "普通加速 [x] = \"y\""));
}

TEST(ProfileFormatTest, HugeLinesAndBinaryBytesSurviveAWrite) {
  std::string binary;
  for (int b = 0; b < 256; ++b) binary += static_cast<char>(b);
  const std::string text = std::string(1 << 20, '[') + "\n[A]\r\nk=" + std::string(1 << 20, '7') + "\r\n" +
                           binary + "\r\n[B]\r\nj=1";
  EXPECT_EQ(FindProfileValue(text, "A", "k")->size(), 1u << 20);
  EXPECT_EQ(FindProfileValue(text, "B", "j"), "1");
  EXPECT_EQ(SetProfileValue(text, "B", "j", "2"), text.substr(0, text.size() - 1) + "2");
}

// Random texts from the format's own punctuation: a write must be found by
// the next read, change no other entry and remove no line break.
TEST(ProfileFormatTest, RandomTextsKeepEveryOtherEntry) {
  const std::vector<std::string> tokens = {"[A]", "[a]",     "[b]",  "[Normal",  "[Normal]",    "k",
                                           "K2",  "autorun", "=",    "1",        " ",           "\t",
                                           "\r",  "\n",      "\r\n", "\0"s,      "\"",          "'",
                                           "]",   "[",       "\x1A", "\xD6\xD0", "\xEF\xBB\xBF"};
  const std::vector<std::string> sections = {"A", "b", "Normal"};
  const std::vector<std::string> keys = {"k", "K2", "AutoRun"};
  const std::vector<std::string> values = {"1", "", "7 7", "\xD6\xD0"};
  std::mt19937 random(20240607);
  auto pick = [&](const auto& list) { return list[random() % list.size()]; };
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 40); n > 0; --n) text += pick(tokens);
    const std::string section = pick(sections), key = pick(keys), value = pick(values);
    const std::optional<std::string> written = SetProfileValue(text, section, key, value);
    ASSERT_TRUE(written) << text;
    ASSERT_EQ(FindProfileValue(*written, section, key), value) << text;
    for (const auto& s : sections) {
      for (const auto& k : keys) {
        if (s == section && k == key) continue;
        ASSERT_EQ(FindProfileValue(*written, s, k), FindProfileValue(text, s, k)) << text;
      }
    }
    std::size_t prefix = 0, suffix = 0;
    while (prefix < text.size() && prefix < written->size() && text[prefix] == (*written)[prefix]) ++prefix;
    while (suffix < text.size() - prefix && suffix < written->size() - prefix &&
           text[text.size() - 1 - suffix] == (*written)[written->size() - 1 - suffix]) {
      ++suffix;
    }
    const std::string removed = text.substr(prefix, text.size() - prefix - suffix);
    ASSERT_EQ(removed.find_first_of("\r\n"), std::string::npos) << text;
  }
}

}  // namespace
