#include "app/startup_marks.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace app {
namespace {

struct Marks {
  int state = 0;  // 0 not yet looked, 1 on, -1 off
  wchar_t file[MAX_PATH] = {};
  const char* steps[64] = {};
  LONGLONG counters[64] = {};
  int count = 0;
  const char* kinds[64] = {};
  int indexes[64] = {};
  LONGLONG totals[64] = {};
  int kindCount = 0;
};

Marks& TheMarks() {
  static Marks marks;
  return marks;
}

bool On() {
  Marks& m = TheMarks();
  if (m.state == 0) {
    const DWORD n = GetEnvironmentVariableW(L"BREVOLT_STARTUP_MARKS", m.file, MAX_PATH);
    m.state = n > 0 && n < MAX_PATH ? 1 : -1;
  }
  return m.state > 0;
}

LONGLONG Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

}  // namespace

void StartupMark(const char* step) {
  Marks& m = TheMarks();
  if (!On() || m.count == 64) return;
  m.steps[m.count] = step;
  m.counters[m.count++] = Now();
}

StartupSpan::StartupSpan(const char* kind, int index)
    : kind_(On() ? kind : nullptr), index_(index), start_(kind_ ? Now() : 0) {}

StartupSpan::~StartupSpan() {
  if (kind_ == nullptr || !On()) return;
  const LONGLONG length = Now() - start_;
  Marks& m = TheMarks();
  int k = 0;
  while (k < m.kindCount && (m.indexes[k] != index_ || std::strcmp(m.kinds[k], kind_) != 0)) ++k;
  if (k == m.kindCount) {
    if (k == 64) return;
    m.kinds[k] = kind_;
    m.indexes[m.kindCount++] = index_;
  }
  m.totals[k] += length;
}

void WriteStartupMarks() {
  Marks& m = TheMarks();
  if (m.state <= 0) return;
  m.state = -1;
  if (FILE* f = _wfopen(m.file, L"w")) {
    for (int i = 0; i < m.count; ++i) std::fprintf(f, "%s %lld\n", m.steps[i], m.counters[i]);
    for (int k = 0; k < m.kindCount; ++k) {
      if (m.indexes[k] < 0) {
        std::fprintf(f, "+%s %lld\n", m.kinds[k], m.totals[k]);
      } else {
        std::fprintf(f, "+%s-%02d %lld\n", m.kinds[k], m.indexes[k], m.totals[k]);
      }
    }
    std::fclose(f);
  }
}

}  // namespace app
