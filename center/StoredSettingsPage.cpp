#include "center/StoredSettingsPage.h"

#include <algorithm>
#include <functional>
#include <initializer_list>

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
  Show(TDisplay::kEmpty);
}

std::unique_ptr<TIniFile> TStoredSettingsPage::OpenIni() {
  return OpenSettingsIni(context_.platform, context_.HubFolder + "Ombrix.ini");
}

void TStoredSettingsPage::Show(TDisplay display) {
  const bool selected = display == TDisplay::kSelected;
  for (TControl* control :
       std::initializer_list<TControl*>{&pcConfig, &btnSaveSetting, &btnDeleteSetting, &btnRevertSetting}) {
    control->SetVisible(selected);
  }
  btnImport.SetVisible(true);
  btnExport.SetVisible(display != TDisplay::kEmpty);
  lblNoItems.SetVisible(display == TDisplay::kEmpty);
  lblChooseItem.SetVisible(display == TDisplay::kNoSelection);
}

void TStoredSettingsPage::ShowUnselected() {
  cbSettingsList.SetItemIndex(-1);
  Show(cbSettingsList.Items().empty() ? TDisplay::kEmpty : TDisplay::kNoSelection);
}

void TStoredSettingsPage::FillSettingsList() {
  std::vector<std::string> names;
  // A name is listed once whatever its letter case, in the spelling found first. The stores
  // hold a few hundred names at most: a look at each listed one costs less than a tree.
  std::vector<std::string> listed;
  IWindowOps& windows = context_.platform.Windows();
  auto add = [&](const std::string& name) {
    if (name.empty() || name == UnusedName) return;
    std::string upper = windows.CharUpperBuffA(name);
    if (std::find(listed.begin(), listed.end(), upper) != listed.end()) return;
    listed.push_back(std::move(upper));
    names.push_back(name);
  };
  for (const std::string& name : store_.StoredFileNames()) add(name);
  try {
    std::unique_ptr<TIniFile> ini = OpenIni();
    for (const std::string& name : store_.StoredFileNames(*ini)) add(name);
  } catch (const Exception&) {
    // An INI file that cannot be read adds nothing more.
  }
  cbSettingsList.SetItems(std::move(names));
  ShowUnselected();
}

namespace {

// The page finds a name where it is, and never a free slot for it.
TEntrySlot FoundOnly(const TEntrySlot& slot) { return slot.Found ? slot : TEntrySlot{}; }

}  // namespace

TEntrySlot TStoredSettingsPage::FindRegistrySlot(const std::string& fileName) {
  return FoundOnly(TAppSettingsStore::SlotAmong(store_.StoredFileNames(), fileName));
}

TEntrySlot TStoredSettingsPage::FindIniSlot(TIniFile& ini, const std::string& fileName) {
  return FoundOnly(TAppSettingsStore::SlotAmong(store_.StoredFileNames(ini), fileName));
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
  Show(TDisplay::kSelected);
  LoadSelected();
}

void TStoredSettingsPage::btnRevertSettingClick(TControl&) {
  const TBusy busy(busy_);
  if (busy.Refused() || cbSettingsList.ItemIndex() < 0) return;
  LoadSelected();
}

void TStoredSettingsPage::btnSaveSettingClick(TControl&) {
  const TBusy busy(busy_);
  if (busy.Refused() || cbSettingsList.ItemIndex() < 0) return;
  TAppSettings settings = Pages.CollectSettings();
  settings.Filename = cbSettingsList.Text();
  // Where Ombrix saves, since Ombrix loads the registry first and the INI file over it: an
  // entry written to the other store would hide, or be hidden by, every later change made in
  // Ombrix's own dialog. A failed write reaches the host, which shows its message; the page
  // stays.
  if (store_.SavesToIniFile()) {
    store_.SaveSettings(*OpenIni(), settings);
  } else {
    store_.SaveSettings(settings, false);
  }
}

void TStoredSettingsPage::btnDeleteSettingClick(TControl&) {
  const TBusy busy(busy_);
  if (busy.Refused() || cbSettingsList.ItemIndex() < 0) return;
  const std::string name = cbSettingsList.Text();
  // A value left in the registry or in the INI file raises ("Failed to delete data for ...",
  // "Unable to write to <file>"), and the entry stays listed: it is still stored.
  const TEntrySlot inRegistry = FindRegistrySlot(name);
  if (inRegistry.Found) store_.DeleteEntryAt(inRegistry.Slot);
  std::unique_ptr<TIniFile> ini = OpenIni();
  const TEntrySlot inIni = FindIniSlot(*ini, name);
  if (inIni.Found) store_.DeleteEntryAt(*ini, inIni.Slot);

  std::vector<std::string> names = cbSettingsList.Items();
  names.erase(names.begin() + cbSettingsList.ItemIndex());
  cbSettingsList.SetItems(std::move(names));
  ShowUnselected();
}

void TStoredSettingsPage::btnExportClick(TControl&) {
  const TBusy busy(busy_);
  if (busy.Refused()) return;
  OpenFileRequest SaveDialogExp = RegistryFileRequest(Form().Handle(), "Choose file to export to");
  SaveDialogExp.overwritePrompt = true;
  std::string fileName;
  if (!context_.platform.Dialogs().GetSaveFileNameA(SaveDialogExp, fileName)) return;
  // Errors reach the host's error box; the component gets its root and key back either way.
  ExportSettings(context_.platform, context_.RegistryOp, fileName);
}

void TStoredSettingsPage::btnImportClick(TControl&) {
  const TBusy busy(busy_);
  if (busy.Refused()) return;
  OpenFileRequest OpenDialogImp = RegistryFileRequest(Form().Handle(), "Choose file to import from");
  OpenDialogImp.fileMustExist = true;
  std::string fileName;
  if (!context_.platform.Dialogs().GetOpenFileNameA(OpenDialogImp, fileName)) return;
  HANDLE editor = nullptr;
  const INT_PTR started =
      context_.platform.Shell().ShellExecuteExA(Form().Handle(), "open", fileName, "", "", SW_SHOW, editor);
  if (started <= 32) {
    context_.ShowMessage(Form().Handle(), "Unable to import settings from: \r\n" + fileName + "\r\n" +
                                              "The file data might be invalid.");
    return;
  }
  // The registry editor asks before it merges the file: the list is read again once it has
  // ended, the window answering meanwhile. A shell that names no program to wait for gets a
  // second, as before.
  if (editor) {
    if (!WaitForEnd(editor)) return;
  } else {
    PauseWithMessages(context_.platform, 1000);
  }
  FillSettingsList();
}

bool TStoredSettingsPage::WaitForEnd(HANDLE process) {
  IProcesses& processes = context_.platform.Processes();
  IMessagePump& messages = context_.platform.Messages();
  // Looked at again at least this often; any message wakes the wait sooner.
  constexpr DWORD Glance = 100;
  bool ended = false;
  // A window closed meanwhile stops waiting: the program goes on without it.
  while (Form().ModalResult() == mrNone) {
    const DWORD state = processes.WaitForSingleObject(process, 0);
    if (state != WAIT_TIMEOUT) {
      ended = true;
      break;
    }
    messages.WaitForMessages(Glance);
    messages.ProcessMessages();
  }
  processes.CloseHandle(process);
  return ended;
}

}  // namespace ombrix
