#include "app/startup_marks.h"

#include <windows.h>

#include <cstdio>

namespace app {
namespace {

struct Marks {
  int state = 0;  // 0 not yet looked, 1 on, -1 off
  wchar_t file[MAX_PATH] = {};
  const char* steps[32] = {};
  LONGLONG counters[32] = {};
  int count = 0;
};

Marks& TheMarks() {
  static Marks marks;
  return marks;
}

}  // namespace

void StartupMark(const char* step) {
  Marks& m = TheMarks();
  if (m.state == 0) {
    const DWORD n = GetEnvironmentVariableW(L"BREVOLT_STARTUP_MARKS", m.file, MAX_PATH);
    m.state = n > 0 && n < MAX_PATH ? 1 : -1;
  }
  if (m.state < 0 || m.count == 32) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  m.steps[m.count] = step;
  m.counters[m.count++] = now.QuadPart;
}

void WriteStartupMarks() {
  Marks& m = TheMarks();
  if (m.state <= 0) return;
  m.state = -1;
  if (FILE* f = _wfopen(m.file, L"w")) {
    for (int i = 0; i < m.count; ++i) std::fprintf(f, "%s %lld\n", m.steps[i], m.counters[i]);
    std::fclose(f);
  }
}

}  // namespace app
