#include "center/ShortcutPage.h"

#include <iterator>

#include "base/FilePaths.h"
#include "help/HelpContexts.h"

namespace ombrix {

namespace {

constexpr char NameEmpty[] = "Shortcut Name can not be empty";
constexpr char FilenameEmpty[] = "Shortcut Filename can not be empty";
constexpr char MinimizeItself[] =
    "Ombrix can not minimize itself.\r\nYou must enter a destination filename.\r\nFor example, Filename: "
    "\"C:\\MyTextFile.txt\".";
constexpr char NameCharacters[] =
    "Shortcut names can't contain any of the following characters:\r\n                / \\ : * ? \" < > |";
constexpr char NotCreated[] = "Shortcut was not created.\r\n\r\n";
// The name GetTempFileNameA would have made, for when it cannot make one.
constexpr char FallbackTempName[] = "OBX0F1E2.TMP";
constexpr char OmbrixProgram[] = "Ombrix.Exe";

// Characters a file name cannot hold; the test covers printable ASCII only, so control
// characters and the upper half pass (the shell refuses them later, if at all).
bool ForbiddenInName(char c) {
  const auto code = static_cast<unsigned char>(c);
  if (code < 32 || code > 127) return false;
  return std::string("/\\:*?\"<>|").find(c) != std::string::npos;
}

struct Location {
  const char* entry;
  TShellFolder folder;
};
constexpr Location Locations[] = {
    {"Desktop", sfDesktop},     {"Favorites", sfFavorites}, {"Personal", sfPersonal},
    {"Programs", sfPrograms},   {"Recent", sfRecent},       {"SendTo", sfSendTo},
    {"StartMenu", sfStartMenu}, {"Startup", sfStartup},     {"Templates", sfTemplates},
};

}  // namespace

std::string ShellExecuteErrorText(INT_PTR result) {
  struct Reason {
    INT_PTR result;
    const char* text;
  };
  static constexpr Reason Reasons[] = {
      {0, "The operating system is out of memory or resources"},
      {2, "The specified file was not found."},
      {3, "The specified path was not found."},
      {5, "The operating system denied access to the specified file."},
      {8, "There was not enough memory to complete the operation."},
      {11, "The .EXE file is invalid (non-Win32 .EXE or error in .EXE image)."},
      {26, "A sharing violation occurred."},
      {27, "The filename association is incomplete or invalid."},
      {28, "The DDE transaction could not be completed because the request timed out."},
      {29, "The DDE transaction failed."},
      {30, "The DDE transaction could not be completed because other DDE transactions were being processed."},
      {31, "There is no application associated with the given filename extension."},
      {32, "The specified dynamic-link library was not found."},
  };
  std::string text = "Unknown error";
  for (const Reason& reason : Reasons) {
    if (reason.result == result) text = reason.text;
  }
  return text + "\r\n(Error # " + std::to_string(static_cast<long long>(result)) + ")";
}

std::vector<std::string> TShortcutPage::LocationEntries() {
  std::vector<std::string> entries;
  for (const Location& location : Locations) entries.emplace_back(location.entry);
  return entries;
}

TShellFolder TShortcutPage::LocationFolder(int index) {
  return index >= 0 && index < static_cast<int>(std::size(Locations)) ? Locations[index].folder : sfDesktop;
}

TShortcutPage::TShortcutPage(TForm& form, TTabSheet& page, THubContext& context, TShellLinkWrapper& shellLink)
    : TFormPart(form), page_(page), context_(context), shellLink_(shellLink) {
  gbShortcut.HelpContext = HelpContexts::ShortcutPage;
  ebxDescription.HelpContext = HelpContexts::ShortcutName;
  ebxFilename.HelpContext = HelpContexts::ShortcutFile;
  ebxParameters.HelpContext = HelpContexts::ShortcutArguments;
  cbLocation.HelpContext = HelpContexts::ShortcutLocation;

  ebxDescription.Hint = "This is the shortcut's name";
  ebxFilename.Hint = "Choose a filename (any extension/type)";
  btnBrowse.Hint = "Browse for files";
  ebxParameters.Hint = "Arguments or parameters (for exe/bat/com only)";
  btnCreateShortcut.Hint = "Create a shortcut according to this definition";
  btnTestThisShortCut.Hint = "Test this shortcut now";

  // Name, file name, location, arguments; the buttons after them.
  int order = 0;
  for (TControl* control : std::initializer_list<TControl*>{&ebxDescription, &ebxFilename, &cbLocation, &ebxParameters,
                                                            &btnBrowse, &btnCreateShortcut, &btnTestThisShortCut}) {
    control->TabOrder = order++;
  }
  for (TButton* button : {&btnBrowse, &btnCreateShortcut, &btnTestThisShortCut}) button->Flat = true;

  btnCreateShortcut.OnClick = Handler(&TShortcutPage::btnCreateShortcutClick);
  btnTestThisShortCut.OnClick = Handler(&TShortcutPage::btnTestThisShortCutClick);
  btnBrowse.OnClick = Handler(&TShortcutPage::btnBrowseClick);
}

bool TShortcutPage::ValidateShortcutFields() {
  const std::string& name = ebxDescription.Text();
  const std::string& file = ebxFilename.Text();
  const char* failure = nullptr;
  if (name.empty()) {
    failure = NameEmpty;
  } else if (file.empty()) {
    failure = FilenameEmpty;
  } else if (file.find("Ombrix.exe") != std::string::npos) {
    failure = MinimizeItself;
  } else if (std::any_of(name.begin(), name.end(), ForbiddenInName)) {
    failure = NameCharacters;
  }
  if (failure) context_.ShowMessage(Form().Handle(), failure);
  return failure == nullptr;
}

void TShortcutPage::DescribeTarget() {
  const std::string& file = ebxFilename.Text();
  std::string arguments = file.find(' ') != std::string::npos ? "\"" + file + "\"" : file;
  if (!ebxParameters.Text().empty()) arguments += " " + ebxParameters.Text();
  shellLink_.SetTarget(context_.HubFolder + OmbrixProgram);
  shellLink_.SetArguments(arguments);
  TFileIcon icon;
  icon.SetFileName(file);
  icon.SetIconIndex(0);
  shellLink_.SetFileIcon(icon);
}

void TShortcutPage::btnCreateShortcutClick(TControl&) {
  if (!ValidateShortcutFields()) return;
  const TShellFolder folder = LocationFolder(cbLocation.ItemIndex());
  // Each program that starts with Windows needs a shortcut of its own there: the Startup
  // folder's is named after the program ("notepad.lnk"), whatever the name typed for the
  // other places, so that a second one does not replace the first.
  const std::string& file = ebxFilename.Text();
  shellLink_.SetFileName(folder == sfStartup ? ChangeFileExt(file.substr(FolderOf(file).size()), "")
                                             : ebxDescription.Text());
  DescribeTarget();
  shellLink_.SetShellFolder(folder);
  try {
    shellLink_.WriteLink();
  } catch (const EShellLinkWrapper& error) {
    context_.ShowMessage(Form().Handle(), NotCreated + std::string(error.what()));
  }
}

void TShortcutPage::btnTestThisShortCutClick(TControl&) {
  if (!ValidateShortcutFields()) return;
  IFiles& files = context_.platform.Files();
  std::string placeholder;
  if (files.GetTempFileNameA(files.GetTempPathA(), "OBX", 0, placeholder) == 0) placeholder.clear();
  const std::string link = ChangeFileExt(placeholder.empty() ? FallbackTempName : placeholder, ".LNK");
  // The empty file GetTempFileNameA made only reserved the name: nothing of the test is
  // left in the user's temporary folder, whatever happens below.
  struct RemovePlaceholder {
    IFiles& files;
    const std::string& placeholder;
    ~RemovePlaceholder() {
      if (!placeholder.empty()) files.DeleteFileA(placeholder);
    }
  } removePlaceholder{files, placeholder};

  shellLink_.SetShellFolder(sfNone);
  shellLink_.SetFileName(link);
  DescribeTarget();
  try {
    shellLink_.WriteLink();
  } catch (const EShellLinkWrapper& error) {
    context_.ShowMessage(Form().Handle(), NotCreated + std::string(error.what()));
    return;
  }
  const INT_PTR result = context_.platform.Shell().ShellExecuteA(Form().Handle(), "open", link, "", "", SW_SHOW);
  files.DeleteFileA(link);
  if (result <= 32) context_.ShowMessage(Form().Handle(), ShellExecuteErrorText(result));
}

void TShortcutPage::btnBrowseClick(TControl&) {
  OpenFileRequest request;
  request.owner = Form().Handle();
  request.title = "Choose a filename";
  request.filter = "All files|*.*";
  request.pathMustExist = true;
  request.fileMustExist = true;
  request.helpContext = 20;
  std::string chosen;
  if (context_.platform.Dialogs().GetOpenFileNameA(request, chosen)) ebxFilename.SetText(chosen);
}

}  // namespace ombrix
