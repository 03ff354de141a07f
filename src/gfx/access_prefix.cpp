#include "gfx/access_prefix.h"

namespace tabctl {

std::vector<char32_t> DecodeUtf8(std::string_view s) {
  std::vector<char32_t> out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto lead = static_cast<unsigned char>(s[i]);
    const int extra = lead < 0x80           ? 0
                      : (lead >> 5) == 0x6  ? 1
                      : (lead >> 4) == 0xE  ? 2
                      : (lead >> 3) == 0x1E ? 3
                                            : -1;
    char32_t cp = extra <= 0 ? lead : (lead & (0x3F >> extra));
    bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      ok = (next & 0xC0) == 0x80;
      cp = (cp << 6) | (next & 0x3F);
    }
    if (!ok) {  // a stray or cut-off byte counts as one replacement character
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

PrefixedText ApplyAccessPrefixes(std::string_view text) {
  PrefixedText result;
  const std::vector<char32_t> input = DecodeUtf8(text);
  result.shown.reserve(input.size());
  for (std::size_t i = 0; i < input.size(); ++i) {
    if (input[i] == U'&' && i + 1 < input.size()) {
      if (input[i + 1] == U'&') {
        result.shown.push_back(U'&');
        ++i;
      } else {
        result.marked = static_cast<int>(result.shown.size());
      }
      continue;
    }
    result.shown.push_back(input[i]);
  }
  return result;
}

}  // namespace tabctl
