#include "app/program.h"

namespace app {

Program::Program(Sink notice)
    : anotherUser_(win32::RunsAsAnotherUser()),
      config_(profile_, win32::ApplicationDirectory(), settingsFiles_, std::move(notice)),
      autoRun_(runKey_, fileSecurity_, win32::ApplicationDirectory(), anotherUser_) {
  config_.SetProfileOfAnotherUser(anotherUser_);
  never_ = engine::NeverList(config_.GetExcludeRules());
}

void Program::Attach(shell::FormMainView& view, const Window& window, Sink balloon) {
  tickControls_ = std::make_unique<win32::WindowControls>(window.tick);
  tickControls_->SetNoticeSink(std::move(balloon));
  history_ = std::make_unique<win32::ListViewHistory>(window.historyList, window.autoCleanCount);
  saving_ = std::make_unique<win32::HistorySavingWin32>(window.window);
  rules_ = std::make_unique<shell::FormMainRules>(view, config_, autoRun_, state_);
}

engine::AccelerationPorts Program::Ports() {
  return {windows_,  processes_,     clock_,        codePage_, *tickControls_,
          *history_, raisedRecords_, &processTree_, &never_};
}

void Program::Load() {
  profile_.RememberMarks(true);
  struct Forget {
    settings::Utf8MarkRouting& profile;
    ~Forget() { profile.RememberMarks(false); }
  } forget{profile_};
  rules_->Load();
}

void Program::PutBackAfterCrash() { engine::PutBackAfterCrash(Ports()); }

// A tick is never entered again while one runs: a message sent to the
// window while the tick waits on another process (a tray balloon, say) is
// handled there, and a WM_TIMER among them would work on half-changed state.
void Program::Tick() {
  if (ticking_) return;
  struct Ticking {
    bool& on;
    ~Ticking() { on = false; }
  } ticking{ticking_ = true};
  engine::Tick(state_, Ports());
}

void Program::PutBackRaised() { engine::PutBackRaised(state_, Ports()); }

void Program::NeverListChanged() { never_ = engine::NeverList(config_.GetExcludeRules()); }

}  // namespace app
