#include "settings/profile_format.h"

#include <cstddef>

namespace settings {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kNewLine = "\r\n";

// Blanks as the platform trims them; ^Z is an old end-of-file mark.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\x1A'; }

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Case folds ASCII letters only. A byte of 0x80 or more starts a double-byte
// character whose second byte may look like a letter; the pair is compared
// as it is so that two different characters never match.
bool NamesMatch(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (static_cast<unsigned char>(a[i]) >= 0x80) {
      if (a[i] != b[i]) return false;
      if (i + 1 < a.size() && a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (LowerAscii(a[i]) != LowerAscii(b[i])) {
      return false;
    }
  }
  return true;
}

struct Line {
  std::size_t begin = 0;  // first byte
  std::size_t end = 0;    // one past the last byte before the line end
  std::size_t next = 0;   // first byte of the next line
};

Line LineAt(std::string_view text, std::size_t begin) {
  Line line{begin, begin, begin};
  while (line.end < text.size() && !IsLineEnd(text[line.end])) ++line.end;
  line.next = line.end;
  if (line.next < text.size() && text[line.next] == '\r') ++line.next;
  if (line.next < text.size() && text[line.next] == '\n') ++line.next;
  return line;
}

// A section line: "[" at its start and a "]" after it; the name runs to the
// last "]".
std::optional<std::string_view> SectionName(std::string_view content) {
  if (content.empty() || content.front() != '[') return std::nullopt;
  const std::size_t close = content.rfind(']');
  if (close == 0 || close == std::string_view::npos) return std::nullopt;
  return Trim(content.substr(1, close - 1));
}

struct Entry {
  std::string_view name;
  std::size_t equals = std::string_view::npos;  // offset in the text
};

Entry EntryOf(std::size_t contentBegin, std::string_view content) {
  const std::size_t equals = content.find('=');
  if (equals == std::string_view::npos) return {content, equals};
  return {Trim(content.substr(0, equals)), contentBegin + equals};
}

// Where the first section of a name and the first key of a name in it sit.
struct Location {
  bool sectionFound = false;
  Line lastLine;  // last non-blank line of the section (its header at least)
  bool keyFound = false;
  Line keyLine;
  std::size_t contentEnd = 0;  // key line without its trailing blanks
  std::size_t equals = std::string_view::npos;
};

Location Locate(std::string_view text, std::string_view section, std::string_view key) {
  Location at;
  // Lines before the first section line form a section without a name.
  at.sectionFound = section.empty();
  std::size_t pos = text.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
  while (pos < text.size()) {
    const Line line = LineAt(text, pos);
    pos = line.next;
    const std::string_view raw = text.substr(line.begin, line.end - line.begin);
    const std::string_view content = Trim(raw);
    if (content.empty()) continue;
    const std::size_t contentBegin = line.begin + (content.data() - raw.data());
    if (const auto name = SectionName(content)) {
      if (at.sectionFound) break;  // the section ends; a later one of its name does not count
      if (NamesMatch(*name, section)) {
        at.sectionFound = true;
        at.lastLine = line;
      }
      continue;
    }
    if (!at.sectionFound) continue;
    at.lastLine = line;
    const Entry entry = EntryOf(contentBegin, content);
    if (NamesMatch(entry.name, key)) {
      at.keyFound = true;
      at.keyLine = line;
      at.contentEnd = contentBegin + content.size();
      at.equals = entry.equals;
      break;
    }
  }
  return at;
}

// A value as the platform hands it out: trimmed, cut at a zero byte, one
// pair of matching quotes taken off.
std::string_view CleanValue(std::string_view value) {
  value = Trim(value);
  value = value.substr(0, value.find('\0'));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

bool HasStructureBreak(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

bool IsStorableEntry(std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  if (section.empty() || key.empty()) return false;
  if (HasStructureBreak(section) || HasStructureBreak(key) || HasStructureBreak(value)) return false;
  return key.find('=') == std::string_view::npos && key.front() != '[';
}

std::optional<std::string_view> FindProfileValue(std::string_view text, std::string_view section,
                                                 std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  if (key.empty()) return std::nullopt;
  const Location at = Locate(text, section, key);
  if (!at.keyFound) return std::nullopt;
  if (at.equals == std::string_view::npos) return std::string_view();
  return CleanValue(text.substr(at.equals + 1, at.contentEnd - at.equals - 1));
}

std::vector<std::pair<std::string, std::string>> ProfileSectionEntries(std::string_view text,
                                                                       std::string_view section) {
  std::vector<std::pair<std::string, std::string>> entries;
  section = Trim(section);
  bool inSection = section.empty();
  std::size_t pos = text.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
  while (pos < text.size()) {
    const Line line = LineAt(text, pos);
    pos = line.next;
    const std::string_view content = Trim(text.substr(line.begin, line.end - line.begin));
    if (content.empty()) continue;
    if (const auto name = SectionName(content)) {
      if (inSection) break;  // only the first section of its name counts
      inSection = NamesMatch(*name, section);
      continue;
    }
    if (!inSection) continue;
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) {
      entries.emplace_back(std::string(content), std::string());
    } else {
      entries.emplace_back(std::string(Trim(content.substr(0, equals))),
                           std::string(CleanValue(content.substr(equals + 1))));
    }
  }
  return entries;
}

std::optional<std::string> SetProfileValue(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value) {
  if (!IsStorableEntry(section, key, value)) return std::nullopt;
  section = Trim(section);
  key = Trim(key);
  value = Trim(value);
  const Location at = Locate(text, section, key);
  std::string out;
  out.reserve(text.size() + section.size() + key.size() + value.size() + 8);

  if (at.keyFound) {
    // Keep the line up to "=" as it was (its name keeps its letter case).
    if (at.equals != std::string_view::npos) {
      out.append(text.substr(0, at.equals + 1));
    } else {
      out.append(text.substr(0, at.contentEnd)).append("=");
    }
    out.append(value);
    out.append(text.substr(at.keyLine.end));
    return out;
  }

  std::string entry;
  entry.append(key).append("=").append(value).append(kNewLine);
  if (at.sectionFound) {
    const Line& last = at.lastLine;
    out.append(text.substr(0, last.next));
    if (last.next == last.end) out.append(kNewLine);  // last line had no line end
    out.append(entry);
    out.append(text.substr(last.next));
    return out;
  }

  out.append(text);
  const bool onlyBom = text == kUtf8Bom;
  if (!text.empty() && !onlyBom && !IsLineEnd(text.back())) out.append(kNewLine);
  out.append("[").append(section).append("]").append(kNewLine).append(entry);
  return out;
}

}  // namespace settings
