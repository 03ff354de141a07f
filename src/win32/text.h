// Conversions at the Win32 boundary: UTF-8 inside, UTF-16 for the user
// interface, the ANSI code page for files and the registry.
#pragma once

#include <string>
#include <string_view>

#include "platform/ports.h"

namespace win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
std::string Utf8ToAnsi(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

// Measures characters in the process's ANSI code page (CP_ACP).
class SystemAnsiCodePage : public platform::AnsiCodePage {
 public:
  std::size_t BytesOf(char32_t codePoint) const override;
};

}  // namespace win32
