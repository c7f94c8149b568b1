#pragma once
// The three pages that show one settings entry: "Minimize Method", "Tray Icon" and
// "Miscellaneous", with their handlers and the icon choice. The configuration dialog holds
// them, and so does the control center's stored-settings page, each inside a page control
// of its own.

#include <cstdint>
#include <functional>
#include <string>

#include "controls/FormPart.h"
#include "help/HelpContexts.h"
#include "platform/Platform.h"
#include "settings/AppSettings.h"

namespace ombrix {

// Whether a hot key (as the hot-key control gives it) leaves typing alone, the rule the
// pages' control applies as keys are pressed and Ombrix applies to a stored key before
// taking it: a system-wide hot key takes its keys from every program, so a letter, digit,
// punctuation or any other key needs Ctrl or Alt (Shift alone would take a capital letter);
// F2 to F24 type nothing and may go alone or with any modifier; F1 asks for help.
bool HotKeyLeavesTypingAlone(std::int32_t hotKey);

class TSettingsPages : public TFormPart {
 public:
  static constexpr int IconDialogHelpContext = HelpContexts::SettingsPagesIconDialog;

  // The pages go into `pages` of `form`. `originalIconFile` names the file whose icons
  // "Original Icon" offers: the entry's own program, as the holder knows it.
  TSettingsPages(TForm& form, TPageControl& pages, Platform& platform, std::function<std::string()> originalIconFile);

  // Shows every value of `settings` but its file name, which the holder shows its own way.
  void ShowSettings(const TAppSettings& settings);
  // The values as the controls show them; Filename is left empty for the holder to fill.
  TAppSettings CollectSettings() const;
  const std::string& IconFile() const { return IconFile_; }

  // Event handlers.
  void ebxEditBoxesExit(TControl& sender);
  void rbMinByProcessClick(TControl& sender);
  void rbMinByProcessKeyPress(TControl& sender, char& key);
  void btnOriginalIconClick(TControl& sender);
  void btnCustomClick(TControl& sender);
  void udIconNumberClick(TControl& sender, TUDBtnType button);

  // The icon choice.
  int IconCount(const std::string& file);
  void ShowIconPreview(const std::string& file, int index);

 private:
  TPageControl& pages_;

 public:
  TTabSheet tsMinimizeMethod{Form(), "tsMinimizeMethod", pages_, "Minimize Method"};
  TTabSheet tsTrayIcon{Form(), "tsTrayIcon", pages_, "Tray Icon"};
  TTabSheet tsMiscellaneous{Form(), "tsMiscellaneous", pages_, "Miscellaneous"};

  // Page "Minimize Method".
  TRadioButton rbMinByProcess{Form(), "rbMinByProcess", &tsMinimizeMethod, {10, 10, 300, 20}, "Minimize by Process ID"};
  TLabel lblHandleToCareAbout{
      Form(), "lblHandleToCareAbout", &tsMinimizeMethod, {30, 38, 240, 16}, "The main window is window number:"};
  TEdit ebxMainHandle{Form(), "ebxMainHandle", &tsMinimizeMethod, {280, 36, 60, 21}};
  TLabel lblThisProgramOpens{
      Form(), "lblThisProgramOpens", &tsMinimizeMethod, {30, 64, 240, 16}, "Number of windows this program opens:"};
  TEdit ebxNbHandles{Form(), "ebxNbHandles", &tsMinimizeMethod, {280, 62, 60, 21}};
  TRadioButton rbMinByName{Form(), "rbMinByName", &tsMinimizeMethod, {10, 96, 300, 20}, "Minimize by window name"};
  TLabel lblWindowName{Form(),
                       "lblWindowName",
                       &tsMinimizeMethod,
                       {30, 122, 400, 32},
                       "Name of the window:  (appears at the top of the window or in the taskbar)"};
  TEdit ebxWindowName{Form(), "ebxWindowName", &tsMinimizeMethod, {30, 156, 396, 21}};
  TCheckBox cbPartialSearch{
      Form(), "cbPartialSearch", &tsMinimizeMethod, {30, 186, 190, 20}, "Name contains this string"};
  TCheckBox cbUsePID{Form(), "cbUsePID", &tsMinimizeMethod, {230, 186, 190, 20}, "Use Process ID too"};

