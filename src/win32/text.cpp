#include "win32/text.h"

#include <windows.h>

namespace win32 {
namespace {

std::wstring ToWide(UINT codePage, std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string FromWide(UINT codePage, std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

}  // namespace

std::wstring Widen(std::string_view utf8) { return ToWide(CP_UTF8, utf8); }
std::string Narrow(std::wstring_view wide) { return FromWide(CP_UTF8, wide); }
std::string Utf8ToAnsi(std::string_view utf8) { return FromWide(CP_ACP, Widen(utf8)); }
std::string AnsiToUtf8(std::string_view ansi) { return Narrow(ToWide(CP_ACP, ansi)); }

std::optional<std::string> Utf8ToAnsiExactly(std::string_view utf8) {
  // A system set to UTF-8 as its ANSI code page holds everything (and
  // refuses the flags below).
  if (GetACP() == CP_UTF8) return std::string(utf8);
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return std::string();
  BOOL lost = FALSE;
  const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, &lost);
  if (n <= 0 || lost) return std::nullopt;
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, &lost);
  if (lost) return std::nullopt;
  return out;
}

std::size_t SystemAnsiCodePage::BytesOf(char32_t codePoint) const {
  if (codePoint < 0x80) return 1;  // ASCII is one byte in every ANSI code page
  wchar_t units[2];
  int count = 1;
  if (codePoint >= 0x10000 && codePoint <= 0x10FFFF) {
    codePoint -= 0x10000;
    units[0] = static_cast<wchar_t>(0xD800 + (codePoint >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
    count = 2;
  } else {
    units[0] = static_cast<wchar_t>(codePoint);
  }
  const int n = WideCharToMultiByte(CP_ACP, 0, units, count, nullptr, 0, nullptr, nullptr);
  return n > 0 ? static_cast<std::size_t>(n) : 1;
}

}  // namespace win32
