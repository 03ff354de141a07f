// The one place where a failure is caught and dropped. The user sees what
// the design says (the failing step is skipped), and a developer still
// finds it: every skipped failure goes to the trace sink, which the
// Windows layer points at the debugger output (DebugView shows it).
#pragma once

#include <exception>
#include <string_view>

namespace platform {

// Receives the step's name and what was caught ("" when it was no
// standard exception).
using SkippedFailureSink = void (*)(std::string_view step, std::string_view what);

// Null: skipped failures are not told anywhere. Set once at start.
void SetSkippedFailureSink(SkippedFailureSink sink);
void TellSkippedFailure(std::string_view step, std::string_view what) noexcept;

// Runs body; a failure in it is told and skipped, never thrown on: for
// window procedures, COM methods and the steps whose failure must not stop
// the operation around them.
template <typename Body>
void SkipFailure(std::string_view step, Body&& body) noexcept {
  try {
    body();
  } catch (const std::exception& e) {
    TellSkippedFailure(step, e.what());
  } catch (...) {
    TellSkippedFailure(step, "");
  }
}

}  // namespace platform
