#include "engine/raised_process.h"

#include <gtest/gtest.h>

#include "engine/priority.h"
#include "fakes.h"

namespace {

using namespace fakes;  // the priority classes by name

// A program killed while it held a process raised leaves a record; the next
// start puts that process back, but only when it is still the same process
// with the class that was set, and only for programs that no longer run.
TEST(PutBackAfterCrash, PutsBackOnlyTheRecordedProcessOfAProgramThatIsGone) {
  struct Case {
    const char* what;
    const char* name;  // the writer: pid-creation time
    std::string text;  // pid creation before set
    std::uint32_t classNow;
    std::uint32_t classAfter;
    bool recordKept;
  } cases[] = {
      {"writer gone, still as set", "50-50000", "7 7000 16384 128", kHigh, kBelowNormal, false},
      {"writer ended but still held open", "61-61000", "7 7000 16384 128", kHigh, kBelowNormal, false},
      {"writer still running", "60-60000", "7 7000 32 128", kHigh, kHigh, true},
      {"writer's id reused by another program", "60-1", "7 7000 32 128", kHigh, kNormal, false},
      {"id reused by another process", "50-50000", "7 6999 32 128", kHigh, kHigh, false},
      {"class changed by someone else", "50-50000", "7 7000 32 128", kAboveNormal, kAboveNormal, false},
      {"damaged record", "50-50000", "7 7000 32", kHigh, kHigh, false},
      {"a child raised with the window's process", "50-50000-7", "7 7000 16384 128", kHigh, kBelowNormal,
       false},
      {"a child, writer still running", "60-60000-7", "7 7000 32 128", kHigh, kHigh, true},
      {"damaged name", "x", "7 7000 32 128", kHigh, kNormal, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fakes::Processes processes;
    processes.processes[7].priorityClass = c.classNow;
    processes.processes[60] = {};  // another Brevolt, running
    processes.processes[61] = {};  // one that was killed; someone holds it open
    processes.processes[61].exited = true;
    fakes::RaisedRecords records;
    records.values[c.name] = c.text;
    engine::PutBackAfterCrash(processes, records);
    EXPECT_EQ(processes.ClassOf(7), c.classAfter);
    EXPECT_EQ(records.values.count(c.name), c.recordKept ? 1u : 0u);
    EXPECT_TRUE(processes.open.empty());
  }
}

// The record is there from before the change until the process is put back,
// names this program, and says what the process had and got.
TEST(RaisedRecord, WrittenBeforeTheChangeAndRemovedWhenPutBack) {
  fakes::Processes processes;
  processes.processes[1000].created = 123456;
  processes.processes[7].priorityClass = kBelowNormal;
  processes.processes[7].realtimeGrants = engine::kHighPriority;
  fakes::RaisedRecords records;
  engine::RaisedProcess raised;

  struct Watching : fakes::RaisedRecords {
    fakes::Processes* processes;
    std::uint32_t classAtWrite = 0;
    bool Write(const std::string& name, const std::string& text) override {
      if (classAtWrite == 0) classAtWrite = processes->ClassOf(7);
      return fakes::RaisedRecords::Write(name, text);
    }
  } watching;
  watching.processes = &processes;
  const auto outcome = engine::RaiseProcess(processes, watching, raised, 7, kRealtime);
  EXPECT_EQ(outcome.result, engine::RaiseResult::Lowered);
  EXPECT_EQ(watching.classAtWrite, kBelowNormal);
  // Rewritten with what the system really gave.
  EXPECT_EQ(watching.values, (std::map<std::string, std::string>{{"1000-123456", "7 7000 16384 128"}}));

  // Killed here: the next start puts it back.
  fakes::Processes restarted = processes;
  restarted.processes.erase(1000);
  restarted.open.clear();
  EXPECT_EQ(engine::PutBackAfterCrash(restarted, watching), 1);
  EXPECT_EQ(restarted.ClassOf(7), kBelowNormal);
  EXPECT_TRUE(watching.values.empty());

  // Not killed: putting back removes the record.
  engine::PutBack(processes, watching, raised);
  EXPECT_EQ(processes.ClassOf(7), kBelowNormal);
  EXPECT_TRUE(processes.open.empty());
  // A store that cannot be written does not stop the raise or the put-back.
  records.failWrites = true;
  EXPECT_EQ(engine::RaiseProcess(processes, records, raised, 7, kHigh).result, engine::RaiseResult::Granted);
  EXPECT_EQ(processes.ClassOf(7), kHigh);
  engine::PutBack(processes, records, raised);
  EXPECT_EQ(processes.ClassOf(7), kBelowNormal);
}

}  // namespace
