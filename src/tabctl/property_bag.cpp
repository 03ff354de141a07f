#include "tabctl/property_bag.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

namespace tabctl {
namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

template <typename T>
const T* As(const PropertyBag::Entry* e) {
  return e ? std::get_if<T>(&e->value) : nullptr;
}

// ---- writing the text form ----

void AppendQuoted(std::string& out, std::string_view text) {
  out.push_back('"');
  for (unsigned char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buffer[5];
          std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
          out += buffer;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  out.push_back('"');
}

std::string NumberText(double v) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, result.ptr);
}

std::string FontText(const TabFont& font) {
  std::string out = "font(";
  AppendQuoted(out, font.name);
  out += ", " + NumberText(font.size);
  if (font.bold) out += ", bold";
  if (font.italic) out += ", italic";
  if (font.underline) out += ", underline";
  if (font.strikethrough) out += ", strikethrough";
  out += ", charset=" + std::to_string(font.charset);
  out += ")";
  return out;
}

// ---- reading the text form ----

class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  void SkipBlanks() {
    while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool Take(char c) {
    SkipBlanks();
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  bool TakeWord(std::string_view word) {
    SkipBlanks();
    if (text_.substr(pos_, word.size()) != word) return false;
    const std::size_t after = pos_ + word.size();
    if (after < text_.size() && IsWordChar(text_[after])) return false;
    pos_ = after;
    return true;
  }
  std::string_view Word() {
    SkipBlanks();
    const std::size_t start = pos_;
    while (!AtEnd() && IsWordChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  std::optional<std::string> Quoted() {
    SkipBlanks();
    if (AtEnd() || text_[pos_] != '"') return std::nullopt;
    ++pos_;
    std::string out;
    while (!AtEnd()) {
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      if (AtEnd()) return std::nullopt;
      const char e = text_[pos_++];
      // The one-letter escapes and what each stands for.
      static constexpr std::string_view kEscaped = "\"\\nrt", kMeant = "\"\\\n\r\t";
      if (const std::size_t at = kEscaped.find(e); at != std::string_view::npos) {
        out.push_back(kMeant[at]);
        continue;
      }
      // Else only a byte in two hex digits.
      if (e != 'x' || pos_ + 2 > text_.size()) return std::nullopt;
      unsigned value = 0;
      const char* first = text_.data() + pos_;
      const auto r = std::from_chars(first, first + 2, value, 16);
      if (r.ec != std::errc() || r.ptr != first + 2) return std::nullopt;
      out.push_back(static_cast<char>(value));
      pos_ += 2;
    }
    return std::nullopt;  // no closing quote
  }

  // A decimal integer or 0x hex; hex is reported through isHex.
  std::optional<std::int64_t> Integer(bool& isHex) {
    SkipBlanks();
    isHex = false;
    const char* first = text_.data() + pos_;
    const char* last = text_.data() + text_.size();
    std::int64_t value = 0;
    if (last - first > 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X')) {
      std::uint64_t u = 0;
      const auto r = std::from_chars(first + 2, last, u, 16);
      if (r.ec != std::errc() || r.ptr == first + 2 || u > 0xFFFFFFFFull) return std::nullopt;
      pos_ += static_cast<std::size_t>(r.ptr - first);
      isHex = true;
      return static_cast<std::int64_t>(u);
    }
    const auto r = std::from_chars(first, last, value, 10);
    if (r.ec != std::errc() || r.ptr == first) return std::nullopt;
    if (r.ptr != last && (*r.ptr == '.' || IsWordChar(*r.ptr))) return std::nullopt;
    pos_ += static_cast<std::size_t>(r.ptr - first);
    return value;
  }

  std::optional<double> Decimal() {
    SkipBlanks();
    const char* first = text_.data() + pos_;
    const char* last = text_.data() + text_.size();
    double value = 0;
    const auto r = std::from_chars(first, last, value, std::chars_format::fixed);
    if (r.ec != std::errc() || r.ptr == first) return std::nullopt;
    pos_ += static_cast<std::size_t>(r.ptr - first);
    return value;
  }

 private:
  static bool IsWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// font("name", size[, bold][, italic][, underline][, strikethrough][, charset=N])
std::optional<TabFont> ReadFontValue(LineReader& r) {
  if (!r.Take('(')) return std::nullopt;
  TabFont font;
  auto name = r.Quoted();
  if (!name || !r.Take(',')) return std::nullopt;
  font.name = std::move(*name);
  auto size = r.Decimal();
  if (!size || !(*size > 0) || *size > 2048) return std::nullopt;
  font.size = *size;
  while (r.Take(',')) {
    const std::string_view option = r.Word();
    if (option == "bold") {
      font.bold = true;
    } else if (option == "italic") {
      font.italic = true;
    } else if (option == "underline") {
      font.underline = true;
    } else if (option == "strikethrough") {
      font.strikethrough = true;
    } else if (option == "charset") {
      bool hex = false;
      if (!r.Take('=')) return std::nullopt;
      auto charset = r.Integer(hex);
      if (!charset || *charset < 0 || *charset > 255) return std::nullopt;
      font.charset = static_cast<std::int32_t>(*charset);
    } else {
      return std::nullopt;
    }
  }
  if (!r.Take(')')) return std::nullopt;
  return font;
}

}  // namespace

// ---- the bag ----

const PropertyBag::Entry* PropertyBag::Find(std::string_view key) const {
  for (const Entry& e : entries_) {
    if (EqualsNoCase(e.key, key)) return &e;
  }
  return nullptr;
}

void PropertyBag::Set(std::string_view key, Value value, bool hexadecimal) {
  for (Entry& e : entries_) {
    if (EqualsNoCase(e.key, key)) {
      e.value = std::move(value);
      e.hexadecimal = hexadecimal;
      return;
    }
  }
  entries_.push_back(Entry{std::string(key), std::move(value), hexadecimal});
}

void PropertyBag::Remove(std::string_view key) {
  std::erase_if(entries_, [key](const Entry& e) { return EqualsNoCase(e.key, key); });
}

void PropertyBag::WriteInt(std::string_view key, std::int32_t value, std::int32_t defaultValue) {
  if (value == defaultValue) return Remove(key);
  Set(key, std::int64_t{value});
}

void PropertyBag::WriteColor(std::string_view key, Color value, Color defaultValue) {
  if (value == defaultValue) return Remove(key);
  Set(key, std::int64_t{value}, true);
}

void PropertyBag::WriteBool(std::string_view key, bool value, bool defaultValue) {
  if (value == defaultValue) return Remove(key);
  Set(key, value);
}

void PropertyBag::WriteText(std::string_view key, std::string_view value, std::string_view defaultValue) {
  if (value == defaultValue) return Remove(key);
  Set(key, std::string(value));
}

void PropertyBag::WriteFont(std::string_view key, const TabFont& value, const TabFont& defaultValue) {
  if (value == defaultValue) return Remove(key);
  Set(key, value);
}

void PropertyBag::WritePicture(std::string_view key, const Picture& value) {
  if (value.IsNone()) return Remove(key);
  Set(key, value);
}

void PropertyBag::NoteMisfit(std::string_view key) const { misfits_.emplace_back(key); }

template <typename T, typename Fits>
const T* PropertyBag::Stored(std::string_view key, Fits fits) const {
  const Entry* e = Find(key);
  if (!e) return nullptr;
  const auto* v = As<T>(e);
  if (!v || !fits(*v)) {
    NoteMisfit(key);
    return nullptr;
  }
  return v;
}

namespace {

constexpr auto kAnyValue = [](const auto&) { return true; };

}  // namespace

std::int32_t PropertyBag::ReadInt(std::string_view key, std::int32_t defaultValue) const {
  const auto* v = Stored<std::int64_t>(key, [](std::int64_t n) {
    return n >= std::numeric_limits<std::int32_t>::min() && n <= std::numeric_limits<std::int32_t>::max();
  });
  return v ? static_cast<std::int32_t>(*v) : defaultValue;
}

Color PropertyBag::ReadColor(std::string_view key, Color defaultValue) const {
  // A colour may come as its 32-bit pattern or as the signed number of it.
  const auto* v = Stored<std::int64_t>(
      key, [](std::int64_t n) { return n >= std::numeric_limits<std::int32_t>::min() && n <= 0xFFFFFFFFll; });
  return v ? static_cast<Color>(static_cast<std::uint64_t>(*v) & 0xFFFFFFFFull) : defaultValue;
}

bool PropertyBag::ReadBool(std::string_view key, bool defaultValue) const {
  const auto* v = Stored<bool>(key, kAnyValue);
  return v ? *v : defaultValue;
}

std::string PropertyBag::ReadText(std::string_view key, std::string_view defaultValue) const {
  const auto* v = Stored<std::string>(key, kAnyValue);
  return v ? *v : std::string(defaultValue);
}

TabFont PropertyBag::ReadFont(std::string_view key, const TabFont& defaultValue) const {
  const auto* v = Stored<TabFont>(key, kAnyValue);
  return v ? *v : defaultValue;
}

Picture PropertyBag::ReadPicture(std::string_view key) const {
  const auto* v = Stored<Picture>(key, kAnyValue);
  return v ? *v : Picture{};
}

std::string PropertyBag::ToText(PictureCodec* codec) const {
  std::string out;
  for (const Entry& e : entries_) {
    std::string value;
    if (const auto* i = std::get_if<std::int64_t>(&e.value)) {
      if (e.hexadecimal && *i >= 0 && *i <= 0xFFFFFFFFll) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(*i));
        value = buffer;
      } else {
        value = std::to_string(*i);
      }
    } else if (const auto* b = std::get_if<bool>(&e.value)) {
      value = *b ? "true" : "false";
    } else if (const auto* s = std::get_if<std::string>(&e.value)) {
      AppendQuoted(value, *s);
    } else if (const auto* f = std::get_if<TabFont>(&e.value)) {
      value = FontText(*f);
    } else if (const auto* p = std::get_if<Picture>(&e.value)) {
      if (!codec || p->IsNone()) continue;
      value = "picture(";
      AppendQuoted(value, codec->Encode(*p));
      value += ")";
    }
    out += e.key;
    out += " = ";
    out += value;
    out += '\n';
  }
  return out;
}

namespace {

// A line's value, or why the line is left out (`issue`; empty when the
// value is simply malformed).
struct LineValue {
  std::optional<PropertyBag::Value> value;
  bool hexadecimal = false;
  std::string issue;
};

// picture("...") after the word: the codec's picture, or why there is none.
LineValue ReadPictureValue(LineReader& r, std::string_view key, PictureCodec* codec) {
  LineValue result;
  std::optional<std::string> data;
  if (!r.Take('(') || !(data = r.Quoted()) || !r.Take(')')) return result;
  r.SkipBlanks();
  if (!r.AtEnd()) {
    result.issue = "unexpected text after the value of " + std::string(key);
    return result;
  }
  if (!codec) {
    result.issue = "picture of " + std::string(key) + " left out: no picture reader";
    return result;
  }
  Picture picture;
  try {
    picture = codec->Decode(*data);
  } catch (...) {
  }
  if (picture.IsNone()) {
    result.issue = "picture of " + std::string(key) + " could not be read";
    return result;
  }
  result.value = std::move(picture);
  return result;
}

LineValue ReadLineValue(std::string_view text, std::string_view key, PictureCodec* codec) {
  LineReader r(text);
  r.SkipBlanks();
  LineValue result;
  if (r.TakeWord("true")) {
    result.value = true;
  } else if (r.TakeWord("false")) {
    result.value = false;
  } else if (r.TakeWord("font")) {
    if (auto font = ReadFontValue(r)) result.value = std::move(*font);
  } else if (r.TakeWord("picture")) {
    result = ReadPictureValue(r, key, codec);
    if (!result.issue.empty()) return result;
  } else if (auto quoted = r.Quoted()) {
    result.value = std::move(*quoted);
  } else if (auto number = r.Integer(result.hexadecimal)) {
    result.value = *number;
  }
  r.SkipBlanks();
  if (!result.value || !r.AtEnd()) {
    result.value.reset();
    result.issue = "malformed value of " + std::string(key);
  }
  return result;
}

// Line `number` into the bag; an empty line or a comment is nothing. What
// keeps a line out, or is worth knowing about it, goes to the issues.
void ReadLine(std::string_view line, int number, PictureCodec* codec, ParsedPropertyBag& result) {
  auto issue = [&](std::string message) {
    result.issues.push_back(PropertyTextIssue{number, std::move(message)});
  };
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line[first] == '#') return;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return issue("no \"=\" after the key");
  std::string_view key = line.substr(first, equals - first);
  while (!key.empty() && (key.back() == ' ' || key.back() == '\t')) key.remove_suffix(1);
  if (key.empty() || key.find_first_of(" \t\"") != std::string_view::npos) return issue("malformed key");
  LineValue value = ReadLineValue(line.substr(equals + 1), key, codec);
  if (!value.value) return issue(std::move(value.issue));
  if (result.bag.Contains(key)) issue(std::string(key) + " given again; the later value counts");
  result.bag.Set(key, std::move(*value.value), value.hexadecimal);
}

}  // namespace

ParsedPropertyBag ParsePropertyText(std::string_view text, PictureCodec* codec) {
  ParsedPropertyBag result;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ReadLine(line, lineNumber, codec, result);
  }
  return result;
}

}  // namespace tabctl
