// Which processes are never raised, and which are raised to HIGH at most.
//
// A rule is an executable's file name ("game.exe": matched against the part
// of the image path after its last backslash) or a full path (it holds a
// backslash: matched against the whole image path). "*" stands for any run
// of characters, none included, and runs across backslashes, so
// "C:\Games\*" covers everything below C:\Games however deep; "?" stands
// for one character (one UTF-8 sequence, not one byte). Case is ignored for
// ASCII letters only; other bytes compare as they are. "/" in a rule or path
// counts as "\", as it does for Windows' own path functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace engine {

// Whether rule matches imagePath under the rules above. An empty image path
// (one that could not be read) matches nothing: we do not know the program.
// Time is at most proportional to the rule's length times the path's; no
// recursion, so no rule can exhaust the stack or run away.
bool MatchesRule(std::string_view rule, std::string_view imagePath);

enum class RuleOrigin { kBuiltIn, kUser };

enum class RuleKind {
  kProcess,      // the process is never raised
  kWindowClass,  // a foreground window of this class is never acted on
  kCapAtHigh,    // the process may be raised, but never above HIGH
};

struct RuleEntry {
  std::string text;  // as written (keys lose the blanks around them)
  RuleOrigin origin = RuleOrigin::kUser;
  RuleKind kind = RuleKind::kProcess;
  bool inForce = true;  // false: a built-in rule lifted with the value 0
};

struct Verdict {
  bool never = false;
  bool cappedAtHigh = false;  // never wins: both are never true
  std::string rule;           // the deciding rule's text, for the tooltip; empty when neither

  // The class to ask for in place of priorityClass: HIGH where REALTIME was
  // wanted and the process is capped; otherwise priorityClass.
  std::uint32_t Limit(std::uint32_t priorityClass) const;
};

// The [Exclude] section in force, with the built-in rules.
//
// Each entry is key = rule, value "1" (the rule is in force) or "0" (lifts
// the built-in rule of that name; for any other name it means nothing).
// Other values, blank keys and repeats of a key (the first counts, as the
// profile reader takes the first) are ignored. Writing a built-in's name
// with "1" changes nothing, except "explorer.exe=1": that turns the shell's
// cap into a rule never to raise it; "explorer.exe=0" lifts the cap, so the
// shell is raised like any other program.
class NeverList {
 public:
  using Entries = std::vector<std::pair<std::string, std::string>>;

  NeverList();  // the built-in rules only
  explicit NeverList(const Entries& excludeSection);

  // What to do with the process of imagePath owning a foreground window of
  // windowClass. Pass an empty class for a child process (no window).
  Verdict Judge(std::string_view imagePath, std::string_view windowClass) const;

  // Every rule for the settings dialog: the built-ins first, in force or
  // lifted, then the user's in the order of the file.
  const std::vector<RuleEntry>& Rules() const { return rules_; }

 private:
  struct Pattern {
    std::string folded;         // lower case, "/" as "\", runs of "*" as one
    std::size_t minBytes = 0;   // the shortest text it can match
    std::size_t tailBytes = 0;  // literal bytes after its last wildcard
    std::size_t rule = 0;       // index into rules_
    bool wholePath = false;
  };

  void Add(std::string text, RuleOrigin origin, RuleKind kind, bool inForce);

  std::vector<RuleEntry> rules_;
  // Rules without wildcards are looked up, not matched: a list of many
  // full paths (each added from the history page) costs one hash per path.
  std::unordered_map<std::string, std::size_t> exactNames_, exactPaths_, windowClasses_;
  std::vector<Pattern> wildcards_;  // in rules_ order
  std::size_t cap_ = 0;             // index of the shell's cap in rules_
};

// What the never-list dialog's button does to a rule: the [Exclude] value
// it writes for the rule's key, and its caption. A rule of the user's is
// removed ("0" means nothing for a name that is not built in), a built-in
// in force is lifted ("0"), a lifted one comes back (a value that is
// neither 0 nor 1 leaves the built-in as it is, the shell's cap too).
struct RuleToggle {
  std::string value;
  std::string caption;
};
RuleToggle ToggleOf(const RuleEntry& rule);

}  // namespace engine
