#pragma once
// The simulated shell: a notification area that keeps the icons present per window and id,
// remembers each icon's identity as Windows 10 and 11 do (shown on the taskbar or behind
// the overflow's "^"), and logs every Shell_NotifyIconA call; clicks and keys on those icons
// delivered as the shell delivers them in the icon's protocol version; a restart of the
// taskbar; and recorded ShellExecuteA and HtmlHelpA calls with scripted results.

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Shell.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimIcons.h"
#include "platform/sim/SimInput.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimWindowOps.h"

namespace ombrix::sim {

struct NotifyIconCall {
  DWORD message;  // NIM_ADD, NIM_MODIFY, NIM_DELETE, NIM_SETVERSION
  NotifyIconData data;
  BOOL result;
};

// An icon as the notification area shows it.
struct TrayIconState {
  HWND window = nullptr;
  UINT id = 0;
  UINT callbackMessage = 0;  // 0 when no NIF_MESSAGE was given: the icon tells nobody
  HICON icon = nullptr;
  std::string tip;
  UINT version = 0;       // as NIM_SETVERSION set it since the add
  bool promoted = false;  // on the taskbar itself rather than behind the overflow's "^"
};

// What the shell remembers of an icon it has seen, across runs of its program: the user's
// choice to keep it on the taskbar and the tip it first had (Windows 11 lists the icon in
// its settings by that tip).
struct RememberedIcon {
  std::string programFile;  // the program that added it
  UINT id = 0;
  bool promoted = false;
  std::string initialTip;
};

struct ShellExecuteCall {
  HWND owner;
  std::string verb;
  std::string file;
  std::string parameters;
  std::string folder;
  int showCommand;
};

struct HtmlHelpCall {
  HWND caller;
  std::string helpFile;
  UINT command;
  ULONG_PTR data;
};

class SimShell : public IShell {
 public:
  SimShell(SimInput& input, SimWindowOps& windows, SimFileSystem& files, SimProcesses& processes)
      : input_(input), windows_(windows), files_(files), processes_(processes) {}

  INT_PTR ShellExecuteA(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& folder, int showCommand) override;
  // As ShellExecuteA; when the answer says started and a program opens files of the file's
  // extension (OpenFilesWith), that program is started with the file and its handle given.
  INT_PTR ShellExecuteExA(HWND owner, const std::string& verb, const std::string& file, const std::string& parameters,
                          const std::string& folder, int showCommand, HANDLE& process) override;
  DWORD GetLastError() override { return lastError_; }
  BOOL Shell_NotifyIconA(DWORD message, const NotifyIconData& data) override;
  // As the viewer does: nothing opens for a file that does not exist; otherwise the scripted
  // answer, by default a window of its own.
  HWND HtmlHelpA(HWND caller, const std::string& helpFile, UINT command, ULONG_PTR data) override;
  HRESULT SHGetKnownFolderPath(TKnownFolder folder, std::string& path) override;
  DWORD RtlGetVersionBuild() override { return systemBuild_; }
  // The system's build: Windows 10 22H2 unless set.
  void SetSystemBuild(DWORD build) { systemBuild_ = build; }
  // The Startup folder the shell names; empty (the default) answers E_NOTIMPL, as a shell
  // without the call does (Windows XP), so that callers read the "Shell Folders" entries.
  void SetStartupFolder(const std::string& path) { startupFolder_ = path; }

