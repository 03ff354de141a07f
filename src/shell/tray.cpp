#include "shell/tray.h"

namespace shell {

HookAction MainWindowHookAction(WindowEvent event) {
  // By event, in the order of WindowEvent.
  constexpr HookAction kActions[] = {HookAction::PassThenHide, HookAction::ShowAndRestore,
                                     HookAction::TrayMenu, HookAction::Pass};
  return kActions[static_cast<int>(event)];
}

// Hidden without an icon, the window could not be reached again.
HideOutcome WhereToHide(bool iconShown) { return iconShown ? HideOutcome::ToTray : HideOutcome::ToTaskbar; }

bool TrayIconKeeper::Offer() {
  shown_ = port_.AddIcon();
  if (shown_) StopTrying();
  return shown_;
}

void TrayIconKeeper::Add() {
  wanted_ = true;
  if (!Offer()) KeepTrying();
}

void TrayIconKeeper::Delete() {
  StopTrying();
  if (shown_) port_.DeleteIcon();
  wanted_ = false;
  shown_ = false;
}

void TrayIconKeeper::TaskbarCreated() {
  if (wanted_ && !Offer()) KeepTrying();
}

void TrayIconKeeper::RetryDue() {
  if (!retrying_) return;
  if (!wanted_ || Offer() || ++tries_ >= kRetries) StopTrying();
}

bool TrayIconKeeper::EnsureShown() { return shown_ || (wanted_ && Offer()); }

void TrayIconKeeper::KeepTrying() {
  tries_ = 0;
  retrying_ = true;
  port_.StartRetrying(kRetryMilliseconds);
}

void TrayIconKeeper::StopTrying() {
  if (!retrying_) return;
  retrying_ = false;
  port_.StopRetrying();
}

}  // namespace shell
