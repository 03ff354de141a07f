// Skipped failures (platform/error_boundary.h) go to the debugger output,
// one line each, so that a user can send a DebugView capture of them.
#pragma once

namespace win32 {

// Points the skipped-failure sink at OutputDebugStringW; calling it again
// changes nothing.
void TraceSkippedFailures();

}  // namespace win32
