#pragma once
// The help contexts of both programs: the numbers by which a window, or a control in it, asks
// the help viewer for its topic. Each program's help project (help/<Program>/<Program>.hhp)
// gives the names it uses their topics in its [ALIAS] section and takes their numbers from
// here: its [MAP] section includes this file, which help/HelpProject.cmake reads for the help
// build and its checks. So a number is written once, for the code and the help alike.
//
// That reader takes the lines "constexpr int Name = number;" and nothing else: keep each
// context on a line of its own, with a plain decimal number.

namespace ombrix::HelpContexts {

// Ombrix.
constexpr int OmbrixIntroduction = 10;        // the introduction; no window asks for it
constexpr int ConfigurationDialog = 13;       // TfrmConfiguration
constexpr int ProgramInformationDialog = 14;  // TfrmProgramInfo
constexpr int TrayMenu = 21;                  // the tray icon's menu and its items

// OmbrixHub.
constexpr int ControlCenter = 5;             // TfrmMain
constexpr int ShortcutName = 10;             // the shortcut page's name box
constexpr int SettingsPagesIconDialog = 13;  // the icon dialog the settings pages' "Custom" opens
constexpr int ShortcutFile = 20;             // the shortcut page's file box
constexpr int ShortcutArguments = 30;        // the shortcut page's parameters box
constexpr int ShortcutLocation = 50;         // the shortcut page's location list
constexpr int ShortcutPage = 70;             // the shortcut page
constexpr int ExplorerVerbList = 100;        // the Explorer verb page's list of file types
constexpr int ExplorerVerbPage = 110;        // the Explorer verb page
constexpr int ExplorerVerbExtension = 120;   // the Explorer verb page's extension box
constexpr int ExplorerVerbType = 130;        // the Explorer verb page's file type box
constexpr int ExplorerVerbOpenWith = 140;    // the Explorer verb page's open-with box
constexpr int StoredSettingsPage = 150;      // the stored-settings page

// Both programs.
constexpr int AboutBox = 80;  // TAboutVorelOmbrix

// The settings pages are shared, and so is the context of the icon dialog they open. In
// Ombrix they are shown in the configuration dialog alone, whose topic serves them: its help
// project maps this number once, as the dialog's.
static_assert(SettingsPagesIconDialog == ConfigurationDialog,
              "Ombrix's help finds the icon dialog's topic by this number");

}  // namespace ombrix::HelpContexts
