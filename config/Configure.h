#pragma once
// The configuration dialog: the settings entry of one program, shown and edited on three
// pages. Its controls are the entry's form in memory: whoever creates the dialog gets the
// stored entry loaded into them and reads the values back from them.

#include <memory>
#include <string>

#include "config/SettingsPages.h"
#include "controls/Form.h"
#include "help/HelpContexts.h"
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
  // After the INI file could not be written: Save writes to the registry from now on, and
  // the program's switch shows it.
  virtual void SaveSettingsToRegistryFromNowOn() = 0;
  // The caption of the dialog's notes.
  virtual std::string ApplicationTitle() const = 0;
  // The contents page of the program's help file.
  virtual void ShowHelpContents() = 0;
};

class TfrmConfiguration : public TForm {
 public:
  static constexpr int HelpContextId = HelpContexts::ConfigurationDialog;
  static constexpr const char* ClassNameText = "TfrmConfiguration";

  // Loads the stored entry of the opener's target into the controls.
  TfrmConfiguration(Platform& platform, IConfigurationOpener& opener);

  // The settings as the controls show them.
  TAppSettings CollectSettings() const;
  const std::string& IconFile() const { return Pages.IconFile(); }

  // Event handlers.
  void FormCreate();
  void btnOkClick(TControl& sender);
  void btnDeleteClick(TControl& sender);
  void btnCancelClick(TControl& sender);
  void btnHelpClick(TControl& sender);

  TCaptionStrip capConfiguration{*this, "capConfiguration", {0, 0, 464, 22}, "Configure this program for Ombrix",
                                 " ",   "Vorel Software"};
  TLabel3D lblProgramName{*this, "lblProgramName", nullptr, {12, 28, 220, 30}, "Vorel Ombrix"};
  TLabel lblProgramVersion{*this, "lblProgramVersion", nullptr, {240, 40, 212, 16}, "Version x.xx"};
  TLabel lblFilename{*this, "lblFilename", nullptr, {12, 68, 60, 16}, "Filename:"};
  TEdit valueFilename{*this, "valueFilename", nullptr, {76, 66, 376, 21}, "", true};

  TPageControl pcConfig{*this, "pcConfig", nullptr, {8, 96, 448, 252}};
  // The three pages, the same part the control center shows.
  TSettingsPages Pages;

  TButton btnOk{*this, "btnOk", nullptr, {150, 356, 72, 25}, "&Save"};
  TButton btnDelete{*this, "btnDelete", nullptr, {228, 356, 72, 25}, "&Delete"};
  TButton btnHelp{*this, "btnHelp", nullptr, {306, 356, 72, 25}, "&Help"};
  TButton btnCancel{*this, "btnCancel", nullptr, {384, 356, 72, 25}, "&Cancel"};

  // The settings store of the dialog; start-up also reads file types through it.
  TRegistryEnhanced RegistryOp;

 private:
  Platform& platform_;
  IConfigurationOpener& opener_;
  TAppSettingsStore store_;
};

}  // namespace ombrix
