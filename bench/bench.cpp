// Measures, in one run under the same conditions: the cost of an unchanged
// tick against the bare foreground query and title read, start-up time and
// working set against a minimal window program, idle CPU use, and the size
// of Brevolt.exe.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "e2e/driver.h"
#include "engine/acceleration.h"
#include "engine/never_list.h"
#include "engine/process_tree.h"
#include "platform/texts.h"
#include "win32/controls.h"
#include "win32/raised_records_win32.h"
#include "win32/system_ports.h"
#include "win32/text.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Nanoseconds per call of f, median of several rounds.
template <typename F>
double NanosPerCall(F&& f, int calls = 20000, int rounds = 9) {
  std::vector<double> samples;
  for (int r = 0; r < rounds; ++r) {
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) f();
    samples.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count() / calls);
  }
  return Median(samples);
}

// Two calls timed in alternate rounds, so that a change of load meets both:
// nanoseconds per call of each (medians) and the median of their ratio
// within a round.
struct Paired {
  double first, second, ratio;
};

template <typename F, typename G>
Paired NanosPerCallPaired(F&& f, G&& g, int calls = 20000, int rounds = 15) {
  std::vector<double> fs, gs, ratios;
  for (int r = 0; r < rounds; ++r) {
    auto start = Clock::now();
    for (int i = 0; i < calls; ++i) f();
    fs.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count() / calls);
    start = Clock::now();
    for (int i = 0; i < calls; ++i) g();
    gs.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count() / calls);
    ratios.push_back(fs.back() / gs.back());
  }
  return {Median(fs), Median(gs), Median(ratios)};
}

