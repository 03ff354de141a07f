#include "engine/never_list.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "engine/priority.h"

namespace engine {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

// The built-in rules: the lock screen and sign-in, the touch keyboard and
// input host (raising them takes the machine from whoever types a password),
// and the shell's desktop and taskbar windows (raising the shell for a click
// on the desktop would raise its file copies and thumbnails too).
constexpr std::string_view kBuiltInProcesses[] = {"LockApp.exe", "LogonUI.exe", "TabTip.exe",
                                                  "TextInputHost.exe"};
constexpr std::string_view kBuiltInClasses[] = {"Progman", "WorkerW", "Shell_TrayWnd",
                                                "Shell_SecondaryTrayWnd"};
// The shell's own file windows may be raised, but at REALTIME it would
// starve the disk cache and the mouse.
constexpr std::string_view kShell = "explorer.exe";

char FoldByte(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  return c == '/' ? '\\' : c;
}

std::string Fold(std::string_view text) {
  std::string folded(text);
  std::transform(folded.begin(), folded.end(), folded.begin(), FoldByte);
  return folded;
}

std::string_view FileName(std::string_view foldedPath) {
  const auto slash = foldedPath.rfind('\\');
  return slash == std::string_view::npos ? foldedPath : foldedPath.substr(slash + 1);
}

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Past one character: a byte and the UTF-8 continuation bytes after it.
std::size_t NextChar(std::string_view text, std::size_t pos) {
  ++pos;
  while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
  return pos;
}

struct Compiled {
  std::string folded;
  std::size_t minBytes = 0;
  std::size_t tailBytes = 0;
  bool wildcards = false;
};

Compiled Compile(std::string_view rule) {
  Compiled c;
  c.folded.reserve(rule.size());
  for (char ch : rule) {
    ch = FoldByte(ch);
    if (ch == '*' && !c.folded.empty() && c.folded.back() == '*') continue;  // "**" is "*"
    c.folded += ch;
    if (ch == '*' || ch == '?') {
      c.wildcards = true;
      c.tailBytes = 0;
    } else {
      ++c.tailBytes;
    }
    if (ch != '*') ++c.minBytes;  // "?" takes one byte at least
  }
  return c;
}

// Backtracks only to the last star: once a later star is reached, what an
// earlier one took never needs to grow, as the later one can take it.
bool MatchFolded(std::string_view pattern, std::size_t minBytes, std::size_t tailBytes,
                 std::string_view text) {
  if (text.empty() || text.size() < minBytes) return false;
  // Most rules fail on their last letters (".exe" rarely does; a name does).
  if (text.substr(text.size() - tailBytes) != pattern.substr(pattern.size() - tailBytes)) return false;
  std::size_t p = 0, t = 0, star = kNone, starText = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = ++p;
      starText = t;
    } else if (p < pattern.size() && pattern[p] == '?') {
      ++p;
      t = NextChar(text, t);
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (star != kNone) {
      p = star;
      starText = NextChar(text, starText);
      t = starText;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesRule(std::string_view rule, std::string_view imagePath) {
  const Compiled c = Compile(rule);
  const std::string path = Fold(imagePath);
  const bool wholePath = c.folded.find('\\') != std::string::npos;
  return MatchFolded(c.folded, c.minBytes, c.tailBytes, wholePath ? std::string_view(path) : FileName(path));
}

std::uint32_t Verdict::Limit(std::uint32_t priorityClass) const {
  return cappedAtHigh && priorityClass == kRealtimePriority ? kHighPriority : priorityClass;
}

NeverList::NeverList() : NeverList(Entries{}) {}

NeverList::NeverList(const Entries& excludeSection) {
  // The first entry of a name decides, as it does when the file is read.
  std::unordered_map<std::string, std::string_view> values;
  std::vector<std::string_view> userKeys;
  for (const auto& [rawKey, rawValue] : excludeSection) {
    const std::string_view key = Trim(rawKey), value = Trim(rawValue);
    if (key.empty()) continue;
    const auto [at, added] = values.emplace(Fold(key), value);
    if (added && value == "1") userKeys.push_back(key);
  }
  const auto lifted = [&](std::string_view name) {
    const auto at = values.find(Fold(name));
    return at != values.end() && at->second == "0";
  };

  std::unordered_set<std::string> builtIn;
  for (const auto name : kBuiltInProcesses) {
    Add(std::string(name), RuleOrigin::kBuiltIn, RuleKind::kProcess, !lifted(name));
    builtIn.insert(Fold(name));
  }
  for (const auto name : kBuiltInClasses) {
    Add(std::string(name), RuleOrigin::kBuiltIn, RuleKind::kWindowClass, !lifted(name));
    builtIn.insert(Fold(name));
  }
  cap_ = rules_.size();
  Add(std::string(kShell), RuleOrigin::kBuiltIn, RuleKind::kCapAtHigh, !lifted(kShell));

  for (const auto key : userKeys) {
    if (!builtIn.contains(Fold(key))) Add(std::string(key), RuleOrigin::kUser, RuleKind::kProcess, true);
  }
}

void NeverList::Add(std::string text, RuleOrigin origin, RuleKind kind, bool inForce) {
  const std::size_t index = rules_.size();
  if (inForce && kind == RuleKind::kWindowClass) {
    windowClasses_.emplace(Fold(text), index);
  } else if (inForce && kind == RuleKind::kProcess) {
    Compiled c = Compile(text);
    const bool wholePath = c.folded.find('\\') != std::string::npos;
    if (!c.wildcards) {
      (wholePath ? exactPaths_ : exactNames_).emplace(std::move(c.folded), index);
    } else {
      wildcards_.push_back({std::move(c.folded), c.minBytes, c.tailBytes, index, wholePath});
    }
  }
  rules_.push_back({std::move(text), origin, kind, inForce});
}

Verdict NeverList::Judge(std::string_view imagePath, std::string_view windowClass) const {
  Verdict verdict;
  std::size_t best = kNone;
  if (!windowClass.empty()) {
    if (const auto at = windowClasses_.find(Fold(windowClass)); at != windowClasses_.end()) best = at->second;
  }
  const std::string path = Fold(imagePath);
  const std::string_view name = FileName(path);
  if (best == kNone && !path.empty()) {
    // The rule that comes first in Rules() is the one the tooltip names.
    if (const auto at = exactNames_.find(std::string(name)); at != exactNames_.end()) best = at->second;
    if (const auto at = exactPaths_.find(path); at != exactPaths_.end()) best = std::min(best, at->second);
    for (const Pattern& pattern : wildcards_) {
      if (pattern.rule > best) break;
      if (MatchFolded(pattern.folded, pattern.minBytes, pattern.tailBytes,
                      pattern.wholePath ? std::string_view(path) : name)) {
        best = pattern.rule;
        break;
      }
    }
  }
  if (best != kNone) {
    verdict.never = true;
    verdict.rule = rules_[best].text;
  } else if (rules_[cap_].inForce && name == kShell) {
    verdict.cappedAtHigh = true;
    verdict.rule = rules_[cap_].text;
  }
  return verdict;
}

RuleToggle ToggleOf(const RuleEntry& rule) {
  if (rule.origin == RuleOrigin::kUser) return {"0", "删除"};
  return rule.inForce ? RuleToggle{"0", "停用"} : RuleToggle{"-", "恢复"};
}

}  // namespace engine
