// Text helpers shared by every part of the program.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

class AnsiCodePage;

// Decodes the UTF-8 sequence at text[pos]; advances pos. Malformed bytes
// come out as U+FFFD one byte at a time, so decoding always terminates.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

// One code point as UTF-8.
std::string EncodeUtf8(char32_t codePoint);

// UTF-16 to UTF-8 and back; an unpaired surrogate or a malformed byte
// becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// Bytes the whole text takes in the ANSI code page.
std::size_t AnsiLength(std::string_view utf8, const AnsiCodePage& codePage);

// The longest prefix of utf8 whose ANSI form fits in maxBytes, cut only
// between whole characters (a double-byte character is never split).
std::string CutToAnsiBytes(std::string_view utf8, std::size_t maxBytes, const AnsiCodePage& codePage);

// The number at the start of a text: blanks, optional sign, digits with at
// most one decimal point. A text without a leading number counts as 0.
double LeadingNumber(std::string_view text);

}  // namespace platform
