// The private-profile (.ini) text format, on the raw bytes of a file in
// whatever code page it is written: "[Section]" lines, "key=value" lines.
//
// Reading follows the platform's rules: names match without regard to ASCII
// case, values lose the blanks around them and one pair of matching quotes,
// only the first section of a name and the first key of a name in it count,
// and lines before the first section form one without a name. Writing
// changes only the bytes it has to, so whatever else the file holds survives.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace settings {

// Whether the entry can be written without changing the structure of the
// file: names not blank, no line breaks or zero bytes anywhere, no "=" in
// the key and no "[" at its start (that line would read as a section).
bool IsStorableEntry(std::string_view section, std::string_view key, std::string_view value);

// The value of key in section ("" for the lines before the first section
// line). nullopt when the section or the key is missing; a key line without
// "=" has the empty value. The value ends at a zero byte, as a C string
// handed out by the platform would.
std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key);

// Every "key=value" line of the first section of that name, keys and
// values trimmed (and unquoted) as above; a line without "=" has the empty
// value.
std::vector<std::pair<std::string, std::string>> ProfileSectionEntries(std::string_view text,
                                                                       std::string_view section);

// The text with key in section set to value (blanks around it dropped): an
// existing key is replaced in its line, a new key goes after the last line of
// its section, a new section at the end. New lines end with CR LF.
// nullopt when the entry is not storable.
std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value);

}  // namespace settings
