// Narrow interfaces to the operating system. The portable code talks only to
// these; the Windows layer implements them with the real API and the native
// tests replace them with fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// A window handle as a plain number; 0 means "no window".
using WindowHandle = std::uintptr_t;

// The foreground window and what belongs to it.
class ForegroundWindows {
 public:
  virtual ~ForegroundWindows() = default;
  virtual WindowHandle Foreground() = 0;
  // Full title as UTF-16, as the wide API reads it; never cut here.
  virtual std::u16string Title(WindowHandle window) = 0;
  // Id of the process that created the window; 0 when the window is gone.
  virtual std::uint32_t OwnerProcessId(WindowHandle window) = 0;
  // Window class name; empty when the window is gone.
  virtual std::string ClassName(WindowHandle window) = 0;
  // Direct child windows of `parent` with the given class name.
  virtual std::vector<WindowHandle> ChildrenOfClass(WindowHandle parent, const std::string& className) = 0;
};

// Process priority classes of any process.
class ProcessPriorities {
 public:
  // What a process is opened for: to change its class (and read it back),
  // to read its class, or only to tell which process it is (when it
  // started, whether it has ended), which the system grants the most often.
  enum class Access { Change, Query, Identify };

  // An open process, closed through its port when the handle goes; empty
  // when the process could not be opened. Move-only: two owners of one
  // open process would close it twice.
  class Handle {
   public:
    Handle() = default;
    Handle(Handle&& other) noexcept
        : port_(std::exchange(other.port_, nullptr)), raw_(std::exchange(other.raw_, 0)) {}
    Handle& operator=(Handle&& other) noexcept {
      if (this != &other) {
        Close();
        port_ = std::exchange(other.port_, nullptr);
        raw_ = std::exchange(other.raw_, 0);
      }
      return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle() { Close(); }
    explicit operator bool() const { return raw_ != 0; }

   private:
    friend class ProcessPriorities;
    Handle(ProcessPriorities* port, std::uintptr_t raw) : port_(raw != 0 ? port : nullptr), raw_(raw) {}
    void Close() {
      if (raw_ != 0) port_->CloseRaw(raw_);
      port_ = nullptr;
      raw_ = 0;
    }
    ProcessPriorities* port_ = nullptr;
    std::uintptr_t raw_ = 0;
  };

  virtual ~ProcessPriorities() = default;
  Handle OpenForChange(std::uint32_t processId) { return Open(Access::Change, processId); }
  Handle OpenForQuery(std::uint32_t processId) { return Open(Access::Query, processId); }
  Handle OpenToIdentify(std::uint32_t processId) { return Open(Access::Identify, processId); }

  virtual bool SetClass(const Handle& process, std::uint32_t priorityClass) = 0;
  // 0 when the query fails.
  virtual std::uint32_t GetClass(const Handle& process) = 0;
  virtual std::uint32_t CurrentProcessId() = 0;
  // When the process was started, in 100 ns units; 0 when it cannot be
  // read. Together with the id it names one process: ids are reused.
  virtual std::uint64_t CreationTime(const Handle& process) = 0;
  // True once the process has ended. An ended process can still be opened
  // while anyone holds a handle to it.
  virtual bool HasExited(const Handle& process) = 0;

 protected:
  // The system's own handle behind an open process; 0 means none.
  using Raw = std::uintptr_t;
  virtual Raw OpenRaw(Access access, std::uint32_t processId) = 0;
  virtual void CloseRaw(Raw process) = 0;
  static Raw RawOf(const Handle& process) { return process.raw_; }

 private:
  Handle Open(Access access, std::uint32_t processId) { return Handle(this, OpenRaw(access, processId)); }
};

// One process and the one that started it, as a snapshot of all lists them.
struct ProcessLink {
  std::uint32_t id = 0;
  std::uint32_t parentId = 0;  // may name a process that has ended, or a later one of that id
};

// Every process running now.
class ProcessTree {
 public:
  virtual ~ProcessTree() = default;
  // Empty when no snapshot could be taken.
  virtual std::vector<ProcessLink> Snapshot() = 0;
  // The full path of the process's executable; empty when it cannot be read.
  virtual std::string ImagePath(std::uint32_t processId) = 0;
};

// Small named texts that outlive the program when it is killed but not a
// restart of the session: the record of what it left raised.
class RaisedRecords {
 public:
  virtual ~RaisedRecords() = default;
  virtual std::vector<std::pair<std::string, std::string>> List() = 0;
  virtual bool Write(const std::string& name, const std::string& text) = 0;
  virtual void Delete(const std::string& name) = 0;
};

// The local time of day as the user's long time format lays it out.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::string LongTimeText() = 0;
};