  // Page "Tray Icon".
  TLabel lblChooseIcon{
      Form(), "lblChooseIcon", &tsTrayIcon, {10, 10, 260, 16}, "Choose the icon to be put in the tray:"};
  TImage imgIcon{Form(), "imgIcon", &tsTrayIcon, {10, 32, 36, 36}};
  TUpDown udIconNumber{Form(), "udIconNumber", &tsTrayIcon, {52, 34, 17, 32}, 0, 0, 0};
  TLabel lblIconNumber{Form(), "lblIconNumber", &tsTrayIcon, {78, 42, 160, 16}, "Current Icon Number : 0"};
  TButton btnOriginalIcon{Form(), "btnOriginalIcon", &tsTrayIcon, {250, 32, 86, 25}, "Original Icon"};
  TButton btnCustom{Form(), "btnCustom", &tsTrayIcon, {342, 32, 86, 25}, "Custom"};
  TLabel Label1{Form(), "Label1", &tsTrayIcon, {10, 84, 420, 16}, "Please choose how the tray icon and taskbar react:"};
  TRadioButton rbTrayTask{
      Form(), "rbTrayTask", &tsTrayIcon, {20, 106, 408, 20}, "Icon in tray always, and name in taskbar when visible"};
  TRadioButton rbNoTrayTask{Form(), "rbNoTrayTask", &tsTrayIcon, {20, 130, 408, 20}, "No Icon in tray when visible"};
  TRadioButton rbNoTrayNoTask{
      Form(), "rbNoTrayNoTask", &tsTrayIcon, {20, 154, 408, 20}, "No Icon in tray, no name in taskbar"};
  TRadioButton rbTrayNoTask{
      Form(), "rbTrayNoTask", &tsTrayIcon, {20, 178, 408, 20}, "Icon in tray always, no name in taskbar when visible"};
  TLabel lblHotKey{Form(), "lblHotKey", &tsTrayIcon, {10, 190, 80, 16}, "Hot key:"};
  THotKey hkHotKey{Form(), "hkHotKey", &tsTrayIcon, {96, 187, 180, 22}};

  // Page "Miscellaneous".
  TLabel lblSecsToWait{
      Form(), "lblSecsToWait", &tsMiscellaneous, {10, 12, 240, 16}, "Nbr of seconds to try getting handle:"};
  TEdit ebxSecsToWait{Form(), "ebxSecsToWait", &tsMiscellaneous, {256, 10, 60, 21}};
  TLabel lblShowState{Form(),
                      "lblShowState",
                      &tsMiscellaneous,
                      {10, 42, 420, 16},
                      "At startup, override shortcut's show state and show this window:"};
  TComboBox cbShowState{Form(),
                        "cbShowState",
                        &tsMiscellaneous,
                        {10, 62, 260, 21},
                        {"Don't override", "Normal (shown)", "Minimized (hidden)", "Maximized (shown & maximized)"}};
  TCheckBox cbxDebugMode{
      Form(), "cbxDebugMode", &tsMiscellaneous, {10, 96, 420, 20}, "Put this app in test mode (useful to configure)"};
  TCheckBox cbxWarnCloseQuick{Form(),
                              "cbxWarnCloseQuick",
                              &tsMiscellaneous,
                              {10, 120, 420, 20},
                              "Don't warn me if app closes quickly (default: OFF)"};
  TRadioGroup rgTrayDblClick{Form(),
                             "rgTrayDblClick",
                             &tsMiscellaneous,
                             {10, 148, 260, 64},
                             "Tray behavior, minimize app on:",
                             {"Single click", "Double click"}};

 private:
  // Sets the file whose icons are offered and shows the icon at `position` (0 when beyond).
  void ChooseIconFile(const std::string& file, int position);

  Platform& platform_;
  std::function<std::string()> originalIconFile_;
  std::string IconFile_;
};

}  // namespace ombrix
