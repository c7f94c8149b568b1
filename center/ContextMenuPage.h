#pragma once
// The control center's second page: the Explorer right-click command "Tuckaway", added to or
// removed from the file types the user selects. The list holds every key of
// HKEY_CLASSES_ROOT that has an open command, its own or its type's; the command is written
// for that key, the one that holds the open command, so that every extension of one type
// gets it. It is written for the current user only (HKEY_CURRENT_USER\Software\Classes,
// which HKEY_CLASSES_ROOT shows over the machine-wide types): OmbrixHub runs with a standard
// user's rights, which may not change the machine-wide part where Windows keeps almost every
// file type.

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "center/HubContext.h"
#include "controls/FormPart.h"

namespace ombrix {

class TContextMenuPage : public TFormPart {
 public:
  static constexpr const char* VerbName = "Tuckaway";

  TContextMenuPage(TForm& form, TTabSheet& page, THubContext& context);
  ~TContextMenuPage() override;

  // What an item stands for: its type (the default value of its key), the key whose
  // Shell\Open\Command holds a non-empty default value (the item itself, else its type;
  // "" when neither) and that command.
  struct TFileType {
    std::string Type;
    std::string VerbKey;
    std::string OpenCommand;
  };

  // Fills the list with the keys of HKEY_CLASSES_ROOT that have an open command, behind the
  // window: in slices from the message loop's timer, so that the window comes up at once and
  // its other pages can be used while a well-used machine's thousands of file types are
  // read. The list stays hidden meanwhile and the page says that it is filling.
  void StartFileTypeFill();
  // The same fill done before returning, with waiting messages handled between slices.
  void FillFileTypeList();
  // Whether the list holds every file type: Add and Remove act only on a complete list, as
  // an item missing from a partial one could not be told from a file type without an open
  // command.
  bool FileTypeListComplete() const { return fillComplete_; }
  // Once the complete list has been shown (a timer tick after the fill ended, so after its
  // painting): for work that should not hold the list up.
  std::function<void()> OnFileTypeListShown;
  TFileType LookupFileType(const std::string& item);
  // The command written: Ombrix beside OmbrixHub, with the clicked file.
  std::string VerbCommand() const;

  // Event handlers.
  void lbAssExtClick(TControl& sender);
  void lbAssExtKeyPress(TControl& sender, char& key);
  void btnAddOXClick(TControl& sender);
  void btnRemoveOXClick(TControl& sender);

 private:
  TTabSheet& page_;

 public:
  TGroupBox gbContextMenu{
      Form(), "gbContextMenu", &page_, {8, 8, 536, 388}, " Add \"Tuckaway\" right-click menu option "};
  TLabel lblCheckAllExt{Form(),
                        "lblCheckAllExt",
                        &gbContextMenu,
                        {12, 20, 512, 16},
                        "Select all extensions you wish to add a \"Tuckaway\" to:"};
  TListBox lbAssExt{Form(), "lbAssExt", &gbContextMenu, {12, 40, 220, 336}};
  TLabel lblExtension{Form(), "lblExtension", &gbContextMenu, {248, 40, 276, 16}, "Extension:"};
  TEdit ebxExtension{Form(), "ebxExtension", &gbContextMenu, {248, 58, 276, 21}, "", true};
  TLabel lblType{Form(), "lblType", &gbContextMenu, {248, 92, 276, 16}, "Type:"};
  TEdit ebxType{Form(), "ebxType", &gbContextMenu, {248, 110, 276, 21}, "", true};
  TLabel lblOpenWith{Form(), "lblOpenWith", &gbContextMenu, {248, 144, 276, 16}, "Open with:"};
  TEdit ebxOpenWith{Form(), "ebxOpenWith", &gbContextMenu, {248, 162, 276, 21}, "", true};
  TButton btnAddOX{Form(), "btnAddOX", &gbContextMenu, {248, 200, 134, 25}, "Add \"Tuckaway\""};
  TButton btnRemoveOX{Form(), "btnRemoveOX", &gbContextMenu, {390, 200, 134, 25}, "Remove \"Tuckaway\""};
  // Where the list will be, while it fills.
  TLabel lblFillingList{Form(), "lblFillingList", &gbContextMenu, {12, 44, 220, 16}, "Reading the file types..."};

 private:
  // One item that could not be changed, and the system's words for why.
  struct TRefusal {
    std::string Item;
    std::string VerbKey;
    std::string Reason;
  };

  // What the registry said to one change: a result code, or the store's message.
  struct TOutcome {
    LONG error = ERROR_SUCCESS;
    std::string message;
  };
  using TVerbChange = TOutcome (TContextMenuPage::*)(const std::string& verbKey);

  void AddVerb(int index, std::vector<TRefusal>& refused);
  void RemoveVerb(int index, std::vector<TRefusal>& refused);
  // Finds the item's verb-holding key, makes the change there and notes a refusal, then
  // shows the current item again.
  void ChangeVerb(int index, std::vector<TRefusal>& refused, TVerbChange change);
  TOutcome WriteVerb(const std::string& verbKey);
  TOutcome DeleteVerb(const std::string& verbKey);
  // Deletes the verb below `shellKey` of `root` when it is there.
  TOutcome DeleteVerbBelow(TRootKey root, const std::string& shellKey);
  // Deletes the user's own keys from verbKey + `below` up to verbKey that hold nothing.
  void RemoveEmptyUserKeys(const std::string& verbKey, std::string below);
  // Runs `change` on every selected item in list order, then tells the user in one message
  // which of them the registry refused.
  void ChangeSelected(void (TContextMenuPage::*change)(int, std::vector<TRefusal>&), const std::string& failed);

  // The default value of a key as text ("" when the key or the value is missing).
  std::string DefaultValueOf(const std::string& key);
  // The open command of a key, looked up once per fill: extensions of one type, and the type
  // key itself, share the answer.
  const std::string& CachedOpenCommand(const std::string& key);
  bool HasVerbKey(const std::string& item);

  // Key name (ASCII letters upper-cased: registry names ignore letter case, and a name the
  // registry folds otherwise only costs one more read) and open command, sorted by name: a
  // sorted vector rather than a std::map, whose tree code would come into the program for
  // this one list. The registry lists the names almost in this order, so most entries go in
  // at the end.
  using TOpenCommands = std::vector<std::pair<std::string, std::string>>;
  // The entry of `name`, or where it belongs.
  TOpenCommands::iterator CachedEntry(const std::string& name);

  // A fill's steps, a slice at a time (false until the list is complete): the key names
  // read, then each looked at, then the list shown. A slice ends when messages wait (asked
  // every 15 ms) or once the time given as when messages were last handled lies 100 ms back,
  // and gives the time it ended.
  void BeginFill();
  bool FillSlice(TDateTime& handledAt);
  void StopFillTimer();

  THubContext& context_;
  TOpenCommands openCommands_;
  // The fill under way: HKEY_CLASSES_ROOT's key names (read by the first slices), the next
  // one to read and the next one to look at, and those listed so far.
  TStringList fillNames_;
  bool fillNamesRead_ = false;
  std::size_t fillNamesNext_ = 0;
  std::size_t fillNext_ = 0;
  TStringList fillKept_;
  bool fillComplete_ = false;
  UINT_PTR fillTimer_ = 0;
};

}  // namespace ombrix
