// The process the tick raised: raising it, putting it back to the class it
// had, and the record that lets the next start put it back when the program
// was killed while it was raised.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ports.h"

namespace engine {

inline constexpr std::string_view kFrameWindowClass = "ApplicationFrameWindow";
inline constexpr std::string_view kCoreWindowClass = "Windows.UI.Core.CoreWindow";

// What the tick raised, held open with set and query rights until it is put
// back, so the id can never come to mean another process meanwhile.
struct RaisedProcess {
  platform::ProcessPriorities::Handle handle;  // empty: nothing raised
  std::uint32_t processId = 0;
  std::uint64_t creationTime = 0;
  std::uint32_t classBefore = 0;  // what it goes back to
  std::uint32_t classSet = 0;     // read back after raising
  // This program's own entry among the records ("pid-creation time"),
  // worked out at the first raise.
  std::string recordName;
};

enum class RaiseResult {
  Granted,      // read back as asked
  Lowered,      // set rights, but the system gave another class
  Refused,      // no right to change it; its class was only read
  Unreachable,  // not even its class could be read (gone, or no rights)
  LeftAlone,    // it had a class of its own choosing, and was meant to keep it
};

struct RaiseOutcome {
  RaiseResult result = RaiseResult::Unreachable;
  std::uint32_t asked = 0;
  std::uint32_t obtained = 0;  // read back; 0 when unreadable
};

// The process to raise for a foreground window: for a Store app's frame
// window, the app inside it (its core window belongs to another process
// than the frame); else the window's. 0 for no window or one that is gone.
std::uint32_t TargetProcessId(platform::ForegroundWindows& windows, platform::WindowHandle window);

// Raises the process to `priorityClass`. When its class changed, it is held
// in `raised` and written to the records before the change is made. The
// caller puts back what was raised before first.
struct RaiseLimits {
  // Raised only from NORMAL: a class an application chose for one of its
  // processes (a browser's background pages at IDLE) stays.
  bool onlyFromNormal = false;
  // Not 0: only the process started then, the one a snapshot listed.
  std::uint64_t creationTime = 0;
};
RaiseOutcome RaiseProcess(platform::ProcessPriorities& processes, platform::RaisedRecords& records,
                          RaisedProcess& raised, std::uint32_t processId, std::uint32_t priorityClass,
                          const RaiseLimits& limits = {});

// When a process was started; 0 when it cannot be opened or read.
std::uint64_t CreationTimeOf(platform::ProcessPriorities& processes, std::uint32_t processId);

// This program's own name among the records, worked out once.
void NameOwnRecord(platform::ProcessPriorities& processes, RaisedProcess& raised);

// Puts the raised process back to its class before, but only while it still
// has the class the program set (someone else may have changed it since);
// then forgets it and its record.
void PutBack(platform::ProcessPriorities& processes, platform::RaisedRecords& records, RaisedProcess& raised);

// At start: every record left by a program that no longer runs is put back
// (when the process is still the one recorded and still has the class that
// was set) and removed. Records of programs still running stay. Returns how
// many processes were put back.
int PutBackAfterCrash(platform::ProcessPriorities& processes, platform::RaisedRecords& records);

// The text of a record and the name of its writer, as stored.
struct RaisedRecord {
  std::uint32_t processId = 0;
  std::uint64_t creationTime = 0;
  std::uint32_t classBefore = 0;
  std::uint32_t classSet = 0;
};
std::string FormatRecord(const RaisedRecord& record);
std::optional<RaisedRecord> ParseRecord(const std::string& text);
std::string RecordName(std::uint32_t processId, std::uint64_t creationTime);

// What the user is told when a raise did not give what was asked: asked,
// obtained and why. Empty when it was granted.
std::string OutcomeText(const RaiseOutcome& outcome);

}  // namespace engine
