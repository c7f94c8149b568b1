#include "runtime/OmbrixMain.h"

#include "config/TargetSettings.h"
#include "runtime/EndRequest.h"

namespace ombrix {

namespace {

HWND AllocateApplicationWindow(Platform& platform, const std::function<void()>& onEndRequest) {
  return platform.Input().AllocateWindow(
      [&platform, onEndRequest](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (IsEndRequest(message, wParam)) {
          onEndRequest();
          return EndRequestAnswer(message);
        }
        return platform.Input().DefWindowProcA(window, message, wParam, lParam);
      });
}

}  // namespace

FormHostOptions TVorel_Ombrix::HostOptions(Platform& platform) {
  return ProgramHostOptions(ApplicationTitleText, THelpFile(platform, TTrayMenu::HelpFileName, ApplicationTitleText));
}

TVorel_Ombrix::TVorel_Ombrix(Platform& platform, IFormHost& formHost)
    : platform_(platform),
      formHost_(formHost),
      applicationWindow_(AllocateApplicationWindow(platform, [this] { CloseFromOutside(); })),
      target_(platform),
      tray_(platform, applicationWindow_),
      visibility_(platform, target_, tray_),
      menu_(platform, formHost, target_, tray_, applicationWindow_),
      watch_(platform, target_, visibility_, tray_),
      startup_(platform, target_) {
  // Every window of Ombrix's own ends Ombrix when asked to close: destroying just the one
  // asked would leave Ombrix running without it.
  tray_.OnEndRequest = [this] { CloseFromOutside(); };
  menu_.mnuTray.OnEndRequest = [this] { CloseFromOutside(); };

  tray_.OnToggle = [this] { visibility_.Toggle(); };
  tray_.OnRightClick = [this](int x, int y) { menu_.Popup(x, y); };
  tray_.OnIconAdded = [this] { menu_.IconAdded(tray_.Icon()); };
  menu_.OnShow = [this] { visibility_.Show(); };
  menu_.OnHide = [this] { visibility_.Hide(); };
  menu_.OnConfigured = [this](const TAppSettings& saved) { ApplyTraySettings(saved); };
  menu_.OnClose = [this] { trayClose(); };
  watch_.OnConfigure = [this] { ConfigureWhole(); };
  watch_.OnEnd = [this] { Close(); };
  startup_.OnLaunchFailed = [this] { tray_.Retire(); };
}

TVorel_Ombrix::~TVorel_Ombrix() {
  watch_.Retire();
  if (applicationWindow_) platform_.Input().DeallocateWindow(applicationWindow_);
}

bool TVorel_Ombrix::FormCreate(const std::string& commandLine) {
  try {
    return RunStartup(commandLine);
  } catch (const std::exception& error) {
    // Whatever went wrong, Ombrix must not stay without icon and target: say so and end.
    // A program already started keeps running, in view.
    GiveUpTarget();
    ShowOwnMessage(platform_, error.what());
    return false;
  }
}

bool TVorel_Ombrix::RunStartup(const std::string& commandLine) {
  menu_.ReadSaveSwitch();
  startup_.RecordInstallation();
  // Programs a killed or crashed Ombrix left hidden would have no way back.
  const std::string leftHidden = LeftHiddenText(ShowWindowsLeftHidden(platform_));
  if (!leftHidden.empty()) ShowOwnMessage(platform_, leftHidden);
  if (!startup_.TakeTarget(commandLine)) return false;
  if (!startup_.Checkfilename()) return false;
  ApplySettings(LoadTargetSettings(platform_, target_.File()));
  // The icon first: a target going to the tray then starts hidden, never seen before it is
  // there. Not when found by window name: a search that finds nothing could not tell which
  // of the program's windows to show again.
  tray_.Setup(target_.Settings(), target_.File());
  if (!startup_.Launch(visibility_.CanHide() && target_.Settings().MinimizeType)) return false;
  target_.WaitUntilIdle();
  if (!startup_.DiscoverWindows([this] { ConfigureWhole(); }, [this] { return closed_; })) {
    GiveUpTarget();
    return false;
  }
  // A program that showed itself whatever it was started with is hidden too.
  if (target_.StartedHidden()) visibility_.TakeHiddenStart();
  if (!startup_.KeepsWindows()) {
    // The watch may already have hidden the window while start-up asked: it is shown again,
    // and nothing of Ombrix acts on it any more.
    visibility_.RestoreHidden();
    Close();
    return false;
  }

  watch_.Watch();
  tray_.ShowTip(target_.Caption());
  menu_.EnableTargetCommands();
  return true;
}

void TVorel_Ombrix::GiveUpTarget() {
  // The icon goes at once: what follows may wait for the program, and the icon could no
  // longer bring anything back.
  tray_.Retire();
  target_.ShowWhatAHiddenStartKept();
}

void TVorel_Ombrix::ApplySettings(const TAppSettings& settings) {
  target_.ApplySettings(settings);
  tray_.SetClickMode(settings.TrayDblClick);
}

void TVorel_Ombrix::ApplyTraySettings(const TAppSettings& settings) {
  target_.ApplyTraySettings(settings);
  tray_.SetClickMode(settings.TrayDblClick);
  tray_.Setup(target_.Settings(), target_.File());
}

void TVorel_Ombrix::ConfigureWhole() {
  menu_.OpenConfiguration([this](const TAppSettings& saved) {
    ApplySettings(saved);
    tray_.Setup(target_.Settings(), target_.File());
  });
}

void TVorel_Ombrix::trayClose() {
  visibility_.Show();
  target_.ForEachWindow([this](std::int32_t, HWND window) { platform_.Input().SendMessageA(window, WM_CLOSE, 0, 0); });
  Close();
}

void TVorel_Ombrix::Close() {
  if (closed_) return;
  closed_ = true;
  FormClose();
  if (OnClosed) OnClosed();
}

void TVorel_Ombrix::CloseFromOutside() {
  if (closed_) return;
  visibility_.RestoreHidden();
  Close();
}

void TVorel_Ombrix::FormClose() {
  visibility_.DropRecord();
  tray_.Retire();
  watch_.Retire();
}

}  // namespace ombrix
