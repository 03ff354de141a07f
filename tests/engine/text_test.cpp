#include "platform/text.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "fakes.h"
#include "platform/error_boundary.h"

namespace {

TEST(TextTest, LeadingNumberReadsSignDigitsAndOnePoint) {
  using platform::LeadingNumber;
  EXPECT_EQ(LeadingNumber("100"), 100);
  EXPECT_EQ(LeadingNumber("0100"), 100);
  EXPECT_EQ(LeadingNumber("100.0"), 100);
  EXPECT_EQ(LeadingNumber("-1"), -1);
  EXPECT_EQ(LeadingNumber("+1x"), 1);
  EXPECT_EQ(LeadingNumber("1.5.3"), 1.5);
  EXPECT_EQ(LeadingNumber(" 7"), 7);
  EXPECT_EQ(LeadingNumber("."), 0);
  EXPECT_EQ(LeadingNumber("-"), 0);
  EXPECT_EQ(LeadingNumber("x1"), 0);
  EXPECT_EQ(LeadingNumber(""), 0);
}

TEST(TextTest, CutNeverSplitsACharacterAndHandlesBrokenUtf8) {
  fakes::DoubleByteCodePage cp;
  EXPECT_EQ(platform::CutToAnsiBytes("中文", 3, cp), "中");
  EXPECT_EQ(platform::CutToAnsiBytes("中文", 4, cp), "中文");
  EXPECT_EQ(platform::CutToAnsiBytes("a中", 1, cp), "a");
  EXPECT_EQ(platform::CutToAnsiBytes("", 0, cp), "");
  EXPECT_EQ(platform::AnsiLength("a中b", cp), 4u);
  // A truncated sequence decodes to a replacement and never reads past the end.
  const std::string broken = "ab\xE4\xB8";
  EXPECT_EQ(platform::AnsiLength(broken, cp), 2u + 2u + 2u);
}

}  // namespace

namespace {

TEST(TextTest, Utf16RoundTripsAndReplacesUnpairedSurrogates) {
  const std::string text = "a中\xF0\x9F\x98\x80z";  // with a character beyond the basic plane
  EXPECT_EQ(platform::Utf8ToUtf16(text), (std::u16string{u'a', u'中', 0xD83D, 0xDE00, u'z'}));
  EXPECT_EQ(platform::Utf16ToUtf8(platform::Utf8ToUtf16(text)), text);
  EXPECT_EQ(platform::Utf16ToUtf8(std::u16string{0xD800, u'x'}), "\xEF\xBF\xBDx");
  EXPECT_EQ(platform::Utf16ToUtf8(std::u16string{u'x', 0xDC00}), "x\xEF\xBF\xBD");
}

}  // namespace

namespace {

std::vector<std::string> told;
void Record(std::string_view step, std::string_view what) {
  told.push_back(std::string(step) + "|" + std::string(what));
}

// A skipped failure never reaches the caller, and leaves its trace with the
// step's name where a sink is set.
TEST(ErrorBoundaryTest, AFailureIsSkippedAndToldWithItsStep) {
  told.clear();
  platform::SkipFailure("no sink", [] { throw std::runtime_error("lost"); });
  platform::SetSkippedFailureSink(&Record);
  bool after = false;
  platform::SkipFailure("paint", [] { throw std::runtime_error("no DC"); });
  platform::SkipFailure("click", [] { throw 42; });
  platform::SkipFailure("fine", [&] { after = true; });
  platform::SetSkippedFailureSink(nullptr);
  EXPECT_TRUE(after);
  EXPECT_EQ(told, (std::vector<std::string>{"paint|no DC", "click|"}));
}

}  // namespace
