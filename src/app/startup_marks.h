// Where start-up time goes, for the measurements: when the environment
// variable BREVOLT_STARTUP_MARKS names a file, each step's
// QueryPerformanceCounter value is kept and the marks are written there,
// one "step counter" line each, when the message loop is reached. Spans
// of one kind of work (fonts, measuring, one kind of control) add up over
// the steps and are written as "+kind counts" lines, counts being the sum
// of their QueryPerformanceCounter lengths. Without the variable a mark or
// a span is one test of a flag.
#pragma once

namespace app {

void StartupMark(const char* step);
// Writes the kept marks (once); nothing when marks are off.
void WriteStartupMarks();

// Adds the time from its making to its end to the total of `kind` (a
// literal: kept by address), or of its `index`th one (written "kind-NN":
// one control of a table, say).
class StartupSpan {
 public:
  explicit StartupSpan(const char* kind, int index = -1);
  ~StartupSpan();
  StartupSpan(const StartupSpan&) = delete;
  StartupSpan& operator=(const StartupSpan&) = delete;

 private:
  const char* kind_;
  int index_;
  long long start_;
};

}  // namespace app
