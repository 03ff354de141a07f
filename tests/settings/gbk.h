// Code page 936 for the native tests, through glibc's iconv.
#pragma once

#include <iconv.h>

#include <string>

#include "platform/ports.h"

namespace testing_gbk {

inline std::string Convert(const char* to, const char* from, const std::string& text) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no iconv>";
  std::string out(text.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* dst = out.data();
  std::size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1)) break;
    // Like the platform: what does not convert becomes "?".
    *dst++ = '?', --outLeft;
    ++in, --inLeft;
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

struct GbkConverter : platform::AnsiConverter {
  std::string ToAnsi(const std::string& utf8) const override { return Convert("GBK", "UTF-8", utf8); }
  std::string ToUtf8(const std::string& ansi) const override { return Convert("UTF-8", "GBK", ansi); }
};

}  // namespace testing_gbk
