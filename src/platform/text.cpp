#include "platform/text.h"

#include <cstdlib>

#include "platform/ports.h"

namespace platform {

char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  constexpr char32_t kReplacement = 0xFFFD;
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  std::size_t extra;
  char32_t cp;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07;
  } else {
    return kReplacement;
  }
  if (pos + extra > text.size()) return kReplacement;
  for (std::size_t i = 0; i < extra; ++i) {
    const auto c = static_cast<unsigned char>(text[pos + i]);
    if ((c & 0xC0) != 0x80) return kReplacement;
    cp = (cp << 6) | (c & 0x3F);
  }
  pos += extra;
  return cp;
}

std::size_t AnsiLength(std::string_view utf8, const AnsiCodePage& codePage) {
  std::size_t bytes = 0;
  for (std::size_t pos = 0; pos < utf8.size();) bytes += codePage.BytesOf(NextCodePoint(utf8, pos));
  return bytes;
}

std::string CutToAnsiBytes(std::string_view utf8, std::size_t maxBytes,
                           const AnsiCodePage& codePage) {
  std::size_t bytes = 0;
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    std::size_t next = pos;
    const std::size_t width = codePage.BytesOf(NextCodePoint(utf8, next));
    if (bytes + width > maxBytes) break;
    bytes += width;
    pos = next;
  }
  return std::string(utf8.substr(0, pos));
}

double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::string number;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
  bool digits = false;
  bool point = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    number += c;
  }
  if (!digits) return 0.0;
  // strtod is locale-bound; the program's texts always use '.', and the
  // built-in "C" locale is what the program runs with.
  return std::strtod(number.c_str(), nullptr);
}

}  // namespace platform
