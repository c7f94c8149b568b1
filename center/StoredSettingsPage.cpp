#include "center/StoredSettingsPage.h"

#include <functional>
#include <initializer_list>
#include <set>

#include "center/SettingsExport.h"
#include "platform/MiscUtils.h"
#include "settings/SettingsText.h"

namespace ombrix {

namespace {

// The dialogs of the export and the import: registry files only.
OpenFileRequest RegistryFileRequest(HWND owner, const char* title) {
  OpenFileRequest request;
  request.owner = owner;
  request.title = title;
  request.filter = "Registry Files|*.reg";
  request.defaultExtension = "reg";
  request.pathMustExist = true;
  return request;
}
// Ombrix writes a slot's file name as this one character to mark it as nobody's.
constexpr char UnusedName[] = "\x01";

}  // namespace

TStoredSettingsPage::TStoredSettingsPage(TForm& form, TTabSheet& page, THubContext& context)
    : TFormPart(form),
      page_(page),
      Pages(form, pcConfig, context.platform, [this] { return cbSettingsList.Text(); }),
      context_(context),
      store_(context.platform, context.RegistryOp) {
  gbStoredSettings.HelpContext = HelpContextId;
  cbSettingsList.Sorted = true;
  cbSettingsList.Compare = WindowsSortOrder(context.platform.Windows());
  cbSettingsList.DropDownCount = 16;
  cbSettingsList.OnChange = Handler(&TStoredSettingsPage::cbSettingsListClick);

  struct TFlatButton {
    TButton& button;
    const char* hint;
    TNotifyEvent click;
  };
  for (const TFlatButton& flat : {
           TFlatButton{btnSaveSetting, "Save changes to this setting",
                       Handler(&TStoredSettingsPage::btnSaveSettingClick)},
           TFlatButton{btnRevertSetting, "Revert to saved setting (cancel modifications)",
                       Handler(&TStoredSettingsPage::btnRevertSettingClick)},
           TFlatButton{btnDeleteSetting, "Delete this setting", Handler(&TStoredSettingsPage::btnDeleteSettingClick)},
           TFlatButton{btnImport, "Import all registry-saved settings from a file (restore, machine transfer, ...)",
                       Handler(&TStoredSettingsPage::btnImportClick)},
           TFlatButton{btnExport, "Export all registry-saved settings into a file (backup, machine transfer, ...)",
                       Handler(&TStoredSettingsPage::btnExportClick)},
       }) {
    flat.button.Flat = true;
    flat.button.Font.Bold = true;
    flat.button.Hint = flat.hint;
    flat.button.OnClick = flat.click;
  }
  Show(TDisplay::Empty);
}

std::unique_ptr<TIniFile> TStoredSettingsPage::OpenIni() {
  return OpenSettingsIni(context_.platform, context_.HubFolder + "Ombrix.ini");
}

void TStoredSettingsPage::Show(TDisplay display) {
  const bool selected = display == TDisplay::Selected;
  for (TControl* control :
       std::initializer_list<TControl*>{&pcConfig, &btnSaveSetting, &btnDeleteSetting, &btnRevertSetting}) {
    control->SetVisible(selected);
  }
  btnImport.SetVisible(true);
  btnExport.SetVisible(display != TDisplay::Empty);
  lblNoItems.SetVisible(display == TDisplay::Empty);
  lblChooseItem.SetVisible(display == TDisplay::NoSelection);
}

void TStoredSettingsPage::ShowUnselected() {
  cbSettingsList.SetItemIndex(-1);
  Show(cbSettingsList.Items().empty() ? TDisplay::Empty : TDisplay::NoSelection);
}

void TStoredSettingsPage::FillSettingsList() {
  std::vector<std::string> names;
  // A name is listed once whatever its letter case, in the spelling found first.
  std::set<std::string> listed;
  IWindowOps& windows = context_.platform.Windows();
  auto add = [&](const std::string& name) {
    if (name.empty() || name == UnusedName) return;
    if (listed.insert(windows.CharUpperBuffA(name)).second) names.push_back(name);
  };
  for (int slot = 1; slot < SlotLimit; ++slot) add(store_.StoredFileName(slot));
  try {
    std::unique_ptr<TIniFile> ini = OpenIni();
    for (const std::string& name : store_.StoredFileNames(*ini)) add(name);
  } catch (const Exception&) {
    // An INI file that cannot be read adds nothing more.
  }
  cbSettingsList.SetItems(std::move(names));
  ShowUnselected();
}

TEntrySlot TStoredSettingsPage::FindRegistrySlot(const std::string& fileName) {
  for (int slot = 1; slot < SlotLimit; ++slot) {
    if (store_.StoredFileName(slot) == fileName) return {slot, true};
  }
  return {};
}

TEntrySlot TStoredSettingsPage::FindIniSlot(TIniFile& ini, const std::string& fileName) {
  for (int slot = 1; slot < SlotLimit; ++slot) {
    if (store_.StoredFileName(ini, slot) == fileName) return {slot, true};
  }
  return {};
}

void TStoredSettingsPage::LoadSelected() {
  const std::string name = cbSettingsList.Text();
  // Values an entry lacks keep what the pages show: start from that each time.
  auto load = [&](const std::function<void(TAppSettings&)>& read) {
    TAppSettings settings = Pages.CollectSettings();
    settings.Filename = name;
    read(settings);
    Pages.ShowSettings(settings);
  };
  const TEntrySlot inRegistry = FindRegistrySlot(name);
  if (inRegistry.Found) load([&](TAppSettings& settings) { store_.LoadEntryAt(settings, inRegistry.Slot); });
  try {
    std::unique_ptr<TIniFile> ini = OpenIni();
    const TEntrySlot inIni = FindIniSlot(*ini, name);
    if (inIni.Found) load([&](TAppSettings& settings) { store_.LoadEntryAt(*ini, settings, inIni.Slot); });
  } catch (const Exception&) {
  }
  // The fields of the method just loaded are the ones to edit.
  Pages.rbMinByProcessClick(Pages.rbMinByProcess);
}

void TStoredSettingsPage::cbSettingsListClick(TControl&) {
  if (cbSettingsList.ItemIndex() < 0) {
    ShowUnselected();
    return;
  }
  Show(TDisplay::Selected);
  LoadSelected();
}

void TStoredSettingsPage::btnRevertSettingClick(TControl&) {
  if (cbSettingsList.ItemIndex() >= 0) LoadSelected();
}

void TStoredSettingsPage::btnSaveSettingClick(TControl&) {
  if (cbSettingsList.ItemIndex() < 0) return;
  TAppSettings settings = Pages.CollectSettings();
  settings.Filename = cbSettingsList.Text();
  std::unique_ptr<TIniFile> ini = OpenIni();
  TEntrySlot slot = FindIniSlot(*ini, settings.Filename);
  if (!slot.Found) {
    // A name kept only in the registry goes where Ombrix's own lookup will look for it: the
    // first slot without a file name.
    slot = store_.FindEntrySlot(*ini, settings.Filename);
    if (!slot.Found && slot.Slot >= SlotLimit) {
      throw ESettingsStoreFull(FormatText(MsgSettingsStoreFull, settings.Filename));
    }
  }
  // A failed write reaches the host, which shows "Unable to write to <file>"; the page stays.
  store_.SaveEntryAt(*ini, settings, slot.Slot);
}

void TStoredSettingsPage::btnDeleteSettingClick(TControl&) {
  if (cbSettingsList.ItemIndex() < 0) return;
  const std::string name = cbSettingsList.Text();
  const TEntrySlot inRegistry = FindRegistrySlot(name);
  if (inRegistry.Found) store_.DeleteEntryAt(inRegistry.Slot);
  std::unique_ptr<TIniFile> ini = OpenIni();
  const TEntrySlot inIni = FindIniSlot(*ini, name);
  // A value left in the INI file raises "Unable to write to <file>", and the entry stays
  // listed: it is still stored.
  if (inIni.Found) store_.DeleteEntryAt(*ini, inIni.Slot);

  std::vector<std::string> names = cbSettingsList.Items();
  names.erase(names.begin() + cbSettingsList.ItemIndex());
  cbSettingsList.SetItems(std::move(names));
  ShowUnselected();
}

void TStoredSettingsPage::btnExportClick(TControl&) {
  OpenFileRequest SaveDialogExp = RegistryFileRequest(Form().Handle(), "Choose file to export to");
  SaveDialogExp.overwritePrompt = true;
  std::string fileName;
  if (!context_.platform.Dialogs().GetSaveFileNameA(SaveDialogExp, fileName)) return;
  // Errors reach the host's error box; the component gets its root and key back either way.
  ExportSettings(context_.platform, context_.RegistryOp, fileName);
}

void TStoredSettingsPage::btnImportClick(TControl&) {
  OpenFileRequest OpenDialogImp = RegistryFileRequest(Form().Handle(), "Choose file to import from");
  OpenDialogImp.fileMustExist = true;
  std::string fileName;
  if (!context_.platform.Dialogs().GetOpenFileNameA(OpenDialogImp, fileName)) return;
  const INT_PTR started = context_.platform.Shell().ShellExecuteA(Form().Handle(), "open", fileName, "", "", SW_SHOW);
  if (started > 32) {
    // The registry editor merges the file on its own; the list is read again once, a second
    // later, whether or not it is done by then.
    PauseWithMessages(context_.platform, 1000);
    FillSettingsList();
  } else {
    context_.ShowMessage(Form().Handle(), "Unable to import settings from: \r\n" + fileName + "\r\n" +
                                              "The file data might be invalid.");
  }
}

}  // namespace ombrix
