// Conversions at the Win32 boundary: UTF-8 inside, UTF-16 for the user
// interface and the system's paths, the ANSI code page for the text of the
// files the program writes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/ports.h"

namespace win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
std::string Utf8ToAnsi(std::string_view utf8);
// The text in the ANSI code page, or nullopt when that code page cannot
// hold every character of it (no best-fit look-alikes, no question marks).
std::optional<std::string> Utf8ToAnsiExactly(std::string_view utf8);
std::string AnsiToUtf8(std::string_view ansi);

// Measures characters in the process's ANSI code page (CP_ACP).
class SystemAnsiCodePage : public platform::AnsiCodePage {
 public:
  std::size_t BytesOf(char32_t codePoint) const override;
};

}  // namespace win32
