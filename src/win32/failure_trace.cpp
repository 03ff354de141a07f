#include "win32/failure_trace.h"

#include <windows.h>

#include <string>

#include "platform/error_boundary.h"
#include "win32/text.h"

namespace win32 {
namespace {

void ToDebugger(std::string_view step, std::string_view what) {
  std::string line = "Brevolt: skipped after a failure: ";
  line.append(step);
  if (!what.empty()) line.append(": ").append(what);
  line += '\n';
  OutputDebugStringW(Widen(line).c_str());
}

}  // namespace

void TraceSkippedFailures() { platform::SetSkippedFailureSink(&ToDebugger); }

}  // namespace win32
