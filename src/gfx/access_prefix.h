// Captions carry their access key as a prefix: "&&" is a literal "&", "&x"
// marks x (the last such x wins) and a final "&" stays as it is. Text
// drawing underlines the marked character; the tab control takes it as the
// tab's access key. Both read the caption here.
#pragma once

#include <string_view>
#include <vector>

namespace tabctl {

// The characters of UTF-8 text; a stray or cut-off byte counts as one
// U+FFFD.
std::vector<char32_t> DecodeUtf8(std::string_view text);

struct PrefixedText {
  std::vector<char32_t> shown;  // the characters to show, prefixes taken out
  int marked = -1;              // index in `shown` of the marked one; -1: none
};

PrefixedText ApplyAccessPrefixes(std::string_view text);

}  // namespace tabctl
