#pragma once
// An in-memory registry with Windows' rules: case-insensitive names, typed values kept in
// creation order, subkeys enumerated sorted, the default value, access masks per handle.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace ombrix::sim {

class SimRegistry : public IRegistry {
 public:
  enum class Op { Open, Create, Query, Set, DeleteValue, DeleteKey, Enum, QueryInfo };

  SimRegistry();
  ~SimRegistry() override;

  LONG RegOpenKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result) override;
  LONG RegCreateKeyExA(HKEY parent, const std::string& subKey, REGSAM access, HKEY& result,
                       DWORD* disposition) override;
  LONG RegCloseKey(HKEY key) override;
  LONG RegQueryValueExA(HKEY key, const std::string& name, DWORD* type, std::vector<BYTE>* data,
                        DWORD* size) override;
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

 private:
  struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
  };
  struct Key {
    std::string name;
    std::map<std::string, std::shared_ptr<Key>> subKeys;  // by lower-cased name: sorted
    std::vector<Value> values;                            // creation order
    bool deleted = false;
  };
  struct Handle {
    std::shared_ptr<Key> key;
    REGSAM access = 0;
  };
  struct Failure {
    Op op;
    int remaining;  // calls to let pass before failing; -1 = always
    LONG error;
  };

  LONG Injected(Op op);
  std::shared_ptr<Key> Resolve(HKEY key, REGSAM* access) const;
  LONG Walk(HKEY parent, const std::string& subKey, bool create, std::shared_ptr<Key>& found, bool& created);
  HKEY NewHandle(std::shared_ptr<Key> key, REGSAM access);
  Value* FindValue(Key& key, const std::string& name);
  // The key that holds `key` as a subkey, searched from the roots; null for a root.
  std::shared_ptr<Key> ContainerOf(const std::shared_ptr<Key>& key) const;

  std::map<ULONG_PTR, std::shared_ptr<Key>> roots_;
  std::map<ULONG_PTR, Handle> handles_;
  ULONG_PTR nextHandle_ = 0x1000;
  std::vector<Failure> failures_;
};

}  // namespace ombrix::sim
