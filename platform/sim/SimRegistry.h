#pragma once
// An in-memory registry with Windows' rules: case-insensitive names, typed values kept in
// creation order, subkeys enumerated sorted, the default value, access masks per handle.
//
// As on Windows Vista and later, HKEY_CLASSES_ROOT has no keys of its own: it shows
// HKEY_CURRENT_USER\Software\Classes over HKEY_LOCAL_MACHINE\Software\Classes, and the
// user is a standard one unless a test says otherwise, so that writes and deletes under
// HKEY_LOCAL_MACHINE are refused as they are for every program that runs asInvoker.
//
// Strings are kept as the system keeps them, in UTF-16: a value written in one code page
// reads in another as the same characters.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/sim/SimCodePages.h"

namespace ombrix::sim {

class SimRegistry : public IRegistry {
 public:
  enum class Op { kOpen, kCreate, kQuery, kSet, kDeleteValue, kDeleteKey, kEnum, kQueryInfo };

  explicit SimRegistry(const SimCodePages& codePages = SimCodePages::Western());
  ~SimRegistry() override;

  LONG RegOpenKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result) override;
  LONG RegCreateKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result, DWORD* disposition,
                       DWORD options = REG_OPTION_NON_VOLATILE) override;
  LONG RegCloseKey(HKEY key) override;
  LONG RegQueryValueExA(HKEY key, const std::string& name, DWORD* type, std::vector<BYTE>* data, DWORD* size) override;
  LONG RegQueryValueA(HKEY key, const std::string& subKey, std::vector<BYTE>* data, DWORD* size) override;
  LONG RegSetValueExA(HKEY key, const std::string& name, DWORD type, const std::vector<BYTE>& data) override;
  LONG RegDeleteValueA(HKEY key, const std::string& name) override;
  LONG RegDeleteKeyA(HKEY parent, const std::string& subKey) override;
  LONG RegEnumKeyExA(HKEY key, DWORD index, DWORD capacity, std::string& name) override;
  LONG RegEnumValueA(HKEY key, DWORD index, DWORD capacity, std::string& name) override;
  LONG RegQueryInfoKeyA(HKEY key, DWORD* subKeys, DWORD* maxSubKeyLen, DWORD* values, DWORD* maxValueNameLen,
                        DWORD* maxValueLen) override;
  std::string FormatMessageA(LONG error) override;

  // Test controls.
  // The `nth` call of `op` from now on (1 = the next one) fails with `error`.
  void FailNth(Op op, int nth, LONG error);
  // Every call of `op` fails with `error` until cleared.
  void FailAlways(Op op, LONG error);
  void ClearFailures();
  // Handles currently open (for "nothing stays open" checks).
  int OpenHandleCount() const;
  // An elevated user (an administrator's full token) may write and delete under
  // HKEY_LOCAL_MACHINE; a standard user, the default, may only read there. Tests arrange
  // machine-wide file types as an installer would, elevated.
  void SetElevated(bool elevated) { elevated_ = elevated; }
  // The user logs off and on again: the hives are unloaded, and the volatile keys with them.
  void LogOff();

 private:
  struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    UINT codePage = CodePageWindows1252;  // of a string's bytes: the code page it was written in
  };
  struct Key {
    std::string name;
    std::map<std::string, std::shared_ptr<Key>> subKeys;  // by lower-cased name: sorted
    std::vector<Value> values;                            // creation order
    bool deleted = false;
    bool machine = false;  // below HKEY_LOCAL_MACHINE
    bool isVolatile = false;
  };
  struct Handle {
    std::shared_ptr<Key> key;  // null for a key of HKEY_CLASSES_ROOT
    REGSAM access = 0;
    std::string classesPath;  // a key of HKEY_CLASSES_ROOT: its path below both Classes keys
  };
  // What a handle stands for at the moment of a call. A plain handle holds one key; a key of
  // HKEY_CLASSES_ROOT is looked up afresh in both halves each time, as Windows does (a
  // per-user key made after the open shows through the handle at once), the per-user key
  // first; either may be missing.
  struct View {
    std::shared_ptr<Key> first;
    std::shared_ptr<Key> second;
    REGSAM access = 0;
    bool classes = false;
    std::string classesPath;
  };
  // The subkey names of one handle as last listed; rebuilt when any key was made or deleted
  // since, so that enumerating thousands of keys by index costs one listing, not one each.
  struct NameCache {
    std::uint64_t generation = 0;
    std::vector<std::string> names;
  };
  struct Failure {
    Op op;
    int remaining;  // calls to let pass before failing; -1 = always
    LONG error;
  };

  LONG Injected(Op op);
  bool IsPredefined(HKEY key) const;
  LONG Resolve(HKEY handle, View& view);
  // The view of `subKey` below `from` (the handle `parent`); ERROR_FILE_NOT_FOUND when no
  // key is there.
  LONG Descend(HKEY parent, const View& from, const std::string& subKey, View& to);
  std::shared_ptr<Key> Find(std::shared_ptr<Key> from, const std::vector<std::string>& parts) const;
  std::shared_ptr<Key> ClassesKey(bool machine) const;
  // Creates what is missing of `parts` below `from`; true when a key was made.
  bool Make(std::shared_ptr<Key> from, const std::vector<std::string>& parts, std::shared_ptr<Key>& made,
            bool isVolatile = false);
  HKEY NewHandle(const View& view, REGSAM access);
  bool MayChange(const Key& key) const { return elevated_ || !key.machine; }
  // The value a read finds: the first key's, else the second's.
  Value* VisibleValue(const View& view, const std::string& name);
  std::vector<const Value*> VisibleValues(const View& view) const;
  const std::vector<std::string>& SubKeyNames(HKEY handle, const View& view);
  static Value* FindValue(Key& key, const std::string& name);
  // The value's bytes as the program reads them: a string in the program's code page.
  std::vector<BYTE> DataOf(const Value& value) const;
  // The key that holds `key` as a subkey, searched from the roots; null for a root.
  std::shared_ptr<Key> ContainerOf(const std::shared_ptr<Key>& key) const;
  void Unlink(const std::shared_ptr<Key>& holder, const std::shared_ptr<Key>& key);

  const SimCodePages& codePages_;
  std::map<ULONG_PTR, std::shared_ptr<Key>> roots_;
  std::map<ULONG_PTR, Handle> handles_;
  std::map<ULONG_PTR, NameCache> nameCaches_;
  ULONG_PTR nextHandle_ = 0x1000;
  std::vector<Failure> failures_;
  std::uint64_t generation_ = 1;  // counts the keys made and deleted
  bool elevated_ = false;
};

}  // namespace ombrix::sim
