// The one recorder of the tab control's events for all tab-control tests,
// portable and against the real window: every event as a line ("TabSwitch
// 0", "MouseDown 1", "BoxDown 70,10") in a log the test may share with its
// other fakes, so that a test reads what happened in order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tabctl/events.h"

namespace tabfakes {

using Log = std::vector<std::string>;

class EventRecorder : public tabctl::ucPageTabEvents {
 public:
  // Which events go into the log: the tab model's own (switch, insert,
  // remove, init), or also those of the mouse and keys.
  enum class Record { TabChanges, Everything };

  // Into a log of its own.
  EventRecorder() : log(own_) {}
  explicit EventRecorder(Log& shared, Record what = Record::TabChanges)
      : log(shared), all_(what == Record::Everything) {}
  EventRecorder(const EventRecorder&) = delete;
  EventRecorder& operator=(const EventRecorder&) = delete;

  Log& log;
  std::function<bool(int)> refuse;  // cancels BeforeTabSwitch when true
  std::function<void()> onBeforeSwitch;

  void BeforeTabSwitch(std::int16_t newTab, bool& cancel) override {
    log.push_back("BeforeTabSwitch " + std::to_string(newTab));
    if (onBeforeSwitch) onBeforeSwitch();
    if (refuse && refuse(newTab)) cancel = true;
  }
  void TabSwitch(std::int16_t previousTab) override {
    log.push_back("TabSwitch " + std::to_string(previousTab));
  }
  void TabInsert(std::int32_t& index) override { log.push_back("TabInsert " + std::to_string(index)); }
  void TabRemove(std::int32_t& index) override { log.push_back("TabRemove " + std::to_string(index)); }
  void AfterCompleteInit() override { log.push_back("AfterCompleteInit"); }

  void Click() override { Input("Click"); }
  void DblClick() override { Input("DblClick"); }
  void ControlBoxEnter() override { Input("BoxEnter"); }
  void ControlBoxExit() override { Input("BoxExit"); }
  void ControlBoxHover(float&, float&) override { Input("BoxHover"); }
  void ControlBoxMouseDown(float& x, float& y) override {
    Input("BoxDown " + std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
  }
  void ControlBoxMouseUp(float&, float&) override { Input("BoxUp"); }
  void KeyDown(std::int16_t& key, std::int16_t& shift) override {
    Input("KeyDown " + std::to_string(key) + "/" + std::to_string(shift));
  }
  void MouseDown(std::int16_t button, std::int16_t, float, float) override {
    Input("MouseDown " + std::to_string(button));
  }
  void MouseUp(std::int16_t button, std::int16_t, float, float) override {
    Input("MouseUp " + std::to_string(button));
  }
  void MouseMove(std::int16_t, std::int16_t, float, float) override { Input("MouseMove"); }
  void MouseHover(std::int32_t& tab, float, float) override { Input("MouseHover " + std::to_string(tab)); }
  void MouseScrollUp() override { Input("ScrollUp"); }
  void MouseScrollDown() override { Input("ScrollDown"); }
  void MouseEnter() override { Input("MouseEnter"); }
  void MouseLeave() override { Input("MouseLeave"); }
  void Status(std::string text) override { Input("Status " + text); }

 private:
  void Input(std::string entry) {
    if (all_) log.push_back(std::move(entry));
  }

  Log own_;
  bool all_ = true;
};

}  // namespace tabfakes