// The system ANSI code page, as far as the program measures text in it.
class AnsiCodePage {
 public:
  virtual ~AnsiCodePage() = default;
  // Bytes that one Unicode code point takes in the ANSI code page
  // (an unmappable one is written as a one-byte replacement).
  virtual std::size_t BytesOf(char32_t codePoint) const = 0;
};

// Conversion between the program's UTF-8 and the system ANSI code page, for
// text that the program keeps in files and the registry.
class AnsiConverter {
 public:
  virtual ~AnsiConverter() = default;
  // Characters the code page lacks come out as its replacement character.
  virtual std::string ToAnsi(const std::string& utf8) const = 0;
  virtual std::string ToUtf8(const std::string& ansi) const = 0;
};

// Named strings in private-profile (.ini) files. Paths, names and values are
// UTF-8 here; the file holds them in the ANSI code page.
class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // What a read into a buffer of bufferBytes ANSI bytes with the empty text as
  // default yields: the value cut to bufferBytes - 1 ANSI bytes, empty when
  // the file, the section or the key is missing or the value is empty.
  virtual std::string GetString(const std::string& path, const std::string& section, const std::string& key,
                                std::size_t bufferBytes) = 0;
  // True when the entry was written; the file is created when missing.
  virtual bool SetString(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& value) = 0;
  // Every "key=value" line of a section, keys and values without the blanks
  // around them, in the order of the file; empty where the section is
  // missing. A store that holds single entries only has none.
  using Entries = std::vector<std::pair<std::string, std::string>>;
  virtual Entries GetSection(const std::string& /*path*/, const std::string& /*section*/) { return {}; }
};

// Where a Run value lives: the machine-wide key (every user's logon) or the
// current user's.
enum class RunScope { MachineWide, CurrentUser };

// String values of the keys that list the programs started at logon.
class RunKey {
 public:
  virtual ~RunKey() = default;
  // True when the value was written.
  virtual bool SetString(RunScope scope, const std::string& name, const std::string& data) = 0;
  // Whether this user may set values in that key at all (nothing is
  // written to find out).
  virtual bool MaySetValues(RunScope scope) = 0;
  // Deletes the value wherever a build of the program may have written it
  // in that scope; true when none is left (a missing value is no failure).
  virtual bool DeleteValue(RunScope scope, const std::string& name) = 0;
  // Windows' own startup switch (Task Manager's Startup tab, Settings'
  // startup apps): a value of the same name beside the key. Whether the
  // value is there and switched off, so that Windows does not start it.
  virtual bool SwitchedOff(RunScope scope, const std::string& name) = 0;
  // Removes that switch, which leaves the value on; true when none is left.
  virtual bool DeleteSwitch(RunScope scope, const std::string& name) = 0;
};

// One entry of a file's or folder's access list.
struct AccessEntry {
  bool allow = true;         // false: access denied
  bool inheritOnly = false;  // applies to children only, not to this object
  std::string sid;           // string form, "S-1-1-0"
  std::uint32_t mask = 0;    // access rights, generic ones included
  // An entry of a kind not read (object or callback entries, or newer
  // ones): what it grants is not known, so it counts as granting everything.
  bool unknownKind = false;
};

// Who may do what with a file or folder.
class FileSecurity {
 public:
  virtual ~FileSecurity() = default;
  struct AccessList {
    bool unrestricted = false;  // no list at all: everyone may do everything
    std::vector<AccessEntry> entries;
    std::string owner;  // string form; empty where not known
    // A junction, symbolic link or mount point: where it leads may change
    // without its own list saying so.
    bool reparsePoint = false;
  };
  // nullopt when the descriptor cannot be read.
  virtual std::optional<AccessList> AccessListOf(const std::string& path) = 0;
};

// What the settings need to know about files besides reading and writing
// entries.
class SettingsFiles {
 public:
  virtual ~SettingsFiles() = default;
  // Whether an entry could be written into the file now (creating it when it
  // is missing), found out without changing it.
  virtual bool CanWrite(const std::string& path) = 0;
  // Whether a plain file is there.
  virtual bool Exists(const std::string& path) = 0;
  // The current user's own settings file; empty when the system has no
  // per-user folder.
  virtual std::string PerUserSettingsPath() = 0;
  // Makes `to` a copy of the file `from`, or removes it when `from` is no
  // file, creating the folder of `to`; false when that failed.
  virtual bool ReplaceWithCopy(const std::string& from, const std::string& to) = 0;
};

}  // namespace platform
