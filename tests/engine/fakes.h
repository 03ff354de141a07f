// Hand-written fakes of the engine's ports. They record what was asked of
// them so that tests can check order and arguments.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/acceleration.h"
#include "engine/history.h"
#include "platform/ports.h"
#include "platform/text.h"
#include "platform/texts.h"

namespace fakes {

// The system's priority classes by name, as the fake processes hold them.
// The system's values, not the engine's: a wrong constant there must show.
inline constexpr std::uint32_t kIdle = 0x40, kBelowNormal = 0x4000, kNormal = 0x20;
inline constexpr std::uint32_t kAboveNormal = 0x8000, kHigh = 0x80, kRealtime = 0x100;

struct Windows : platform::ForegroundWindows {
  platform::WindowHandle foreground = 0;
  std::map<platform::WindowHandle, std::string> titles;
  std::map<platform::WindowHandle, std::uint32_t> owners;  // missing = destroyed
  std::map<platform::WindowHandle, std::string> classes;
  std::map<platform::WindowHandle, platform::WindowHandle> parents;
  int titleReads = 0;

  platform::WindowHandle Foreground() override { return foreground; }
  std::u16string Title(platform::WindowHandle w) override {
    ++titleReads;
    auto it = titles.find(w);
    return it == titles.end() ? std::u16string() : platform::Utf8ToUtf16(it->second);
  }
  std::uint32_t OwnerProcessId(platform::WindowHandle w) override {
    auto it = owners.find(w);
    return it == owners.end() ? 0 : it->second;
  }
  std::string ClassName(platform::WindowHandle w) override {
    return owners.count(w) && classes.count(w) ? classes[w] : std::string();
  }
  std::vector<platform::WindowHandle> ChildrenOfClass(platform::WindowHandle parent,
                                                      const std::string& cls) override {
    std::vector<platform::WindowHandle> children;
    for (const auto& [child, p] : parents) {
      if (p == parent && ClassName(child) == cls) children.push_back(child);
    }
    return children;
  }
};

// Processes by id with their class; "queryOnly" ones refuse set rights.
struct Processes : platform::ProcessPriorities {
  struct Process {
    std::uint32_t priorityClass = kNormal;
    bool queryOnly = false;
    bool hidden = false;        // cannot even be queried
    std::uint64_t created = 0;  // 0: the process id itself times 1000
    // What the system grants when asked for REALTIME (HIGH without the privilege).
    std::uint32_t realtimeGrants = kRealtime;
    bool exited = false;  // ended, but still held open by someone
  };
  std::map<std::uint32_t, Process> processes;
  std::uint32_t self = 1000;
  std::vector<std::string> calls;
  std::map<Raw, std::uint32_t> open;  // handle -> pid
  Raw nextHandle = 0x40;

