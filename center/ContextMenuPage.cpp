#include "center/ContextMenuPage.h"

#include <algorithm>
#include <utility>

#include "base/AsciiCase.h"
#include "help/HelpContexts.h"

namespace ombrix {

namespace {

constexpr char OpenCommandPath[] = "\\Shell\\Open\\Command";
// A refusal message names at most this many items: selecting every file type is one click,
// and a box taller than the screen would hide its own OK button.
constexpr std::size_t RefusalsNamed = 20;
// How often a slice of the fill asks whether the user or the system waits (input, painting,
// a posted or a sent message), and makes way if so. Asking before every key costs as much as
// reading the key (a round trip to the window manager each time under wine), while a user
// cannot tell 15 ms from none.
constexpr double MessageCheckMilliseconds = 15;
// How long a slice goes at most, for the timers, which that question leaves out. Each return
// to the loop costs most of a millisecond under wine; returning every 15 ms came to 100 ms of
// a fill of 2.3 s with 10,000 file types more.
constexpr double SliceMilliseconds = 100;
// How many of HKEY_CLASSES_ROOT's key names one call lists: each call opens the key and looks
// whether it changed, and 128 names take a few milliseconds under wine with 10,000 file types.
constexpr std::size_t NamesPerCall = 128;

// The user's own file types, which HKEY_CLASSES_ROOT shows over the machine-wide ones.
constexpr char UserClasses[] = "Software\\Classes\\";

// The page's operations aim the window's registry component with a TRegistryScope, so that
// the other pages find it as they left it, and open keys for reading only: on Windows a
// standard user may read, but not open for writing, the file types that only the
// machine-wide part of HKEY_CLASSES_ROOT holds, and those would otherwise never be listed.
// (A write opens its key with full access whatever the component asks, and a delete needs
// no more than this.)
constexpr TAccess PageAccess = TAccess::kRead;

}  // namespace

TContextMenuPage::TContextMenuPage(TForm& form, TTabSheet& page, THubContext& context)
    : TFormPart(form), page_(page), context_(context) {
  gbContextMenu.HelpContext = HelpContexts::ExplorerVerbPage;
  lbAssExt.HelpContext = HelpContexts::ExplorerVerbList;
  lbAssExt.MultiSelect = true;
  lbAssExt.Sorted = true;
  lbAssExt.Compare = WindowsSortOrder(context_.platform.Windows());
  lbAssExt.SetVisible(false);
  lblFillingList.SetVisible(false);
  lbAssExt.OnClick = Handler(&TContextMenuPage::lbAssExtClick);
  lbAssExt.OnKeyPress = KeyHandler(&TContextMenuPage::lbAssExtKeyPress);
  ebxExtension.HelpContext = HelpContexts::ExplorerVerbExtension;
  ebxType.HelpContext = HelpContexts::ExplorerVerbType;
  ebxOpenWith.HelpContext = HelpContexts::ExplorerVerbOpenWith;
  btnAddOX.Flat = true;
  btnAddOX.Hint = "Add the \"Ombrix\" feature to the context menu of this extension";
  btnAddOX.SetEnabled(false);
  btnAddOX.OnClick = Handler(&TContextMenuPage::btnAddOXClick);
  btnRemoveOX.Flat = true;
  btnRemoveOX.Hint = "Remove the \"Ombrix\" feature from the context menu of this extension";
  btnRemoveOX.SetEnabled(false);
  btnRemoveOX.OnClick = Handler(&TContextMenuPage::btnRemoveOXClick);
}

std::string TContextMenuPage::VerbCommand() const { return "\"" + context_.HubFolder + "Ombrix.exe\" \"%1\""; }

std::string TContextMenuPage::DefaultValueOf(const std::string& key) {
  context_.RegistryOp.Key = key;
  // A value that cannot be read holds no command: one damaged key must not end the fill.
  return context_.RegistryOp.ReadDefaultText();
}

TContextMenuPage::TOpenCommands::iterator TContextMenuPage::CachedEntry(const std::string& name) {
  return std::lower_bound(
      openCommands_.begin(), openCommands_.end(), name,
      [](const TOpenCommands::value_type& entry, const std::string& key) { return entry.first < key; });
}

const std::string& TContextMenuPage::CachedOpenCommand(const std::string& key) {
  const std::string name = AsciiUpperCase(key);
  auto found = CachedEntry(name);
  if (found == openCommands_.end() || found->first != name) {
    std::string command = DefaultValueOf(key + OpenCommandPath);
    found = openCommands_.emplace(CachedEntry(name), name, std::move(command));
  }
  return found->second;
}

// Whether LookupFileType would find a verb-holding key, from fewer reads: each key's command
// is read once however many extensions name it as their type (so a type key listed after its
// extensions costs nothing), a key without a type has no type's command to look at, and an
// item whose type has a command is listed whatever its own command says.
bool TContextMenuPage::HasVerbKey(const std::string& item) {
  const std::string name = AsciiUpperCase(item);
  const auto own = CachedEntry(name);
  const bool ownKnown = own != openCommands_.end() && own->first == name;
  if (ownKnown && !own->second.empty()) return true;
  const std::string type = DefaultValueOf(item);
  if (!type.empty() && !CachedOpenCommand(type).empty()) return true;
  return !ownKnown && !CachedOpenCommand(item).empty();
}

void TContextMenuPage::BeginFill() {
  StopFillTimer();
  lbAssExt.SetVisible(false);
  lbAssExt.Clear();
  lblFillingList.SetVisible(true);
  btnAddOX.SetEnabled(false);
  btnRemoveOX.SetEnabled(false);
  fillComplete_ = false;
  fillNames_.clear();
  fillNamesRead_ = false;
  fillNamesNext_ = 0;
  fillNext_ = 0;
  fillKept_.clear();
  openCommands_.clear();
}

bool TContextMenuPage::FillSlice(TDateTime& handledAt) {
  // A slice of its own scope: between slices the other pages use the window's component.
  TRegistryScope scope(context_.RegistryOp, TRootKey::hkClassesRoot, PageAccess);
  IClock& clock = context_.platform.Clock();
  IMessagePump& messages = context_.platform.Messages();
  TDateTime checkedAt = handledAt;
  const auto millisecondsSince = [](TDateTime from, TDateTime now) {
    // A clock set back counts as time enough.
    return now < from ? SliceMilliseconds : (now - from) * MillisecondsPerDay;
  };
  const auto sliceOver = [&] {
    const TDateTime now = clock.Now();
    if (millisecondsSince(checkedAt, now) < MessageCheckMilliseconds) return false;
    checkedAt = now;
    if (millisecondsSince(handledAt, now) < SliceMilliseconds && !messages.MessagesWaiting()) return false;
    handledAt = now;
    return true;
  };
  if (!fillNamesRead_) {
    context_.RegistryOp.Key.clear();
    while (!context_.RegistryOp.AppendKeyNames(fillNames_, fillNamesNext_, NamesPerCall)) {
      if (sliceOver()) return false;
    }
    fillNamesRead_ = true;
    fillKept_.reserve(fillNames_.size());
  }
  while (fillNext_ < fillNames_.size()) {
    std::string& name = fillNames_[fillNext_++];
    if (HasVerbKey(name)) fillKept_.push_back(std::move(name));
    if (sliceOver() && fillNext_ < fillNames_.size()) return false;
  }
  // Later lookups read afresh: the registry may change while the window is open.
  openCommands_.clear();
  TStringList().swap(fillNames_);
  // The list takes the kept names in one go: one sort and one refill of the control rather
  // than thousands of insertions, with the same items in the same order.
  lbAssExt.SetItems(std::move(fillKept_));
  fillKept_.clear();
  lblFillingList.SetVisible(false);
  lbAssExt.SetVisible(true);
  if (lbAssExt.Count() > 0) lbAssExt.SetItemIndex(0);
  fillComplete_ = true;
  Form().ChangedBehind();
  return true;
}

void TContextMenuPage::StopFillTimer() {
  if (fillTimer_ != 0) context_.platform.Messages().KillTimer(fillTimer_);
  fillTimer_ = 0;
}

void TContextMenuPage::StartFileTypeFill() {
  BeginFill();
  // The timer's message comes after input and painting: the window is drawn and answers the
  // user between slices. The system makes its shortest interval of the 1 ms asked for, so
  // that one slice follows another with the loop idle.
  fillTimer_ = context_.platform.Messages().SetTimer(1, [this] {
    if (fillComplete_) {
      StopFillTimer();
      if (OnFileTypeListShown) OnFileTypeListShown();
      return;
    }
    TDateTime now = context_.platform.Clock().Now();
    FillSlice(now);
  });
}

void TContextMenuPage::FillFileTypeList() {
  BeginFill();
  IMessagePump& messages = context_.platform.Messages();
  TDateTime handledAt = context_.platform.Clock().Now();
  do {
    messages.ProcessMessages();
  } while (!FillSlice(handledAt));
}

TContextMenuPage::~TContextMenuPage() { StopFillTimer(); }

TContextMenuPage::TFileType TContextMenuPage::LookupFileType(const std::string& item) {
  TRegistryScope scope(context_.RegistryOp, TRootKey::hkClassesRoot, PageAccess);
  TFileType result;
  result.Type = DefaultValueOf(item);
  std::string command = DefaultValueOf(item + OpenCommandPath);
  if (!command.empty()) {
    result.VerbKey = item;
    result.OpenCommand = std::move(command);
    return result;
  }
  // Without a type there is no type key: the path would name a Shell key at the root.
  if (result.Type.empty()) return result;
  command = DefaultValueOf(result.Type + OpenCommandPath);
  if (!command.empty()) {
    result.VerbKey = result.Type;
    result.OpenCommand = std::move(command);
  }
  return result;
}

void TContextMenuPage::lbAssExtClick(TControl&) {
  // While the list is being filled it is hidden, and its items are not final yet.
  if (!fillComplete_) return;
  const int index = lbAssExt.ItemIndex();
  if (index < 0) return;
  const std::string& item = lbAssExt.Items()[static_cast<std::size_t>(index)];
  const TFileType fileType = LookupFileType(item);
  ebxExtension.SetText(item);
  ebxType.SetText(fileType.Type);
  ebxOpenWith.SetText(fileType.OpenCommand);
  btnAddOX.SetEnabled(true);
  btnRemoveOX.SetEnabled(true);
}

void TContextMenuPage::lbAssExtKeyPress(TControl& sender, char&) { lbAssExtClick(sender); }

void TContextMenuPage::btnAddOXClick(TControl&) {
  ChangeSelected(&TContextMenuPage::AddVerb, "\"Tuckaway\" could not be added to:");
}

void TContextMenuPage::btnRemoveOXClick(TControl&) {
  ChangeSelected(&TContextMenuPage::RemoveVerb, "\"Tuckaway\" could not be removed from:");
}

void TContextMenuPage::ChangeSelected(void (TContextMenuPage::*change)(int, std::vector<TRefusal>&),
                                      const std::string& failed) {
  // The buttons are disabled while the list fills; a click that reaches them anyway changes
  // nothing.
  if (!fillComplete_) return;
  std::vector<TRefusal> refused;
  for (int index : lbAssExt.SelectedIndexes()) (this->*change)(index, refused);
  if (refused.empty()) return;
  std::string message = failed + "\r\n";
  for (std::size_t i = 0; i < refused.size() && i < RefusalsNamed; ++i) {
    const TRefusal& refusal = refused[i];
    message += "\r\n" + refusal.Item;
    if (refusal.VerbKey != refusal.Item) message += " (" + refusal.VerbKey + ")";
    message += ": " + refusal.Reason;
  }
  if (refused.size() > RefusalsNamed) {
    message += "\r\nand " + std::to_string(refused.size() - RefusalsNamed) + " more.";
  }
  context_.ShowMessage(Form().Handle(), message);
}

void TContextMenuPage::AddVerb(int index, std::vector<TRefusal>& refused) {
  ChangeVerb(index, refused, &TContextMenuPage::WriteVerb);
}

void TContextMenuPage::RemoveVerb(int index, std::vector<TRefusal>& refused) {
  ChangeVerb(index, refused, &TContextMenuPage::DeleteVerb);
}

void TContextMenuPage::ChangeVerb(int index, std::vector<TRefusal>& refused, TVerbChange change) {
  const std::string item = lbAssExt.Items()[static_cast<std::size_t>(index)];
  const std::string verbKey = LookupFileType(item).VerbKey;
  // The registry changed since the list was filled: the item has no open command any more.
  if (verbKey.empty()) return;
  const TOutcome outcome = (this->*change)(verbKey);
  if (outcome.error != ERROR_SUCCESS || !outcome.message.empty()) {
    std::string reason =
        outcome.error != ERROR_SUCCESS ? context_.platform.Registry().FormatMessageA(outcome.error) : outcome.message;
    if (reason.empty()) reason = "Error " + std::to_string(outcome.error);
    refused.push_back({item, verbKey, reason});
  }
  lbAssExtClick(lbAssExt);
}

// Windows puts a key made through HKEY_CLASSES_ROOT into the machine-wide part, which
// OmbrixHub (running asInvoker, so with a standard user's rights even for an administrator)
// may not change; the user's own part is his to change, and Explorer and Ombrix's document
// start see it through HKEY_CLASSES_ROOT above the machine-wide type.
TContextMenuPage::TOutcome TContextMenuPage::WriteVerb(const std::string& verbKey) {
  TRegistryEnhanced& registry = context_.RegistryOp;
  TOutcome outcome;
  {
    TRegistryScope scope(registry, TRootKey::hkCurrentUser, PageAccess);
    registry.Key = UserClasses + verbKey + "\\Shell\\" + VerbName + "\\Command";
    try {
      registry.WriteValue("", TVariant(VerbCommand()));
    } catch (const ERegistryException& error) {
      outcome.message = error.Message();
    }
    outcome.error = registry.LastError();
  }
  // Keys made for a command that could not be written would show Explorer a verb that does
  // nothing.
  if (outcome.error != ERROR_SUCCESS || !outcome.message.empty()) {
    RemoveEmptyUserKeys(verbKey, std::string("\\Shell\\") + VerbName + "\\Command");
  }
  return outcome;
}

TContextMenuPage::TOutcome TContextMenuPage::DeleteVerb(const std::string& verbKey) {
  const TOutcome user = DeleteVerbBelow(TRootKey::hkCurrentUser, UserClasses + verbKey + "\\Shell");
  if (user.error != ERROR_SUCCESS) return user;
  // Add made the keys above the verb where the user had none; empty now, they go too.
  RemoveEmptyUserKeys(verbKey, "\\Shell");
  // A verb that HKEY_CLASSES_ROOT still shows lies in the machine-wide part (written by an
  // elevated run of an earlier version, or by another tool): it is deleted where Windows
  // deletes through HKEY_CLASSES_ROOT, and a standard user's refusal is reported.
  return DeleteVerbBelow(TRootKey::hkClassesRoot, verbKey + "\\Shell");
}

TContextMenuPage::TOutcome TContextMenuPage::DeleteVerbBelow(TRootKey root, const std::string& shellKey) {
  TRegistryEnhanced& registry = context_.RegistryOp;
  TRegistryScope scope(registry, root, PageAccess);
  registry.Key = shellKey;
  // Only a verb that is there is deleted: where there is nothing to remove, a user who may
  // not change the type is not told that he may not.
  TStringList verbs;
  registry.GetKeyNames(verbs);
  IWindowOps& windows = context_.platform.Windows();
  const std::string wanted = windows.CharUpperBuffA(VerbName);
  TOutcome outcome;
  for (const std::string& verb : verbs) {
    if (windows.CharUpperBuffA(verb) != wanted) continue;
    registry.DeleteKey(verb);
    outcome.error = registry.LastError();
    break;
  }
  return outcome;
}

void TContextMenuPage::RemoveEmptyUserKeys(const std::string& verbKey, std::string below) {
  TRegistryEnhanced& registry = context_.RegistryOp;
  TRegistryScope scope(registry, TRootKey::hkCurrentUser, PageAccess);
  // Upwards from the deepest: a key that holds something keeps its parent from being empty,
  // so nothing above a key the user filled is taken. One left behind (a delete refused)
  // changes nothing that Explorer or Ombrix sees, so it is not reported.
  while (true) {
    const std::string path = UserClasses + verbKey + below;
    registry.Key = path;
    if (registry.KeyIsEmpty()) {
      const std::string::size_type cut = path.rfind('\\');
      registry.Key = path.substr(0, cut);
      registry.DeleteKey(path.substr(cut + 1));
    }
    if (below.empty()) break;
    const std::string::size_type up = below.rfind('\\');
    below.resize(up == std::string::npos ? 0 : up);
  }
}

}  // namespace ombrix
