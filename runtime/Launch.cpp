#include "runtime/Launch.h"

#include "base/NumberText.h"

namespace ombrix {

namespace {

constexpr DWORD IdleWait = 30000;

}  // namespace

WORD TargetShowCommand(std::int32_t showState, const StartupInfo& ownStartup) {
  switch (showState) {
    case 0:
      // "Don't override": the target starts as Ombrix was asked to start (a shortcut set to
      // run maximized, say); with no such request, minimized.
      return (ownStartup.flags & STARTF_USESHOWWINDOW) ? ownStartup.showWindow : static_cast<WORD>(SW_SHOWMINIMIZED);
    case 1:
      return SW_SHOWNORMAL;
    case 3:
      return SW_SHOWMAXIMIZED;
    default:
      return SW_SHOWMINIMIZED;
  }
}

WORD LaunchShowCommand(std::int32_t showState, const StartupInfo& ownStartup, bool canHide) {
  const WORD command = TargetShowCommand(showState, ownStartup);
  const bool minimized = command == SW_SHOWMINIMIZED || command == SW_MINIMIZE || command == SW_SHOWMINNOACTIVE;
  return canHide && minimized ? static_cast<WORD>(SW_HIDE) : command;
}

bool LaunchTarget(Platform& platform, TargetState& state, bool canHide) {
  state.ProcessInfo = ProcessInformation{};
  state.StartedHidden = false;
  // Taken as it stands: no quotes are added around a program path with blanks, and empty
  // arguments leave the separating blank at the end.
  const std::string commandLine = state.TargetFile + " " + state.TargetParams;

  // The target runs in its own folder, which it inherits from Ombrix.
  const size_t folderEnd = state.TargetFile.find_last_of("\\:");
  std::string folder = folderEnd == std::string::npos ? "" : state.TargetFile.substr(0, folderEnd + 1);
  if (!folder.empty() && folder[0] == '"') folder.erase(0, 1);
  if (!folder.empty() && !platform.Files().SetCurrentDirectoryA(folder)) throw ELaunchFolder(folder);

  state.LaunchError = 0;
  StartupInfo startup;
  startup.cb = StartupInfoSize;
  startup.flags = STARTF_USESHOWWINDOW;
  startup.showWindow = LaunchShowCommand(state.Settings.ShowState, state.OwnStartupInfo, canHide);
  ProcessInformation created;
  if (!platform.Processes().CreateProcessA(commandLine, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, startup, created)) {
    state.LaunchError = static_cast<std::int32_t>(platform.Processes().GetLastError());
    return false;
  }
  state.ProcessInfo = created;
  state.StartedHidden = startup.showWindow == SW_HIDE;
  return true;
}

DWORD WaitForTargetIdle(Platform& platform, const TargetState& state) {
  return platform.Processes().WaitForInputIdle(state.ProcessInfo.process, IdleWait);
}

std::string LaunchErrorText(std::int32_t code) {
  // The numbers of the old program-start interface; CreateProcess's error codes are read
  // through the same table.
  switch (code) {
    case -2:
      return "Unable to get window handle";
    case -1:
      return "No execution";
    case 0:
      return "System was out of memory, executable file was corrupt, or relocations were invalid";
    case 2:
      return "File was not found";
    case 3:
      return "Path was not found";
    case 5:
      return "Attempt was made to dynamically link to a task, or there was a sharing or network-protection error";
    case 6:
      return "Library required separate data segments for each task";
    case 8:
      return "There was insufficient memory to start the application";
    case 10:
      return "Windows version was incorrect";
    case 11:
      return "Executable file was invalid. Either it was not a Windows application or there was an error in the .EXE "
             "image";
    case 12:
      return "Application was designed for a different operating system";
    case 13:
      return "Application was designed for MS-DOS 4.0";
    case 14:
      return "Type of executable file was unknown";
    case 15:
      return "Attempt was made to load a real-mode application (developed for an earlier version of Windows)";
    case 16:
      return "Attempt to load second instance of an executable containing multiple data segments not marked read-only";
    case 19:
      return "Attempt was made to load a compressed executable file. The file must be decompressed before it can be "
             "loaded";
    case 20:
      return "Dynamic-link library (DLL) file was invalid. One of the DLLs required to run this application was "
             "corrupt";
    case 21:
      return "Application requires 32-bit extensions";
    default:
      return code >= 32 ? "No error / Unknown error" : "Unknown error";
  }
}

std::string StartFailureText(IProcesses& processes, const std::string& file, std::int32_t code) {
  if (code < 32) return LaunchErrorText(code);
  std::string description = processes.SystemErrorText(static_cast<DWORD>(code));
  while (!description.empty() && static_cast<unsigned char>(description.back()) <= ' ') description.pop_back();
  // Some descriptions name the file as "%1" ("%1 is not a valid Win32 application.").
  const size_t insert = description.find("%1");
  if (insert != std::string::npos) description.replace(insert, 2, file.substr(file.find_last_of("\\:") + 1));
  if (description.empty()) description = "Windows gives no description of this error.";
  return file + "\r\ncould not be started:\r\n" + description + "\r\n(Windows error " + IntToText(code) + ")";
}

}  // namespace ombrix