double TickRatio() {
  // The tick's real ports and real controls on a hidden window.
  HWND owner =
      CreateWindowW(L"STATIC", L"bench", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  HWND check = CreateWindowW(L"BUTTON", L"", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 10, 10, owner, nullptr,
                             nullptr, nullptr);
  HWND combo = CreateWindowW(L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 10, 100, owner, nullptr,
                             nullptr, nullptr);
  HWND label = CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
  HWND list =
      CreateWindowW(WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
  SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
  win32::SystemForegroundWindows windows;
  win32::SystemProcessPriorities processes;
  win32::SystemClock clock;
  win32::SystemAnsiCodePage codePage;
  win32::WindowControls controls({check, combo, check, label, label, nullptr, nullptr});
  win32::ListViewHistory history(list, combo);
  win32::RegistryRaisedRecords records;
  engine::AccelerationState state;
  const engine::AccelerationPorts ports{windows, processes, clock, codePage, controls, history, records};
  engine::Tick(state, ports);  // the change; every later tick is unchanged

  const Paired unchanged = NanosPerCallPaired([&] { engine::Tick(state, ports); },
                                              [&] {
                                                wchar_t title[512];
                                                GetWindowTextW(GetForegroundWindow(), title, 512);
                                              });
  const double tick = unchanged.first;
  const double bare = unchanged.second;
  std::printf("unchanged tick: %.0f ns; bare foreground + title: %.0f ns (in alternate rounds)\n", tick,
              bare);
  // The tick's parts on their own, to see what it pays beyond the bare calls.
  const platform::WindowHandle front = windows.Foreground();
  const double checkBox = NanosPerCall([&] { controls.AccelerationChecked(); });
  const double foreground = NanosPerCall([&] { windows.Foreground(); });
  const double title = NanosPerCall([&] { windows.Title(front); });
  const double bareTitle = NanosPerCall([&] {
    wchar_t text[512];
    GetWindowTextW(reinterpret_cast<HWND>(front), text, 512);
  });
  std::printf(
      "  its parts: check box %.0f ns, foreground %.0f ns, title through the port %.0f ns (bare %.0f ns, "
      "%zu characters)\n",
      checkBox, foreground, title, bareTitle, windows.Title(front).size());
  engine::PutBackRaised(state, ports);

  // The same with child processes accelerated and a tree raised: between
  // two looks, and one look in five ticks as it happens.
  HWND children = CreateWindowW(L"BUTTON", L"", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 10, 10, owner, nullptr,
                                nullptr, nullptr);
  SendMessageW(children, BM_SETCHECK, BST_CHECKED, 0);
  win32::WindowControls treeControls({check, combo, check, label, label, nullptr, children});
  win32::SystemProcessTree tree;
  const engine::NeverList never;
  engine::AccelerationState treeState;
  engine::AccelerationPorts treePorts{windows, processes, clock, codePage, treeControls,
                                      history, records,   &tree, &never};
  engine::Tick(treeState, treePorts);
  // A tree raised whatever was in front: this process as its root.
  treeState.Children.active = true;
  treeState.Children.rootId = GetCurrentProcessId();
  treeState.Children.rootCreated = 1;
  const double between = NanosPerCall([&] {
    treeState.Children.ticksSinceLook = 0;
    engine::Tick(treeState, treePorts);
  });
  const double withLooks = NanosPerCall([&] { engine::Tick(treeState, treePorts); }, 2000, 5);
  std::printf(
      "unchanged tick, child processes on: %.0f ns between looks (ratio %.2f), %.0f ns averaged over five "
      "ticks with a look\n",
      between, between / bare, withLooks);
  engine::PutBackRaised(treeState, treePorts);
  const std::size_t live = tree.Snapshot().size();
  std::printf("process snapshot of this system (%zu processes): %.0f us\n", live,
              NanosPerCall([&] { tree.Snapshot(); }, 200, 5) / 1000);

  // One look's own work over 300 processes: a tree of 60 below the root.
  std::vector<platform::ProcessLink> links;
  for (std::uint32_t id = 2; id < 302; ++id) links.push_back({id * 4, id < 62 ? (id / 2) * 4 : 4000000});
  const double look = NanosPerCall(
      [&] {
        engine::Descendants(
            links, 4, 1, [](std::uint32_t id) { return std::uint64_t{id}; }, 0);
      },
      2000);
  std::printf("descendants over a snapshot of 300 processes: %.1f us\n", look / 1000);

  // A change judged against 10,000 rules of the user's.
  engine::NeverList::Entries rules;
  for (int i = 0; i < 10000; ++i) rules.emplace_back("C:\\Tools\\r" + std::to_string(i) + "\\*.exe", "1");
  const engine::NeverList many(rules);
  const double judge =
      NanosPerCall([&] { many.Judge("C:\\Program Files\\Editor\\editor.exe", "EditorWindow"); }, 200, 5);
  std::printf("a change judged against 10,000 rules: %.1f us\n", judge / 1000);
  DestroyWindow(owner);
  return unchanged.ratio;
}

struct Started {
  double millis = 0;
  SIZE_T workingSet = 0;
  LONGLONG startCounter = 0;  // QueryPerformanceCounter just before the start
};

LONGLONG Counter() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double CounterMillis(LONGLONG ticks) {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  return 1000.0 * static_cast<double>(ticks) / frequency;
}

// From process start until its window is shown and its message loop answers.
// The program has painted before it first waits for input; the window is
// then looked for at a short interval, so the poll adds little.
Started StartAndMeasure(const std::wstring& exe, const std::wstring& title, const std::filesystem::path& dir,
                        e2e::Process* keep = nullptr) {
  Started result;
  result.startCounter = Counter();
  e2e::Process process = e2e::Process::Start(exe, L"", dir.wstring());
  WaitForInputIdle(process.handle(), 20000);
  HWND window = nullptr;
  const LONGLONG deadline = result.startCounter + static_cast<LONGLONG>(20000.0 / CounterMillis(1));
  while (Counter() < deadline) {
    window = FindWindowW(nullptr, title.c_str());
    if (window && IsWindowVisible(window)) break;
    Sleep(1);
  }
  DWORD_PTR ignored;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
  result.millis = CounterMillis(Counter() - result.startCounter);
  Sleep(500);  // the working set once the first messages are through
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process.handle(), &counters, sizeof counters);
  result.workingSet = counters.WorkingSetSize;
  if (keep) *keep = std::move(process);
  return result;
}

struct Spread {
  double median, low, high, q1, q3;
};

Spread SpreadOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  auto at = [&](double q) {
    return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
  };
  return {at(0.5), v.front(), v.back(), at(0.25), at(0.75)};
}

