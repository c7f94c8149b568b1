#include "platform/ShellLnk.h"

#include <algorithm>
#include <vector>

#include "base/AsciiCase.h"
#include "base/Utf8.h"
#include "platform/MiscUtils.h"
#include "platform/ShellLinks.h"

namespace ombrix {

namespace {

const char* const LinkNotFound = "Lien non trouv\xE9.";
const char* const CreateFailed =
    "\"CoCreateInstance\" a \xE9"
    "chou\xE9.";
const char* const QueryFailed =
    "\"PersistFile QueryInterface\" a \xE9"
    "chou\xE9.";
const char* const ReadFailed = "Erreur en lecture.";
const char* const WriteFailed =
    "Erreur en \xE9"
    "criture.";
const char* const TextTooLong = "Texte trop long (plus de 255 caract\xE8res).";

// Each text reaches the shell as at most 255 characters and a terminator. Cutting a longer
// one would write a shortcut that silently starts something else, so it is refused.
constexpr size_t MaxLinkText = 255;

const char* const ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

const char* FolderEntry(TShellFolder folder) {
  switch (folder) {
    case sfNone:
      return nullptr;
    case sfDesktop:
      return "Desktop";
    case sfFavorites:
      return "Favorites";
    case sfFonts:
      return "Fonts";
    case sfPersonal:
      return "Personal";
    case sfPrograms:
      return "Programs";
    case sfRecent:
      return "Recent";
    case sfSendTo:
      return "SendTo";
    case sfStartMenu:
      return "Start Menu";
    case sfStartup:
      return "Startup";
    case sfTemplates:
      return "Templates";
  }
  return nullptr;
}

// The text after the last backslash or colon.
std::string NamePart(const std::string& path) {
  const size_t delimiter = path.find_last_of("\\:");
  return delimiter == std::string::npos ? path : path.substr(delimiter + 1);
}

// The name part's extension with its dot, or empty.
std::string Extension(const std::string& path) {
  const std::string name = NamePart(path);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

// Keyboard-shortcut modifier bits and the shell's hot-key flags (high byte), side by side.
struct Modifier {
  WORD shortcutBit;
  BYTE hotKeyFlag;
};
constexpr Modifier Modifiers[] = {{scShift, HOTKEYF_SHIFT}, {scCtrl, HOTKEYF_CONTROL}, {scAlt, HOTKEYF_ALT}};

WORD HotKeyToShortcut(WORD stored) {
  WORD shortcut = stored & 0xFF;
  for (const Modifier& modifier : Modifiers) {
    if ((stored >> 8) & modifier.hotKeyFlag) shortcut |= modifier.shortcutBit;
  }
  return shortcut;
}

WORD ShortcutToHotKey(WORD shortcut) {
  WORD flags = 0;
  for (const Modifier& modifier : Modifiers) {
    if (shortcut & modifier.shortcutBit) flags |= modifier.hotKeyFlag;
  }
  return static_cast<WORD>((shortcut & 0xFF) | (flags << 8));
}

int ShowCommandOf(TWindowState state) {
  switch (state) {
    case wsMinimized:
      return SW_SHOWMINNOACTIVE;
    case wsMaximized:
      return SW_SHOWMAXIMIZED;
    case wsNormal:
      break;
  }
  return SW_SHOWNORMAL;
}

// Closes a registry key on every way out.
class KeyCloser {
 public:
  KeyCloser(IRegistry& registry, HKEY key) : registry_(registry), key_(key) {}
  ~KeyCloser() { registry_.RegCloseKey(key_); }
  KeyCloser(const KeyCloser&) = delete;
  KeyCloser& operator=(const KeyCloser&) = delete;

 private:
  IRegistry& registry_;
  HKEY key_;
};

// The component's error. Its French messages are kept in Windows-1252; a program whose code
// page is UTF-8 shows them in UTF-8.
EShellLinkWrapper Error(Platform& platform, const char* message) {
  return EShellLinkWrapper(platform.CodePages().ConvertText(message, CodePageWindows1252, CP_ACP));
}

// The shell-link object with its IPersistFile, or the component's error.
std::unique_ptr<IShellLinkObject> CreateLink(Platform& platform) {
  std::unique_ptr<IShellLinkObject> link;
  if (FAILED(platform.ShellLinks().CreateShellLink(link)) || !link) throw Error(platform, CreateFailed);
  if (FAILED(link->QueryPersistFile())) throw Error(platform, QueryFailed);
  return link;
}

}  // namespace

TShellLinkWrapper::TShellLinkWrapper(Platform& platform) : platform_(platform) {}

void TShellLinkWrapper::SetFileName(const std::string& value) {
  if (value == fileName_) return;
  std::string name = value;
  if (shellFolder_ != sfNone) name = ShellFolderPath(shellFolder_) + "\\" + NamePart(name);
  if (AsciiUpperCase(Extension(name)) != ".LNK") name += ".lnk";
  if (AsciiUpperCase(NamePart(name)) == ".LNK") name.clear();
  fileName_ = name;
}

void TShellLinkWrapper::SetShellFolder(TShellFolder value) {
  if (value == shellFolder_) return;
  shellFolder_ = value;
  if (value != sfNone) fileName_ = ShellFolderPath(value) + "\\" + NamePart(fileName_);
}

TWindowState TShellLinkWrapper::WindowState() const {
  if (showCommand_ == SW_SHOWMAXIMIZED) return wsMaximized;
  if (showCommand_ == SW_SHOWMINNOACTIVE) return wsMinimized;
  return wsNormal;
}

void TShellLinkWrapper::SetWindowState(TWindowState value) { showCommand_ = ShowCommandOf(value); }

std::string TShellLinkWrapper::ShellFolderPath(TShellFolder folder) const {
  const char* entry = FolderEntry(folder);
  if (!entry) return "";
  // The Startup folder is asked of the shell first: a "Shell Folders" value is only a copy
  // the shell writes when some program asks, and may be missing or stale (a moved folder).
  std::string known;
  if (folder == sfStartup && platform_.Shell().SHGetKnownFolderPath(TKnownFolder::kStartup, known) == S_OK) {
    return known;
  }
  IRegistry& registry = platform_.Registry();
  HKEY key = nullptr;
  if (registry.RegOpenKeyExA(HKEY_CURRENT_USER, ShellFoldersKey, KEY_READ, key) != ERROR_SUCCESS) return "";
  KeyCloser closer(registry, key);
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (registry.RegQueryValueExA(key, entry, &type, nullptr, &size) != ERROR_SUCCESS) return "";
  if (type != REG_SZ && type != REG_EXPAND_SZ) return "";
  std::vector<BYTE> data(size);
  if (registry.RegQueryValueExA(key, entry, &type, &data, &size) != ERROR_SUCCESS) return "";
  std::string text(data.begin(), data.begin() + std::min<size_t>(size, data.size()));
  return text.substr(0, text.find('\0'));
}

void TShellLinkWrapper::ReadLink() {
  if (!platform_.Files().FileExists(fileName_)) throw Error(platform_, LinkNotFound);
  ComScope com(platform_.ShellLinks());
  std::unique_ptr<IShellLinkObject> link = CreateLink(platform_);
  if (FAILED(link->Load(fileName_))) throw Error(platform_, ReadFailed);

  // Results are not tested: a field the object cannot give reads as empty.
  std::string description, target, workingDir, arguments, iconFile;
  int showCommand = 0;
  WORD hotKey = 0;
  int iconIndex = 0;
  // Buffers of MAX_PATH characters: the ...A calls count bytes, up to three a character.
  const int capacity = platform_.CodePages().GetACP() == CP_UTF8 ? static_cast<int>(MaxPathBytes) : MAX_PATH;
  link->GetDescription(description, capacity);
  link->GetPath(target, capacity, SLGP_UNCPRIORITY);
  link->GetWorkingDirectory(workingDir, capacity);
  link->GetArguments(arguments, capacity);
  link->GetShowCmd(showCommand);
  link->GetHotkey(hotKey);
  link->GetIconLocation(iconFile, capacity, iconIndex);

  description_ = description;
  target_ = target;
  workingDir_ = workingDir;
  arguments_ = arguments;
  showCommand_ = showCommand;
  hotKey_ = HotKeyToShortcut(hotKey);
  fileIcon_.SetFileName(iconFile);
  fileIcon_.SetIconIndex(iconIndex);
}

void TShellLinkWrapper::WriteLink() {
  for (const std::string& text : {description_, target_, workingDir_, arguments_, fileIcon_.FileName()}) {
    if (CharacterCount(text) > MaxLinkText) throw Error(platform_, TextTooLong);
  }
  ComScope com(platform_.ShellLinks());
  std::unique_ptr<IShellLinkObject> link = CreateLink(platform_);

  // Results are not tested: the save below is what tells whether the shortcut exists.
  link->SetDescription(description_);
  link->SetPath(target_);
  link->SetWorkingDirectory(workingDir_);
  link->SetArguments(arguments_);
  // The file format keeps only 1, 3 and 7, so the state is written, not a held 0 or 2.
  link->SetShowCmd(ShowCommandOf(WindowState()));
  link->SetHotkey(ShortcutToHotKey(hotKey_));
  link->SetIconLocation(fileIcon_.FileName(), fileIcon_.IconIndex());

  if (FAILED(link->Save(fileName_))) throw Error(platform_, WriteFailed);
}

}  // namespace ombrix
