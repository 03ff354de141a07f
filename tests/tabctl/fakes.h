// Hand-written fakes of the tab control's ports. Host, renderer and event
// sink write into one shared log so that tests can check the order of
// drawing, notices and events.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "event_recorder.h"
#include "tabctl/tab_host.h"
#include "tabctl/tab_renderer.h"
#include "tabctl/tab_system.h"
#include "tabctl/uc_page_tab.h"

namespace tabfakes {

inline std::size_t CountOf(const Log& log, const std::string& entry) {
  std::size_t n = 0;
  for (const auto& e : log) n += e == entry;
  return n;
}

struct Host : tabctl::TabHost {
  explicit Host(Log& sink) : log(sink) {}
  Log& log;

  std::vector<std::int32_t> lefts;  // contained controls' Left
  std::set<int> stuck;              // controls that refuse to move
  std::int32_t width = 8535;
  bool userMode = true;
  bool userModeFails = false;
  tabctl::TabFont ambientFont{"宋体", 9, false, false, false, false, 134};
  tabctl::Color ambientBack = tabctl::kSysButtonFace;
  std::string accessKeys;
  bool windowEnabled = true;
  int lockDepth = 0;
  bool placeFails = false;
  struct Placed {
    tabctl::ControlHandle control;
    platform::WindowHandle window;
    tabctl::ControlPlacement placement;
  };
  std::vector<Placed> placed;

  int ContainedControlCount() override { return static_cast<int>(lefts.size()); }
  std::int32_t ContainedControlLeft(int i) override { return lefts.at(static_cast<std::size_t>(i)); }
  void SetContainedControlLeft(int i, std::int32_t left) override {
    if (stuck.count(i)) throw std::runtime_error("control cannot move");
    lefts.at(static_cast<std::size_t>(i)) = left;
  }
  void PlaceControl(tabctl::ControlHandle control, platform::WindowHandle window,
                    const tabctl::ControlPlacement& placement) override {
    log.push_back("place");
    if (placeFails) throw std::runtime_error("no such window");
    placed.push_back({control, window, placement});
  }
  std::int32_t ControlWidth() override { return width; }
  void SetAccessKeys(const std::string& keys) override { accessKeys = keys; }
  void SetWindowEnabled(bool enabled) override {
    windowEnabled = enabled;
    log.push_back(enabled ? "window enabled" : "window disabled");
  }
  void LockDrawing() override {
    ++lockDepth;
    log.push_back("lock");
  }
  void UnlockDrawing() override {
    --lockDepth;
    log.push_back("unlock");
  }
  void SetPersistentImage(bool on) override { log.push_back(on ? "image on" : "image off"); }
  void RepaintWindow() override { log.push_back("show"); }
  void PropertyChanged(std::string_view name) override { log.push_back("changed " + std::string(name)); }
  bool UserMode() override {
    if (userModeFails) throw std::runtime_error("no ambient");
    return userMode;
  }
  tabctl::TabFont AmbientFont() override { return ambientFont; }
  tabctl::Color AmbientBackColor() override { return ambientBack; }
  platform::WindowHandle WindowHandle() override { return 0x1234; }
  std::int32_t clientWidth = 569;
  std::int32_t clientHeight = 353;
  std::int32_t ClientWidth() override { return clientWidth; }
  std::int32_t ClientHeight() override { return clientHeight; }
  void InstallHooks() override { log.push_back("hooks installed"); }
  void RemoveHooks() override { log.push_back("hooks removed"); }
};

struct Renderer : tabctl::TabRenderer {
  explicit Renderer(Log& sink) : log(sink) {}
  Log& log;
  std::function<void(tabctl::ucPageTab&)> duringDraw;

  void DrawMe(tabctl::ucPageTab& c) override {
    log.push_back("draw");
    if (duringDraw) duringDraw(c);
  }
  void DrawBackground(tabctl::ucPageTab&) override { log.push_back("background"); }
  void DrawTabs(tabctl::ucPageTab&) override { log.push_back("tabs"); }
  void ShowHideFocus(tabctl::ucPageTab&) override { log.push_back("focus"); }
  void DrawOverXOred(tabctl::ucPageTab&) override { log.push_back("hover"); }
};

// The tab model's events alone, in the log shared with host and renderer.
using Events = EventRecorder;

struct System : tabctl::TabSystem {
  tabctl::DefaultSystemColors colors;
  std::optional<tabctl::OsVersionInfo> version = tabctl::OsVersionInfo{2, 10, 0, 19045};
  std::optional<std::string> themeBuffer;
  bool dialogFails = false;
  std::vector<std::string> dialogCalls;

  std::uint32_t SysColor(int index) override { return colors.SysColor(index); }
  std::optional<tabctl::OsVersionInfo> VersionEx() override { return version; }
  std::optional<std::string> CurrentThemeColorBuffer() override { return themeBuffer; }
  std::int32_t SmallIconWidth() override { return 16; }
  std::int32_t LargeIconWidth() override { return 32; }
  std::string ShowOpenFileDialog(platform::WindowHandle, const std::string& directory,
                                 const std::string& filter, const std::string& title) override {
    dialogCalls.push_back(title + "|" + directory + "|" + filter);
    if (dialogFails) throw std::runtime_error("no dialog");
    return "C:\\chosen.txt";
  }

  void BeXP() { version = tabctl::OsVersionInfo{2, 5, 1, 2600}; }
};

struct FakePicture : tabctl::PictureObject {
  explicit FakePicture(int number) : id(number) {}
  int id;
};

inline tabctl::Picture MakePicture(int id) { return tabctl::Picture(std::make_shared<FakePicture>(id)); }

inline int PictureId(const tabctl::Picture& p) {
  const auto* f = p.As<FakePicture>();
  return f ? f->id : 0;
}

// Pictures in the text form as "pic:<id>".
struct Codec : tabctl::PictureCodec {
  std::string Encode(const tabctl::Picture& p) override { return "pic:" + std::to_string(PictureId(p)); }
  tabctl::Picture Decode(std::string_view text) override {
    if (!text.starts_with("pic:")) return {};
    return MakePicture(std::stoi(std::string(text.substr(4))));
  }
};

// A new control on a host with a recording renderer and event sink, shown
// once (so its first repaint is over) unless asked not to be. The log is
// cleared after that.
struct Fixture {
  Log log;
  Host host{log};
  System system;
  Renderer renderer{log};
  Events events{log};
  tabctl::ucPageTab tab{host, system};

  explicit Fixture(bool shown = true) {
    tab.SetEventSink(&events);
    tab.SetRenderer(&renderer);
    tab.InitProperties();
    if (shown) tab.Refresh();
    log.clear();
  }
};

}  // namespace tabfakes