void PrintSpread(const char* what, const Spread& s, const char* unit) {
  std::printf("  %-22s median %7.1f %s, quartiles %.1f-%.1f, range %.1f-%.1f\n", what, s.median, unit, s.q1,
              s.q3, s.low, s.high);
}

// The marks Brevolt wrote, as milliseconds since `startCounter`, in order,
// and the totals of its kinds of work ("+kind" lines) in milliseconds.
struct Marks {
  std::vector<std::pair<std::string, double>> steps, kinds;
};

Marks ReadMarks(const std::filesystem::path& file, LONGLONG startCounter) {
  Marks marks;
  if (FILE* f = _wfopen(file.c_str(), L"r")) {
    char step[64];
    long long counter = 0;
    while (std::fscanf(f, "%63s %lld", step, &counter) == 2) {
      if (step[0] == '+') {
        marks.kinds.emplace_back(step + 1, CounterMillis(counter));
      } else {
        marks.steps.emplace_back(step, CounterMillis(counter - startCounter));
      }
    }
    std::fclose(f);
  }
  return marks;
}

// The median of each named value over runs, in the order first seen.
class Medians {
 public:
  void Add(const std::vector<std::pair<std::string, double>>& values) {
    for (const auto& [name, value] : values) {
      auto it = std::find_if(rows_.begin(), rows_.end(), [&](const auto& row) { return row.first == name; });
      if (it == rows_.end()) it = rows_.insert(rows_.end(), {name, {}});
      it->second.push_back(value);
    }
  }
  std::vector<std::pair<std::string, double>> Rows() const {
    std::vector<std::pair<std::string, double>> out;
    for (const auto& [name, values] : rows_) out.emplace_back(name, SpreadOf(values).median);
    return out;
  }

 private:
  std::vector<std::pair<std::string, std::vector<double>>> rows_;
};

struct Contender {
  const char* name;
  std::wstring exe, title;
  std::filesystem::path folder;
  std::vector<double> ms, ratios, toWindows;  // ÷ minimal, ÷ same windows, per round
  SIZE_T workingSet = 0;
};

// The programs compared: the minimal one, the windows-only one, Brevolt and,
// when given, an earlier Brevolt.exe (before and after a change).
std::vector<Contender> Contenders(const std::filesystem::path& brevolt, const std::wstring& minimal,
                                  const std::filesystem::path& baseline, const std::filesystem::path& dir) {
  std::vector<Contender> programs;
  programs.push_back({"minimal window", minimal, L"Quill minimal", dir, {}, {}, {}, 0});
  programs.push_back(
      {"same windows only", e2e::HostPath(CONTROLS_WINDOW_EXE), L"Quill controls", dir, {}, {}, {}, 0});
  programs.push_back({"Brevolt", brevolt.wstring(), platform::kMainCaptionW, dir, {}, {}, {}, 0});
  if (!baseline.empty()) {
    // Its own folder, so that each keeps its own config.ini.
    const auto folder = dir / L"baseline";
    std::filesystem::create_directory(folder);
    std::filesystem::copy_file(baseline, folder / L"Brevolt.exe");
    programs.push_back({"Brevolt before",
                        (folder / L"Brevolt.exe").wstring(),
                        platform::kMainCaptionW,
                        folder,
                        {},
                        {},
                        {},
                        0});
  }
  return programs;
}