  // Test controls: the notification area.
  const std::vector<NotifyIconCall>& NotifyCalls() const { return notifyCalls_; }
  // The icon of this window and id, or nullptr when none is present.
  const TrayIconState* FindIcon(HWND window, UINT id) const;
  int IconCount() const { return static_cast<int>(icons_.size()); }
  // While set, every Shell_NotifyIconA call fails and changes nothing, as when no taskbar
  // exists.
  void RefuseNotifyIcons(bool refuse) { refuse_ = refuse; }
  // While set, NIM_SETVERSION is refused, as by a shell older than the version asked for.
  void RefuseVersions(bool refuse) { refuseVersions_ = refuse; }
  // The user drags the icon onto the taskbar (true) or back behind "^" (false), or switches
  // it in the taskbar's settings; the shell remembers it for the icon's identity.
  bool PromoteIcon(HWND window, UINT id, bool promoted);
  // The shell's memory of the identity (program file, id), or nullptr when it never saw it.
  const RememberedIcon* Remembered(const std::string& programFile, UINT id) const;
  // The taskbar is created again (the shell restarted): every icon vanishes and the
  // registered "TaskbarCreated" message is posted to every top-level window.
  void RestartShell();
  // The user changes the display's scaling: the small icon's size follows it, and Explorer
  // posts "TaskbarCreated" again so that programs redraw their icons; the icons stay.
  void ChangeScaling(SimIcons& icons, int percent);

  // What the user does with the mouse (at the cursor) or the keyboard on an icon. The shell
  // posts the icon's callback message for each button event: a click is button-down,
  // button-up; a double click is down, up, double-click, up. From version 3 on a left
  // button-up is followed by NIN_SELECT and a right one by WM_CONTEXTMENU; the keyboard
  // gives NIN_KEYSELECT (Enter or the space bar) and WM_CONTEXTMENU (the menu key or
  // Shift+F10) at the icon's own place. Before version 4, wParam is the id and lParam the
  // event; from version 4 on, lParam is the event (low word) and the id (high word) and
  // wParam the point (x low, y high).
  enum class Click { kLeft, kDouble, kRight, kKeySelect, kMenuKey };
  // False when no such icon is present or it has no callback message, and for a key on an
  // icon of version 0, whose protocol has no keyboard events.
  bool ClickIcon(HWND window, UINT id, Click click);
  // Where the icon sits, as a keyboard event reports it.
  static ScreenPoint IconAnchor() { return ScreenPoint{1800, 1060}; }

  // Test controls: shell execution and help. Unscripted calls succeed (42, and a viewer window
  // for a help file that exists).
  void AnswerNextShellExecute(INT_PTR result) { executeAnswers_.push_back(result); }
  void AnswerNextHtmlHelp(HWND viewer) { helpAnswers_.push_back(viewer); }
  // How the user answers the consent prompt of the verb "runas": yes unless told.
  void AnswerConsent(bool yes) { consentGiven_ = yes; }
  // The program (defined in the simulated processes) the shell starts for files whose name
  // ends in `extension` (".reg"), as "program" "file".
  void OpenFilesWith(const std::string& extension, const std::string& program) { openers_[extension] = program; }
  const std::vector<ShellExecuteCall>& ExecuteCalls() const { return executeCalls_; }
  const std::vector<HtmlHelpCall>& HelpCalls() const { return helpCalls_; }
  // The window an unscripted call answers.
  static HWND ViewerWindow() { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x4E1F)); }

  void ClearLog() {
    notifyCalls_.clear();
    executeCalls_.clear();
    helpCalls_.clear();
  }

 private:
  BOOL Apply(DWORD message, const NotifyIconData& data);
  RememberedIcon& Remember(const std::string& programFile, UINT id);
  void Post(const TrayIconState& icon, UINT event, const ScreenPoint& at);

  SimInput& input_;
  SimWindowOps& windows_;
  SimFileSystem& files_;
  SimProcesses& processes_;
  std::map<std::string, std::string> openers_;  // by extension
  bool refuse_ = false;
  bool consentGiven_ = true;
  DWORD lastError_ = 0;
  bool refuseVersions_ = false;
  std::map<std::pair<HWND, UINT>, TrayIconState> icons_;
  std::vector<RememberedIcon> remembered_;
  std::vector<NotifyIconCall> notifyCalls_;
  std::deque<INT_PTR> executeAnswers_;
  std::deque<HWND> helpAnswers_;
  std::vector<ShellExecuteCall> executeCalls_;
  std::vector<HtmlHelpCall> helpCalls_;
  std::string startupFolder_;
  DWORD systemBuild_ = 19045;
};

}  // namespace ombrix::sim
