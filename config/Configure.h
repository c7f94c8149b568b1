#pragma once
// The configuration dialog: the settings entry of one program, shown and edited on three
// pages. Its controls are the entry's form in memory: whoever creates the dialog gets the
// stored entry loaded into them and reads the values back from them.

#include <memory>
#include <string>

#include "controls/Form.h"
#include "platform/Platform.h"
#include "settings/AppSettings.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

// What the program that opens the dialog provides.
class IConfigurationOpener {
 public:
  virtual ~IConfigurationOpener() = default;
  // The program whose entry the dialog edits.
  virtual std::string TargetFile() const = 0;
  // Where Save writes: the INI file (true) or the registry.
  virtual bool SaveSettingsToIniFile() const = 0;
  // The caption of the dialog's notes.
  virtual std::string ApplicationTitle() const = 0;
  // The contents page of the program's help file.
  virtual void ShowHelpContents() = 0;
};

class TfrmConfiguration : public TForm {
 public:
  static constexpr int HelpContextId = 13;
  static constexpr const char* ClassNameText = "TfrmConfiguration";

  // Loads the stored entry of the opener's target into the controls.
  TfrmConfiguration(Platform& platform, IConfigurationOpener& opener);

  // The settings as the controls show them.
  TAppSettings CollectSettings() const;
  const std::string& IconFile() const { return IconFile_; }

  // Event handlers.
  void FormCreate();
  void btnOkClick(TControl& sender);
  void btnDeleteClick(TControl& sender);
  void btnCancelClick(TControl& sender);
  void btnHelpClick(TControl& sender);
  void ebxEditBoxesExit(TControl& sender);
  void rbMinByProcessClick(TControl& sender);
  void rbMinByProcessKeyPress(TControl& sender, char& key);
  void btnOriginalIconClick(TControl& sender);
  void btnCustomClick(TControl& sender);
  void udIconNumberClick(TControl& sender, TUDBtnType button);

  // The icon choice.
  int IconCount(const std::string& file);
  void ShowIconPreview(const std::string& file, int index);

  TCaptionStrip capConfiguration{*this, "capConfiguration", {0, 0, 464, 22}, "Configure this program for Ombrix", " ",
                                 "Vorel Software"};
  TLabel3D lblProgramName{*this, "lblProgramName", nullptr, {12, 28, 220, 30}, "Vorel Ombrix"};
  TLabel lblProgramVersion{*this, "lblProgramVersion", nullptr, {240, 40, 212, 16}, "Version x.xx"};
  TLabel lblFilename{*this, "lblFilename", nullptr, {12, 68, 60, 16}, "Filename:"};
  TEdit valueFilename{*this, "valueFilename", nullptr, {76, 66, 376, 21}, "", true};

  TPageControl pcConfig{*this, "pcConfig", nullptr, {8, 96, 448, 252}};
  TTabSheet tsMinimizeMethod{*this, "tsMinimizeMethod", pcConfig, "Minimize Method"};
  TTabSheet tsTrayIcon{*this, "tsTrayIcon", pcConfig, "Tray Icon"};
  TTabSheet tsMiscellaneous{*this, "tsMiscellaneous", pcConfig, "Miscellaneous"};

  // Page "Minimize Method".
  TRadioButton rbMinByProcess{*this, "rbMinByProcess", &tsMinimizeMethod, {10, 10, 300, 20}, "Minimize by Process ID"};
  TLabel lblHandleToCareAbout{*this, "lblHandleToCareAbout", &tsMinimizeMethod, {30, 38, 240, 16},
                              "The main window is window number:"};
  TEdit ebxMainHandle{*this, "ebxMainHandle", &tsMinimizeMethod, {280, 36, 60, 21}};
  TLabel lblThisProgramOpens{*this, "lblThisProgramOpens", &tsMinimizeMethod, {30, 64, 240, 16},
                             "Number of windows this program opens:"};
  TEdit ebxNbHandles{*this, "ebxNbHandles", &tsMinimizeMethod, {280, 62, 60, 21}};
  TRadioButton rbMinByName{*this, "rbMinByName", &tsMinimizeMethod, {10, 96, 300, 20}, "Minimize by window name"};
  TLabel lblWindowName{*this, "lblWindowName", &tsMinimizeMethod, {30, 122, 400, 32},
                       "Name of the window:  (appears at the top of the window or in the taskbar)"};
  TEdit ebxWindowName{*this, "ebxWindowName", &tsMinimizeMethod, {30, 156, 396, 21}};
  TCheckBox cbPartialSearch{*this, "cbPartialSearch", &tsMinimizeMethod, {30, 186, 190, 20},
                            "Name contains this string"};
  TCheckBox cbUsePID{*this, "cbUsePID", &tsMinimizeMethod, {230, 186, 190, 20}, "Use Process ID too"};