// Where the time goes, in runs of their own: writing the marks is not
// part of the runs compared. The windows-only yardstick marks its steps
// too, so that the two can be set side by side.
void WhereTheTimeGoes(const std::vector<Contender>& programs, const std::filesystem::path& dir, int rounds) {
  const std::size_t n = programs.size();
  const auto marksFile = dir / L"startup-marks.txt";
  SetEnvironmentVariableW(L"BREVOLT_STARTUP_MARKS", marksFile.c_str());
  // The programs take turns here too, so that their steps meet the same load.
  std::vector<Medians> steps(n), kinds(n);
  for (int i = 0; i < rounds; ++i) {
    for (std::size_t p = 1; p < n; ++p) {
      std::filesystem::remove(marksFile);
      const Started run = StartAndMeasure(programs[p].exe, programs[p].title, programs[p].folder);
      const Marks marks = ReadMarks(marksFile, run.startCounter);
      steps[p].Add(marks.steps);
      kinds[p].Add(marks.kinds);
    }
  }
  for (std::size_t p = 1; p < n; ++p) {
    std::printf("%s, steps: median ms since the start (and the step's own share):\n", programs[p].name);
    double previous = 0;
    for (const auto& [step, at] : steps[p].Rows()) {
      std::printf("  %-16s %7.1f  (+%.1f)\n", step.c_str(), at, at - previous);
      previous = at;
    }
    const auto totals = kinds[p].Rows();
    if (!totals.empty()) std::printf("  kinds of work, median ms in all (inside the steps above):\n");
    for (const auto& [kind, ms] : totals) std::printf("    %-18s %6.2f\n", kind.c_str(), ms);
  }
  // The child controls: from the window (Brevolt: its tab control) to the
  // last control made.
  auto share = [&](std::size_t p, const char* from) {
    double start = -1, end = -1;
    for (const auto& [step, at] : steps[p].Rows()) {
      if (step == from) start = at;
      if (step == "controls") end = at;
    }
    return start >= 0 && end >= 0 ? end - start : -1.0;
  };
  const double windowsControls = share(1, "window");
  for (std::size_t p = 2; p < n; ++p) {
    const double own = share(p, "tab-control");
    std::printf("%s, child controls: %.1f ms, same windows only %.1f ms, ratio %.2f (aim <= 1.3)\n",
                programs[p].name, own, windowsControls, own / windowsControls);
  }
  SetEnvironmentVariableW(L"BREVOLT_STARTUP_MARKS", nullptr);
}

// Start-up of the programs, one after the other in the same prefix, the
// order rotated every round so that none always runs first after another:
// on a loaded machine only such rounds compare fairly. `baseline`, when
// given, is an earlier Brevolt.exe measured in the same rounds (before and
// after a change, under the same load).
void StartupComparison(std::vector<Contender> programs, const std::filesystem::path& dir, int rounds,
                       SIZE_T& brevoltWs, SIZE_T& minimalWs) {
  // One of each first, not counted: the first start loads the libraries from disk.
  for (const Contender& p : programs) StartAndMeasure(p.exe, p.title, p.folder);

  const std::size_t n = programs.size();
  for (int i = 0; i < rounds; ++i) {
    std::vector<double> round(n);
    for (std::size_t k = 0; k < n; ++k) {
      Contender& p = programs[(k + static_cast<std::size_t>(i)) % n];
      const Started s = StartAndMeasure(p.exe, p.title, p.folder);
      p.ms.push_back(s.millis);
      p.workingSet = s.workingSet;
    }
    for (std::size_t k = 1; k < n; ++k) {
      programs[k].ratios.push_back(programs[k].ms.back() / programs[0].ms.back());
      programs[k].toWindows.push_back(programs[k].ms.back() / programs[1].ms.back());
    }
  }
  minimalWs = programs[0].workingSet;
  brevoltWs = programs[2].workingSet;

  std::printf("start-up to first paint, %d rounds, order rotated:\n", rounds);
  for (const Contender& p : programs) PrintSpread(p.name, SpreadOf(p.ms), "ms");
  // A ratio means little without the machine's speed: the minimal program's
  // own time goes beside each.
  const double minimalMedian = SpreadOf(programs[0].ms).median;
  const double windowsMedian = SpreadOf(programs[1].ms).median;
  // Against the minimal program, and (what is left once the cost of the
  // windows themselves is taken out) against the windows-only one.
  struct Against {
    std::size_t first;
    const char* name;
    double aim, median;
    std::vector<double> Contender::*within;
  };
  for (const Against& a : {Against{1, "", 1.5, minimalMedian, &Contender::ratios},
                           Against{2, " / same windows only", 1.3, windowsMedian, &Contender::toWindows}}) {
    for (std::size_t k = a.first; k < n; ++k) {
      const Spread r = SpreadOf(programs[k].*a.within);
      std::printf(
          "  %s%s: ratio of medians %.2f (aim <= %.1f; same windows %.1f ms, minimal %.1f ms); ratio within "
          "a "
          "round median %.2f, quartiles %.2f-%.2f, range %.2f-%.2f\n",
          programs[k].name, a.name, SpreadOf(programs[k].ms).median / a.median, a.aim, windowsMedian,
          minimalMedian, r.median, r.q1, r.q3, r.low, r.high);
    }
  }

  WhereTheTimeGoes(programs, dir, rounds);
}

