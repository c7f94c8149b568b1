#pragma once
// The simulated shell: a notification area that keeps the icons present per window and id
// and logs every Shell_NotifyIconA call, clicks on those icons delivered as the shell
// delivers them, a restart of the taskbar, and recorded ShellExecuteA and HtmlHelpA calls
// with scripted results.

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Shell.h"
#include "platform/sim/SimFileSystem.h"
#include "platform/sim/SimInput.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimWindowOps.h"

namespace ombrix::sim {

struct NotifyIconCall {
  DWORD message;  // NIM_ADD, NIM_MODIFY, NIM_DELETE
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
  // The taskbar is created again (the shell restarted): every icon vanishes and the
  // registered "TaskbarCreated" message is posted to every top-level window.
  void RestartShell();

  // What the user does with the mouse on an icon. The shell posts the icon's callback
  // message (wParam the id, lParam the mouse message) for each button event: a click is
  // button-down, button-up; a double click is down, up, double-click, up.
  enum class Click { kLeft, kDouble, kRight };
  // False when no such icon is present or it has no callback message.
  bool ClickIcon(HWND window, UINT id, Click click);

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

  SimInput& input_;
  SimWindowOps& windows_;
  SimFileSystem& files_;
  SimProcesses& processes_;
  std::map<std::string, std::string> openers_;  // by extension
  bool refuse_ = false;
  bool consentGiven_ = true;
  DWORD lastError_ = 0;
  std::map<std::pair<HWND, UINT>, TrayIconState> icons_;
  std::vector<NotifyIconCall> notifyCalls_;
  std::deque<INT_PTR> executeAnswers_;
  std::deque<HWND> helpAnswers_;
  std::vector<ShellExecuteCall> executeCalls_;
  std::vector<HtmlHelpCall> helpCalls_;
  std::string startupFolder_;
};

}  // namespace ombrix::sim