  // Page "Tray Icon".
  TLabel lblChooseIcon{*this, "lblChooseIcon", &tsTrayIcon, {10, 10, 260, 16}, "Choose the icon to be put in the tray:"};
  TImage imgIcon{*this, "imgIcon", &tsTrayIcon, {10, 32, 36, 36}};
  TUpDown udIconNumber{*this, "udIconNumber", &tsTrayIcon, {52, 34, 17, 32}, 0, 0, 0};
  TLabel lblIconNumber{*this, "lblIconNumber", &tsTrayIcon, {78, 42, 160, 16}, "Current Icon Number : 0"};
  TButton btnOriginalIcon{*this, "btnOriginalIcon", &tsTrayIcon, {250, 32, 86, 25}, "Original Icon"};
  TButton btnCustom{*this, "btnCustom", &tsTrayIcon, {342, 32, 86, 25}, "Custom"};
  TLabel Label1{*this, "Label1", &tsTrayIcon, {10, 84, 420, 16}, "Please choose how the tray icon and taskbar react:"};
  TRadioButton rbTrayTask{*this, "rbTrayTask", &tsTrayIcon, {20, 106, 408, 20},
                          "Icon in tray always, and name in taskbar when visible"};
  TRadioButton rbNoTrayTask{*this, "rbNoTrayTask", &tsTrayIcon, {20, 130, 408, 20}, "No Icon in tray when visible"};
  TRadioButton rbNoTrayNoTask{*this, "rbNoTrayNoTask", &tsTrayIcon, {20, 154, 408, 20},
                              "No Icon in tray, no name in taskbar"};
  TRadioButton rbTrayNoTask{*this, "rbTrayNoTask", &tsTrayIcon, {20, 178, 408, 20},
                            "Icon in tray always, no name in taskbar when visible"};

  // Page "Miscellaneous".
  TLabel lblSecsToWait{*this, "lblSecsToWait", &tsMiscellaneous, {10, 12, 240, 16},
                       "Nbr of seconds to try getting handle:"};
  TEdit ebxSecsToWait{*this, "ebxSecsToWait", &tsMiscellaneous, {256, 10, 60, 21}};
  TLabel lblShowState{*this, "lblShowState", &tsMiscellaneous, {10, 42, 420, 16},
                      "At startup, override shortcut's show state and show this window:"};
  TComboBox cbShowState{*this,
                        "cbShowState",
                        &tsMiscellaneous,
                        {10, 62, 260, 21},
                        {"Don't override", "Normal (shown)", "Minimized (hidden)", "Maximized (shown & maximized)"}};
  TCheckBox cbxDebugMode{*this, "cbxDebugMode", &tsMiscellaneous, {10, 96, 420, 20},
                         "Put this app in test mode (useful to configure)"};
  TCheckBox cbxWarnCloseQuick{*this, "cbxWarnCloseQuick", &tsMiscellaneous, {10, 120, 420, 20},
                              "Don't warn me if app closes quickly (default: OFF)"};
  TRadioGroup rgTrayDblClick{*this,
                             "rgTrayDblClick",
                             &tsMiscellaneous,
                             {10, 148, 260, 64},
                             "Tray behavior, minimize app on:",
                             {"Single click", "Double click"}};

  TButton btnOk{*this, "btnOk", nullptr, {150, 356, 72, 25}, "&Save"};
  TButton btnDelete{*this, "btnDelete", nullptr, {228, 356, 72, 25}, "&Delete"};
  TButton btnHelp{*this, "btnHelp", nullptr, {306, 356, 72, 25}, "&Help"};
  TButton btnCancel{*this, "btnCancel", nullptr, {384, 356, 72, 25}, "&Cancel"};

  // The settings store of the dialog; start-up also reads file types through it.
  TRegistryEnhanced RegistryOp;

 private:
  void ShowSettings(const TAppSettings& settings);
  // Sets the file whose icons are offered and shows the icon at `position` (0 when beyond).
  void ChooseIconFile(const std::string& file, int position);

  Platform& platform_;
  IConfigurationOpener& opener_;
  TAppSettingsStore store_;
  std::string IconFile_;
};

}  // namespace ombrix
