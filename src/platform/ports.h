// Narrow interfaces to the operating system. The portable code talks only to
// these; the Windows layer implements them with the real API and the native
// tests replace them with fakes.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// A window handle as a plain number; 0 means "no window".
using WindowHandle = std::uintptr_t;

// The foreground window and what belongs to it.
class ForegroundWindows {
 public:
  virtual ~ForegroundWindows() = default;
  virtual WindowHandle Foreground() = 0;
  // Full title as UTF-8 (read through the wide API, never cut here).
  virtual std::string Title(WindowHandle window) = 0;
  // Id of the process that created the window; 0 when the window is gone.
  virtual std::uint32_t OwnerProcessId(WindowHandle window) = 0;
};

// Process priority classes of any process.
class ProcessPriorities {
 public:
  using Handle = std::uintptr_t;  // 0 means "not opened"
  virtual ~ProcessPriorities() = default;
  virtual Handle Open(std::uint32_t access, std::uint32_t processId) = 0;
  virtual bool SetClass(Handle process, std::uint32_t priorityClass) = 0;
  // 0 when the query fails.
  virtual std::uint32_t GetClass(Handle process) = 0;
  virtual void Close(Handle process) = 0;
  virtual std::uint32_t CurrentProcessId() = 0;
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

}  // namespace platform
