#pragma once
// OmbrixHub's main window: three pages that prepare the ways Ombrix gets started (a
// shortcut, the Explorer verb) and edit the settings both programs store.

#include <string>

#include "center/ContextMenuPage.h"
#include "center/HubContext.h"
#include "center/ShortcutPage.h"
#include "center/StoredSettingsPage.h"
#include "config/About.h"
#include "controls/Form.h"
#include "controls/FormHost.h"
#include "help/HelpContexts.h"
#include "platform/ShellLnk.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

class TfrmMain : public TForm {
 public:
  static constexpr const char* ApplicationTitleText = "Vorel Ombrix - Control Center";
  static constexpr const char* HelpFileName = "OmbrixHub.chm";
  static constexpr int HelpContextId = HelpContexts::ControlCenter;

  // The form host's options for OmbrixHub: F1 opens OmbrixHub's help.
  static FormHostOptions HostOptions(Platform& platform);

  // Creates the window's components and runs FormCreate; `formHost` shows the about box.
  TfrmMain(Platform& platform, IFormHost& formHost);

  // Event handlers.
  void FormCreate();
  void btnAboutClick(TControl& sender);
  void btnExitClick(TControl& sender);

 private:
  Platform& platform_;
  IFormHost& formHost_;

 public:
  // Components the pages share; declared before the pages that use them.
  TRegistryEnhanced RegistryOp;
  TShellLinkWrapper ShellLink;

  TCaptionStrip capControlCenter{*this, "capControlCenter", {0, 0, 576, 22}, "Vorel Ombrix Control Center",
                                 "- ",  "Vorel Software"};
  TPageControl pcControlCenter{*this, "pcControlCenter", nullptr, {8, 28, 560, 432}};
  TTabSheet tsShortcut{*this, "tsShortcut", pcControlCenter, " Create a shortcut "};
  TTabSheet tsContextMenu{*this, "tsContextMenu", pcControlCenter, " Explorer Context menu "};
  TTabSheet tsStoredSettings{*this, "tsStoredSettings", pcControlCenter, " Stored settings "};
  TButton btnAbout{*this, "btnAbout", nullptr, {8, 468, 88, 25}, "&About"};
  TButton btnExit{*this, "btnExit", nullptr, {480, 468, 88, 25}, "E&xit"};

  // What the pages share: the platform, RegistryOp, OmbrixHub's folder, the title.
  THubContext Context;
  TShortcutPage ShortcutPage;
  TContextMenuPage ContextMenuPage;
  TStoredSettingsPage StoredSettingsPage;
  TAboutVorelOmbrix AboutBox;
};

}  // namespace ombrix