double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
  // "marks" first: only where Brevolt's start-up time goes, quickly.
  const bool marksOnly = argc > 1 && std::string(argv[1]) == "marks";
  const int idleSeconds = argc > 1 ? std::atoi(argv[1]) : 60;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 15;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);

  e2e::TempFolder folder;
  const auto brevolt = folder.path() / L"Brevolt.exe";
  std::filesystem::copy_file(e2e::HostPath(BREVOLT_EXE), brevolt);
  const std::wstring minimal = e2e::HostPath(MINIMAL_WINDOW_EXE);
  // An earlier build to compare with, from the environment (see scripts/bench).
  std::filesystem::path baseline;
  if (const char* before = std::getenv("BENCH_BASELINE_EXE"); before && *before)
    baseline = e2e::HostPath(before);
  std::vector<Contender> programs = Contenders(brevolt, minimal, baseline, folder.path());
  if (marksOnly) {
    for (const Contender& p : programs) StartAndMeasure(p.exe, p.title, p.folder);  // libraries from disk
    WhereTheTimeGoes(programs, folder.path(), rounds);
    return 0;
  }

  {
    // The tick reads a window of another program, as it does in use: the
    // minimal program's, in front.
    e2e::Process front;
    StartAndMeasure(minimal, L"Quill minimal", folder.path(), &front);
    SetForegroundWindow(FindWindowW(nullptr, L"Quill minimal"));
    const double ratio = TickRatio();
    std::printf("tick ratio: %.2f, the median within a round (aim <= 1.1)\n", ratio);
  }

  SIZE_T brevoltWs = 0, minimalWs = 0;
  StartupComparison(std::move(programs), folder.path(), rounds, brevoltWs, minimalWs);
  std::printf("working set after start-up: Brevolt %.1f MiB, minimal %.1f MiB, ratio %.2f (aim <= 1.5)\n",
              static_cast<double>(brevoltWs) / 1048576.0, static_cast<double>(minimalWs) / 1048576.0,
              static_cast<double>(brevoltWs) / static_cast<double>(minimalWs));

  e2e::Process idle;
  StartAndMeasure(brevolt.wstring(), platform::kMainCaptionW, folder.path(), &idle);
  const double before = CpuSeconds(idle.handle());
  Sleep(idleSeconds * 1000);
  const double used = CpuSeconds(idle.handle()) - before;
  std::printf("idle CPU over %d s: %.3f s, %.4f %% of a core (aim < 0.1 %%)\n", idleSeconds, used,
              100.0 * used / idleSeconds);

  std::printf("Brevolt.exe: %llu bytes\n",
              static_cast<unsigned long long>(std::filesystem::file_size(brevolt)));
  return 0;
}