  static const char* NameOf(Access access) {
    return access == Access::Change ? "change" : access == Access::Query ? "query" : "identify";
  }
  Raw OpenRaw(Access access, std::uint32_t pid) override {
    calls.push_back(std::string("open ") + NameOf(access) + " " + std::to_string(pid));
    auto it = processes.find(pid);
    if (pid == 0 || it == processes.end() || it->second.hidden) return 0;
    if (access == Access::Change && it->second.queryOnly) return 0;
    open[nextHandle] = pid;
    return nextHandle++;
  }
  void CloseRaw(Raw h) override {
    calls.push_back("close " + std::to_string(open.at(h)));
    open.erase(h);
  }
  std::uint32_t Pid(const Handle& h) { return open.at(RawOf(h)); }
  bool SetClass(const Handle& h, std::uint32_t cls) override {
    calls.push_back("set " + std::to_string(Pid(h)) + " " + std::to_string(cls));
    Process& p = processes[Pid(h)];
    p.priorityClass = cls == 256 ? p.realtimeGrants : cls;
    return true;
  }
  std::uint32_t GetClass(const Handle& h) override { return processes[Pid(h)].priorityClass; }
  std::uint32_t CurrentProcessId() override { return self; }
  std::uint64_t CreationTime(const Handle& h) override {
    const std::uint32_t pid = Pid(h);
    return processes[pid].created != 0 ? processes[pid].created : pid * 1000ull;
  }
  bool HasExited(const Handle& h) override { return processes[Pid(h)].exited; }
  std::uint32_t ClassOf(std::uint32_t pid) { return processes[pid].priorityClass; }
};

// Who started whom; each snapshot is counted.
struct Tree : platform::ProcessTree {
  std::vector<platform::ProcessLink> links;
  int snapshots = 0;
  std::vector<platform::ProcessLink> Snapshot() override {
    ++snapshots;
    return links;
  }
  std::map<std::uint32_t, std::string> paths;  // missing: cannot be read
  std::string ImagePath(std::uint32_t id) override { return paths.count(id) ? paths[id] : std::string(); }
};

// The records kept for the next start, by name.
struct RaisedRecords : platform::RaisedRecords {
  std::map<std::string, std::string> values;
  bool failWrites = false;
  int writes = 0;
  std::vector<std::pair<std::string, std::string>> List() override { return {values.begin(), values.end()}; }
  bool Write(const std::string& name, const std::string& text) override {
    if (failWrites) return false;
    ++writes;
    values[name] = text;
    return true;
  }
  void Delete(const std::string& name) override { values.erase(name); }
};

struct Clock : platform::Clock {
  std::string now = "14:05:09";
  std::string LongTimeText() override { return now; }
};

// Code page 936 as far as byte counts go: ASCII is one byte, the rest two.
struct DoubleByteCodePage : platform::AnsiCodePage {
  std::size_t BytesOf(char32_t cp) const override { return cp < 0x80 ? 1 : 2; }
};

struct Controls : engine::AccelerationControls {
  bool accelerate = true;
  std::string speed = std::string(platform::kLevelNormal);
  bool record = true;
  std::string info = "LabelInfo", tooltip, count = "LabelCount";
  bool warning = false;
  std::vector<std::string> notices;
  int writes = 0;

  bool AccelerationChecked() override { return accelerate; }
  std::string SpeedText() override { return speed; }
  bool RecordChecked() override { return record; }
  bool children = false;
  bool ChildrenChecked() override { return children; }
  void SetInfoCaption(const std::string& t) override { info = t, ++writes; }
  void SetInfoTooltip(const std::string& t) override { tooltip = t, ++writes; }
  void SetCountCaption(const std::string& t) override { count = t, ++writes; }
  void SetInfoWarning(bool w) override { warning = w; }
  void ShowNotice(const std::string& t) override { notices.push_back(t); }
};

struct HistoryList : engine::HistoryList {
  std::vector<engine::HistoryEntry> rows;
  std::vector<int> icons;
  std::string autoClean = "50";
  bool failAppend = false;

  int RowCount() override { return static_cast<int>(rows.size()); }
  void Clear() override { rows.clear(), icons.clear(); }
  // As the list view: a failed insert adds nothing, and writes to any
  // existing row succeed.
  std::optional<int> AppendRow(const std::string& text) override {
    if (failAppend) return std::nullopt;
    rows.push_back({text, "", "", ""});
    icons.push_back(0);
    return RowCount() - 1;
  }
  bool SetRowText(int row, int column, const std::string& text) override {
    if (row < 0 || row >= RowCount()) return false;
    auto& r = rows[static_cast<std::size_t>(row)];
    (column == 2 ? r.time : column == 3 ? r.title : r.level) = text;
    return true;
  }
  bool SetRowIcon(int row, int image) override {
    if (row < 0 || row >= RowCount()) return false;
    icons[static_cast<std::size_t>(row)] = image;
    return true;
  }
  std::string AutoCleanText() override { return autoClean; }
  engine::HistoryEntry Row(int position) override { return rows.at(position - 1); }
};

}  // namespace fakes
