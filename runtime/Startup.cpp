#include "runtime/Startup.h"

#include "base/NumberText.h"
#include "platform/MiscUtils.h"
#include "platform/ShellLinks.h"
#include "runtime/ConsoleHost.h"
#include "runtime/Launch.h"
#include "runtime/OmbrixSelf.h"
#include "runtime/TargetResolution.h"
#include "runtime/Wow64Paths.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

namespace {

bool IsProgramExtension(const std::string& extension) {
  return extension == ".EXE" || extension == ".COM" || extension == ".BAT";
}

}  // namespace

TStartup::TStartup(Platform& platform, TTarget& target) : platform_(platform), target_(target), shellLink_(platform) {}

void TStartup::RecordInstallation() {
  TRegistryEnhanced registry(platform_);
  registry.RootKey = TRootKey::hkCurrentUser;
  registry.Key = SettingsKey;
  try {
    registry.WriteValue(ValueVersion, TVariant(FileVersionText(platform_, OwnFile(platform_))));
    registry.WriteValue(ValuePath, TVariant(OwnFolder(platform_)));
    registry.WriteValue(ValueExeName, TVariant(OwnFile(platform_).substr(OwnFolder(platform_).size())));
  } catch (const ERegistryException&) {
  }
}

bool TStartup::TakeTarget(const std::string& commandLine) {
  const std::vector<std::string> arguments = SplitCommandLineArguments(commandLine);
  ownArguments_ = ArgumentsAfterProgramName(commandLine);
  startFolder_ = platform_.Files().GetCurrentDirectoryA();
  std::string target;
  std::string params;
  if (arguments.empty()) {
    OpenFileRequest request;
    request.title = "Choose executable to minimize...";
    request.filter = "All files|*.*";
    request.defaultExtension = ".exe";
    request.pathMustExist = true;
    request.fileMustExist = true;
    if (!platform_.Dialogs().GetOpenFileNameA(request, target)) return false;
    ownArguments_ = "\"" + target + "\"";
  } else {
    target = arguments[0];
    params = BuildTargetParams(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
  }
  const std::string found = InTheSystemExplorerShows(target);
  if (!platform_.Files().FileExists(found)) {
    ShowOwnMessage(platform_, target + "\r\nnot found!\r\nPlease verify your program location.");
    return false;
  }
  target_.SetCommand(found, params);
  return true;
}

std::string TStartup::InTheSystemExplorerShows(const std::string& path) {
  // A 32-bit Ombrix on 64-bit Windows sees SysWOW64 as System32, where a program that exists
  // only as a 64-bit one is missing; the user meant the System32 Explorer shows.
  if (platform_.Files().FileExists(path) || !platform_.Processes().IsWow64Process()) return path;
  const std::string native = SysnativePath(path, platform_.Processes().ExpandEnvironmentStringsA("%SystemRoot%"));
  return !native.empty() && platform_.Files().FileExists(native) ? native : path;
}

bool TStartup::Checkfilename() {
  const std::string extension = UpperExtension(platform_.Windows(), target_.File());
  if (IsProgramExtension(extension)) return true;

  if (extension == ".LNK") {
    try {
      shellLink_.SetShellFolder(TShellFolder::sfNone);
      shellLink_.SetFileName(target_.File());
      shellLink_.ReadLink();
    } catch (const std::exception&) {
      ShowOwnMessage(platform_, "Invalid shortcut.\r\nCould not read file: \r\n" + target_.File());
      return false;
    }
    target_.SetCommand(InTheSystemExplorerShows(shellLink_.Target()), shellLink_.Arguments());
    return true;
  }

  // A document: the program registered for its file type, under HKEY_CLASSES_ROOT.
  TRegistryEnhanced classes(platform_);
  classes.RootKey = TRootKey::hkClassesRoot;
  classes.Access = TAccess::kRead;
  const ReadClassDefault readDefault = [&classes](const std::string& keyPath) {
    classes.Key = keyPath;
    return classes.ReadValueDefault("", TVariant(std::string())).ToText();
  };
  // Explorer, a 64-bit program on 64-bit Windows, expands %ProgramFiles% to the 64-bit
  // folder; a 32-bit Ombrix there would get the (x86) one.
  const bool wow64 = platform_.Processes().IsWow64Process();
  const ExpandEnvironment expand = [this, wow64](const std::string& text) {
    return platform_.Processes().ExpandEnvironmentStringsA(wow64 ? NativeProgramFolders(text) : text);
  };
  DocumentChoice choice;
  choice.userProgId = UserChoice(extension);
  choice.readValue = [&classes](const std::string& keyPath, const std::string& valueName) {
    classes.Key = keyPath;
    return classes.ReadValueDefault(valueName, TVariant(std::string())).ToText();
  };
  const DocumentCommand command =
      ResolveDocumentCommand(platform_.Windows(), target_.File(), extension, readDefault, expand, choice);
  if (!command.resolved) {
    ShowOwnMessage(platform_, command.errorText);
    return false;
  }
  target_.SetCommand(InTheSystemExplorerShows(command.targetFile), command.targetParams);
  return true;
}

std::string TStartup::UserChoice(const std::string& extension) {
  // Where Explorer keeps the program the user chose for a type ("Open with", "Always").
  TRegistryEnhanced choices(platform_);
  choices.RootKey = TRootKey::hkCurrentUser;
  choices.Access = TAccess::kRead;
  choices.Key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\" + extension + "\\UserChoice";
  return choices.ReadValueDefault("ProgId", TVariant(std::string())).ToText();
}

bool TStartup::KeepsWindows() {
  // A packaged app's window is a frame of the system's (or kept off the screen by it, which
  // says cloaked): hiding it would leave a dead taskbar button. Said before anything is
  // hidden, and Ombrix ends, the program left as it is.
  bool packaged = false;
  target_.ForEachWindow([this, &packaged](std::int32_t, HWND window) {
    DWORD cloaked = 0;
    packaged = packaged || platform_.Windows().GetClassNameA(window) == "ApplicationFrameWindow" ||
               (platform_.Windows().DwmGetWindowAttribute(window, DWMWA_CLOAKED, cloaked) == S_OK && cloaked != 0);
  });
  if (!packaged) return true;
  ShowOwnMessage(platform_, "\"" + target_.Caption() + "\" is a packaged app's window.\r\n\r\n" + PackagedAppReason);
  return false;
}

bool TStartup::Launch(bool canHide) {
  // Asked first, as it is only a registry read; the program file is read only where
  // Terminal would take its window.
  if (ConsolesGoToTerminal(platform_) &&
      IsConsoleProgram(platform_.Files(), target_.File(), UpperExtension(platform_.Windows(), target_.File()))) {
    OnLaunchFailed();
    ShowOwnMessage(platform_, ConsoleInTerminalText(target_.File()));
    return false;
  }
  // The registry Ombrix saves to is the account's it runs as; the user signed in to the
  // desktop would look for the settings in vain in theirs.
  if (platform_.Processes().IsElevated() && platform_.Processes().RunsAsAnotherAccount()) {
    ShowOwnMessage(platform_,
                   "Ombrix runs as administrator with another account than the one signed in to this "
                   "desktop.\r\nThe settings it saves go to that account, not to yours.");
  }
  try {
    if (target_.Launch(canHide)) return true;
    OnLaunchFailed();
    if (target_.LaunchError() == ERROR_ELEVATION_REQUIRED && !platform_.Processes().IsElevated()) {
      RestartElevated();
    } else {
      ShowOwnMessage(platform_, StartFailureText(platform_.Processes(), target_.File(), target_.LaunchError()));
    }
  } catch (const ELaunchFolder& error) {
    OnLaunchFailed();
    ShowOwnMessage(platform_, error.Message());
  }
  return false;
}

void TStartup::RestartElevated() {
  const std::string question = target_.File() +
                               "\r\nneeds administrator rights.\r\n\r\nTo keep it in the tray, Ombrix must run with "
                               "administrator rights too.\r\nStart Ombrix again as administrator for it?";
  if (ShowOwnMessage(platform_, question, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  // The show command this Ombrix was given goes on to the next one, where a target set to
  // "Don't override" takes it.
  const int showCommand = TargetShowCommand(0, platform_.Processes().GetStartupInfoA());
  HANDLE process = nullptr;
  const INT_PTR started = platform_.Shell().ShellExecuteExA(nullptr, "runas", OwnFile(platform_), ownArguments_,
                                                            startFolder_, showCommand, process);
  if (process) platform_.Processes().CloseHandle(process);
  // A declined consent prompt is the user's No.
  const DWORD error = platform_.Shell().GetLastError();
  if (started > 32 || error == ERROR_CANCELLED) return;
  ShowOwnMessage(platform_,
                 StartFailureText(platform_.Processes(), OwnFile(platform_), static_cast<std::int32_t>(error)));
}

bool TStartup::DiscoverWindows(const std::function<void()>& configure, const std::function<bool()>& ended) {
  for (;;) {
    const bool found = target_.FindWindows();
    if (ended()) return false;
    if (found) return true;
    const std::string question = LaunchErrorText(target_.LaunchError()) +
                                 "\r\n\r\nChoose YES to retry getting handle\r\nChoose NO to configure this "
                                 "app\r\nChoose CANCEL to exit.\r\n\r\n"
                                 "(Wait delay is now " +
                                 IntToText(target_.SecsToWait()) + " sec, you can increase it with \"Configure\".)";
    const int answer = platform_.Dialogs().MessageBoxA(platform_.Windows().GetDesktopWindow(), question, "Confirmation",
                                                       MB_YESNOCANCEL | MB_ICONINFORMATION | MB_SETFOREGROUND);
    if (ended()) return false;
    if (answer == IDYES) continue;
    if (answer != IDNO) return false;  // Cancel or the box closed: the target keeps running
    // Configure, then look again with what was saved; the target is not started again.
    configure();
    if (ended()) return false;
  }
}

}  // namespace ombrix
