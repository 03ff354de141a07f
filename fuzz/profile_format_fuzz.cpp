// Fuzzes the settings file reader and writer: whatever the file holds, a
// read never crashes, and a storable write reads back as written.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/profile_format.h"

namespace {

// Input layout: section \x01 key \x01 value \x01 file text.
std::string_view Field(std::string_view& input) {
  const auto end = input.find('\x01');
  std::string_view field = input.substr(0, end);
  input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  return field;
}

// The blanks the private-profile format drops around names and values
// (end-of-file marks included, as the platform's reader does).
bool Blank(char c) { return std::string_view(" \t\v\f\r\x1A").find(c) != std::string_view::npos; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && Blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && Blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view section = Field(input);
  const std::string_view key = Field(input);
  const std::string_view value = Field(input);
  const std::string_view text = input;

  settings::FindProfileValue(text, section, key);
  const auto written = settings::SetProfileValue(text, section, key, value);
  if (written.has_value() != settings::IsStorableEntry(section, key, value)) __builtin_trap();
  if (written) {
    const auto read = settings::FindProfileValue(*written, section, key);
    if (!read) __builtin_trap();
    // The reader trims blanks and drops one pair of surrounding quotes.
    std::string_view expected = Trim(value);
    if (expected.size() >= 2 && (expected.front() == '"' || expected.front() == '\'') &&
        expected.back() == expected.front()) {
      expected = expected.substr(1, expected.size() - 2);
    }
    if (*read != expected) __builtin_trap();
    // No line of the old text is dropped.
    const auto lines = [](std::string_view t) { return std::count(t.begin(), t.end(), '\n'); };
    if (lines(*written) < lines(text)) __builtin_trap();
  }
  return 0;
}
