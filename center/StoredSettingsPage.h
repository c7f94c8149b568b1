#pragma once
// The control center's page of stored settings: every application file name with an entry
// in the registry or in Ombrix's INI file, listed once, and the entry of the chosen name on
// the three settings pages, to be saved (to the INI file), reverted or deleted; and the
// export of the registry's entries to a registry file, and the import of one.

#include <string>

#include "center/HubContext.h"
#include "config/SettingsPages.h"
#include "controls/FormPart.h"
#include "help/HelpContexts.h"
#include "settings/AppSettings.h"

namespace ombrix {

class TStoredSettingsPage : public TFormPart {
 public:
  // A topic of its own, not the Explorer verb page's.
  static constexpr int HelpContextId = HelpContexts::StoredSettingsPage;

  TStoredSettingsPage(TForm& form, TTabSheet& page, THubContext& context);

  // Lists the names of both stores, the registry's first, and shows no entry.
  void FillSettingsList();

  // Event handlers (the settings pages bring their own).
  void cbSettingsListClick(TControl& sender);
  void btnSaveSettingClick(TControl& sender);
  void btnDeleteSettingClick(TControl& sender);
  void btnRevertSettingClick(TControl& sender);
  void btnExportClick(TControl& sender);
  void btnImportClick(TControl& sender);

  // The slot holding exactly `fileName` among slots 1 to 399, gaps passed over.
  TEntrySlot FindRegistrySlot(const std::string& fileName);
  TEntrySlot FindIniSlot(TIniFile& ini, const std::string& fileName);
  // The INI file of the Ombrix beside OmbrixHub.
  std::unique_ptr<TIniFile> OpenIni();

 private:
  TTabSheet& page_;

 public:
  TGroupBox gbStoredSettings{Form(),
                             "gbStoredSettings",
                             &page_,
                             {8, 6, 536, 390},
                             " Select the stored setting you wish to review, modify or delete "};
  TLabel Label2{
      Form(), "Label2", &gbStoredSettings, {12, 22, 400, 16}, "List of stored settings, per application filename:"};
  TComboBox cbSettingsList{Form(), "cbSettingsList", &gbStoredSettings, {12, 40, 512, 21}};
  TLabel lblNoItems{
      Form(), "lblNoItems", &gbStoredSettings, {12, 74, 512, 16}, "There are no stored settings on this machine."};
  TLabel lblChooseItem{Form(),
                       "lblChooseItem",
                       &gbStoredSettings,
                       {12, 74, 512, 16},
                       "Please choose the filename's settings you wish to review, modify or delete"};
  TPageControl pcConfig{Form(), "pcConfig", &gbStoredSettings, {12, 70, 448, 252}};
  TSettingsPages Pages;
  TButton btnSaveSetting{Form(), "btnSaveSetting", &gbStoredSettings, {468, 92, 56, 25}, "Save"};
  TButton btnRevertSetting{Form(), "btnRevertSetting", &gbStoredSettings, {468, 124, 56, 25}, "Revert"};
  TButton btnDeleteSetting{Form(), "btnDeleteSetting", &gbStoredSettings, {468, 156, 56, 25}, "Delete"};
  TButton btnImport{Form(), "btnImport", &gbStoredSettings, {12, 342, 96, 25}, "Import Reg."};
  TButton btnExport{Form(), "btnExport", &gbStoredSettings, {116, 342, 96, 25}, "Export Reg."};

 private:
  enum class TDisplay { kEmpty, kNoSelection, kSelected };
  void Show(TDisplay display);
  // The state the list calls for when no entry is chosen.
  void ShowUnselected();
  // Loads the chosen entry from the registry, then from the INI file.
  void LoadSelected();
  // Lets messages through until `process` has ended (true) or the window is closing, then
  // closes the handle.
  bool WaitForEnd(HANDLE process);

  // Save, Delete, Revert, Export and Import let waiting messages through while they work (the
  // lookups, the dialogs, the wait for the registry editor); a click on any of them meanwhile
  // would run a second handler inside the first, on a store half changed. It is ignored.
  class TBusy {
   public:
    explicit TBusy(bool& busy) : busy_(busy), refused_(busy) { busy_ = true; }
    ~TBusy() {
      if (!refused_) busy_ = false;
    }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;
    bool Refused() const { return refused_; }

   private:
    bool& busy_;
    bool refused_;
  };

  THubContext& context_;
  TAppSettingsStore store_;
  bool busy_ = false;
};

}  // namespace ombrix
