#pragma once
// TRegistry: the registry accessor under the settings store. It keeps one open key at a
// time below a root, opens paths from the root ("\" first) or from the open key, and closes
// what it opened when it is destroyed, so an accessor made for one operation never leaves a
// handle behind.

#include <string>

#include "platform/Registry.h"
#include "settings/Brkapart.h"

namespace ombrix {

class TRegistry {
 public:
  explicit TRegistry(IRegistry& registry);
  ~TRegistry();
  // An accessor owns its open key: copying it would close the key twice.
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  HKEY RootKey() const { return rootKey_; }
  // Changing the root closes the open key: its path would mean something else now.
  void SetRootKey(HKEY root);
  // The mask for opening existing keys; creation always asks for KEY_ALL_ACCESS.
  REGSAM Access() const { return access_; }
  void SetAccess(REGSAM access) { access_ = access; }
  // Always on: closing a key calls RegCloseKey and lets the system write when it likes.
  bool LazyWrite() const { return true; }

  // The open key (nullptr when none) and its path below the root.
  HKEY CurrentKey() const { return currentKey_; }
  const std::string& CurrentPath() const { return currentPath_; }

  // Opens `path`: a leading "\" means from the root, anything else from the open key (or the
  // root when none is open). With `canCreate` and a non-empty path the key is created when
  // missing (non-volatile, KEY_ALL_ACCESS). On success the new key replaces the open one.
  bool OpenKey(const std::string& path, bool canCreate);
  // The registry's result code of the last OpenKey (ERROR_SUCCESS when it opened).
  LONG LastOpenResult() const { return lastOpenResult_; }
  void CloseKey();

  // The value and subkey names of the open key, in the registry's order; an empty list when
  // no key is open or the key cannot be listed.
  TStringList GetValueNames();
  TStringList GetKeyNames();
  // GetKeyNames a part at a time: appends the names from the `next`th on, at most `most` of
  // them, and moves `next` past them. True once the last name is listed (or no key is open).
  bool AppendKeyNames(TStringList& names, std::size_t& next, std::size_t most);
  // The name of the `index`th subkey, empty when there is none.
  std::string KeyNameAt(std::size_t index);

  IRegistry& Api() { return registry_; }

 private:
  TStringList ListNames(bool values);
  bool AppendNames(bool values, TStringList& names, std::size_t& next, std::size_t most);
  // The `index`th name, given the longest one's length; false when it cannot be read.
  bool NameAt(bool values, DWORD index, DWORD longest, std::string& name);

  IRegistry& registry_;
  HKEY rootKey_ = HKEY_CURRENT_USER;
  HKEY currentKey_ = nullptr;
  std::string currentPath_;
  REGSAM access_ = KEY_ALL_ACCESS;
  LONG lastOpenResult_ = ERROR_SUCCESS;
};

}  // namespace ombrix
