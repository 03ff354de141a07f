#include "shell/form_main.h"

#include <utility>

#include "settings/option_values.h"

namespace shell {

bool InitialCheck(Check box) {
  return box == Check::State || box == Check::MostTop || box == Check::EnableRecord;
}

void FormMainRules::Load() {
  loading_ = true;
  view_.SetUpPages();
  state_ = engine::AccelerationState{};

  view_.FillCombo(Combo::Speed,
                  {std::string(settings::kSpeedNormalItem), std::string(settings::kSpeedCrazyItem)});
  std::vector<std::string> counts;
  for (auto item : settings::kRecordCountItems) counts.emplace_back(item);
  view_.FillCombo(Combo::AutoCleanCount, counts);

  bool autoRun = settings::IsOn(config_.GetAutoRun());
  if (autoRun && autoRun_.SwitchedOffInWindows()) {
    // Switched off in Task Manager or Settings since: the user's last word
    // wins, and the value stays as Windows left it, listed there as off.
    config_.SetAutoRun(settings::OnOffText(false));
    autoRun = false;
  }
  ApplyCheck(Check::AutoRun, autoRun);
  ApplyCheck(Check::AutoMin, settings::IsOn(config_.GetAutoMin()));
  ApplySelection(Combo::Speed, settings::IsOn(config_.GetSpeedLevel()) ? 0 : 1);
  ApplyCheck(Check::AccelerateChildren, settings::IsOn(config_.GetAccelerateChildren()));
  ApplyCheck(Check::EnableRecord, settings::IsOn(config_.GetEnableRecord()));
  const int count = settings::RecordCountSelection(config_.GetRecordCount());
  if (count >= 0) ApplySelection(Combo::AutoCleanCount, count);
  ApplyCheck(Check::State, settings::IsOn(config_.GetEnableSpeed()));
  ApplyCheck(Check::MostTop, settings::IsOn(config_.GetAlwaysTop()));
  loading_ = false;

  view_.RunTick();
  view_.SetTopmost(settings::IsOn(config_.GetAlwaysTop()));
  view_.ResetLinkStyle();
  view_.InstallWindowHook();
  view_.AddTrayIcon();
  if (settings::IsOn(config_.GetAutoMin())) view_.SendHideRequest();
}

void FormMainRules::ApplyCheck(Check box, bool checked) {
  if (view_.IsChecked(box) == checked) return;
  view_.SetChecked(box, checked);
  CheckChanged(box);
}

void FormMainRules::ApplySelection(Combo list, int index) {
  if (view_.Selection(list) == index) return;
  view_.Select(list, index);
  ComboChanged(list);
}

void FormMainRules::CheckChanged(Check box) {
  const bool checked = view_.IsChecked(box);
  if (box == Check::AutoRun) {
    AutoRunChanged(checked);
    return;
  }
  // Where each of the other boxes is stored.
  using Setter = bool (settings::ModuleConfig::*)(std::string_view) const;
  static constexpr std::pair<Check, Setter> kStored[] = {
      {Check::AutoMin, &settings::ModuleConfig::SetAutoMin},
      {Check::State, &settings::ModuleConfig::SetEnableSpeed},
      {Check::MostTop, &settings::ModuleConfig::SetAlwaysTop},
      {Check::EnableRecord, &settings::ModuleConfig::SetEnableRecord},
      {Check::AccelerateChildren, &settings::ModuleConfig::SetAccelerateChildren},
  };
  if (box == Check::MostTop) view_.SetTopmost(checked);
  for (const auto& [stored, set] : kStored) {
    if (stored == box) (config_.*set)(settings::OnOffText(checked));
  }
  // Switched off: what was raised goes back now, not at some later change.
  if (box == Check::State && !checked && !loading_) view_.PutBackRaised();
}

// The box shows whether the program will start at logon, never only what
// the user asked for.
void FormMainRules::AutoRunChanged(bool checked) {
  if (!checked) {
    if (!autoRun_.RemoveRunEntry()) {
      view_.SetChecked(Check::AutoRun, true);  // AutoRun keeps its "1"
      view_.Notice(std::string(kAutoRunNotRemovedNotice));
      return;
    }
    config_.SetAutoRun(settings::OnOffText(false));
    return;
  }
  const settings::RunEntryResult result = autoRun_.AddRunEntry();
  if (result.place == settings::RunEntryPlace::Nowhere) {
    view_.SetChecked(Check::AutoRun, false);
    config_.SetAutoRun(settings::OnOffText(false));
    view_.Notice(
        std::string(result.anotherUsersProfile ? kAutoRunOtherAccountNotice : kAutoRunRefusedNotice));
    return;
  }
  // Said when the user asks, not again at every start that renews the value.
  if (result.place == settings::RunEntryPlace::CurrentUser && result.openToOthers && !loading_) {
    view_.Notice(std::string(kAutoRunForUserNotice));
  }
  config_.SetAutoRun(settings::OnOffText(true));
}

void FormMainRules::ComboChanged(Combo list) {
  const std::string text = view_.ComboText(list);
  if (list == Combo::Speed) {
    config_.SetSpeedLevel(settings::SpeedLevelText(text));
  } else {
    config_.SetRecordCount(text);
  }
}

void FormMainRules::RequestUnload() {
  if (asking_ || unloading_) return;
  asking_ = true;
  {
    ModalStep question(*this);
    const bool yes = view_.AskYesNo(std::string(kExitQuestion), std::string(kExitCaption));
    asking_ = false;
    if (yes) BeginUnload();
  }  // the question's own step ends here: with no other step open, the window goes
}

void FormMainRules::UnloadWithoutAsking() {
  const ModalStep request(*this);
  BeginUnload();
}  // with no other step open, the window goes here

void FormMainRules::BeginUnload() {
  if (unloading_) return;
  view_.DeleteTrayIcon();
  view_.RemoveWindowHook();
  unloading_ = true;
  // A dialog open below (the question too, asked from outside) would keep
  // the program running until the user found it; its code ends its step as
  // it unwinds. One step is the caller's own.
  if (modalSteps_ > 1) view_.CancelModalSteps();
}

void FormMainRules::EndModalStep() {
  if (modalSteps_ > 0) --modalSteps_;
  if (modalSteps_ == 0 && unloading_ && !unloaded_) {
    unloaded_ = true;
    // Nothing the program raised outlives it.
    view_.PutBackRaised();
    view_.Unload();
  }
}

}  // namespace shell
