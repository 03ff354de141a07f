// The main window's rules: start-up, the option handlers, the buttons and
// the exit question. The window itself is reached through FormMainView.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/acceleration.h"
#include "settings/module_auto_run.h"
#include "settings/module_config.h"

namespace shell {

inline constexpr std::string_view kExitQuestion = "确定退出吗?";
inline constexpr std::string_view kExitCaption = "请确认!";
inline constexpr std::string_view kAutoRunRefusedNotice = "无法设置开机自启动：没有写入注册表启动项的权限。";
inline constexpr std::string_view kAutoRunForUserNotice =
    "程序所在的文件夹或程序文件可被管理员以外的用户修改，为安全起见，开机自启动只为当前用户设置。";
inline constexpr std::string_view kAutoRunOtherAccountNotice =
    "无法设置开机自启动：本程序正以另一个用户的帐户运行（以其他用户身份提升），"
    "写入该帐户的启动项不会在您登录时启动本程序。请以您自己的帐户运行本程序后再设置。";
inline constexpr std::string_view kAutoRunNotRemovedNotice =
    "无法取消开机自启动：所有用户的启动项只有以管理员身份运行本程序才能删除。";

enum class Check { AutoRun, AutoMin, State, MostTop, EnableRecord, AccelerateChildren };
enum class Combo { Speed, AutoCleanCount };

// A check box's state when the window has been created, before start-up
// applies the settings (the lists start empty, nothing selected).
bool InitialCheck(Check box);

// What the rules need from the window. Setting a control here never runs a
// handler by itself: the rules decide when a handler runs.
class FormMainView {
 public:
  virtual ~FormMainView() = default;
  virtual bool IsChecked(Check box) = 0;
  virtual void SetChecked(Check box, bool checked) = 0;
  virtual void FillCombo(Combo list, const std::vector<std::string>& items) = 0;
  virtual int Selection(Combo list) = 0;  // -1: nothing selected
  virtual void Select(Combo list, int index) = 0;
  virtual std::string ComboText(Combo list) = 0;

  // Pictures, captions, the "关于" page and the tab height of the pages.
  virtual void SetUpPages() = 0;
  virtual void SetTopmost(bool topmost) = 0;
  virtual void RunTick() = 0;
  // Puts every process the program raised back to the class it had.
  virtual void PutBackRaised() = 0;
  virtual void ResetLinkStyle() = 0;
  virtual void InstallWindowHook() = 0;
  virtual void RemoveWindowHook() = 0;
  virtual void AddTrayIcon() = 0;
  virtual void DeleteTrayIcon() = 0;
  // The hide request, which the window hook answers by hiding the window.
  virtual void SendHideRequest() = 0;
  // Yes/No box with a question icon; true for Yes.
  virtual bool AskYesNo(const std::string& text, const std::string& caption) = 0;
  // A "提示" box with an exclamation icon. It may open after the handler
  // that asked for it has returned.
  virtual void Notice(const std::string& text) = 0;
  // Closes the dialogs and boxes still open under the exit question as if
  // cancelled, and shows no notice from then on: the user said Yes.
  virtual void CancelModalSteps() = 0;
  // Destroys the window, which ends the program.
  virtual void Unload() = 0;
};

class FormMainRules {
 public:
  FormMainRules(FormMainView& view, const settings::ModuleConfig& config,
                const settings::ModuleAutoRun& autoRun, engine::AccelerationState& state)
      : view_(view), config_(config), autoRun_(autoRun), state_(state) {}

  // The load event: every step in order; a failing step never stops the next.
  void Load();

  // A check box's checked state or a list's selection changed (by the user
  // or the program): store the option and apply it.
  void CheckChanged(Check box);
  void ComboChanged(Combo list);

  void CommandMiniClick() { view_.SendHideRequest(); }

  // The session is ending: the window may be destroyed without the exit
  // sequence, so nothing raised may be left behind.
  void SessionEnding() { view_.PutBackRaised(); }

  // The unload request (exit button, tray menu, close box): the question,
  // and on Yes the tray icon and the hook go and the window unloads. Never
  // two questions at once. While a modal step is open the window stays
  // until that step has ended: the code under the step still uses it.
  void RequestUnload();
  // An exit asked for from outside (the installer or the uninstaller, which
  // cannot answer the question): the same as Yes, unasked. A question or
  // dialog open meanwhile is cancelled, and the window goes once its step
  // has ended.
  void UnloadWithoutAsking();
  bool Unloading() const { return unloading_; }

  // A step that runs its own message loop (a dialog, a message box) and
  // uses the window after the loop ends. Steps may nest.
  void BeginModalStep() { ++modalSteps_; }
  void EndModalStep();

 private:
  // Changes a control as the program; its handler runs only on a change.
  void ApplyCheck(Check box, bool checked);
  void ApplySelection(Combo list, int index);
  void AutoRunChanged(bool checked);
  // Yes to the exit: the tray icon and the hook go, and the window unloads
  // when no modal step is left open.
  void BeginUnload();

  FormMainView& view_;
  const settings::ModuleConfig& config_;
  const settings::ModuleAutoRun& autoRun_;
  engine::AccelerationState& state_;
  bool loading_ = false;
  int modalSteps_ = 0;
  bool asking_ = false;
  bool unloading_ = false;
  bool unloaded_ = false;
};

// Begins a modal step and ends it when the scope ends.
class ModalStep {
 public:
  explicit ModalStep(FormMainRules& rules) : rules_(rules) { rules_.BeginModalStep(); }
  ~ModalStep() { rules_.EndModalStep(); }
  ModalStep(const ModalStep&) = delete;
  ModalStep& operator=(const ModalStep&) = delete;

 private:
  FormMainRules& rules_;
};

}  // namespace shell
