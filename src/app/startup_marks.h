// Where start-up time goes, for the measurements: when the environment
// variable BREVOLT_STARTUP_MARKS names a file, each step's
// QueryPerformanceCounter value is kept and the marks are written there,
// one "step counter" line each, when the message loop is reached. Without
// it a mark is one test of a flag.
#pragma once

namespace app {

void StartupMark(const char* step);
// Writes the kept marks (once); nothing when marks are off.
void WriteStartupMarks();

}  // namespace app
