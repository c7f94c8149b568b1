#pragma once
// Removes what a test left in the registry: a key and everything below it, with the plain
// registry calls (which delete only keys without subkeys).

#include <string>
#include <vector>

#include "platform/Registry.h"

namespace ombrix::testing {

inline void DeleteTree(IRegistry& registry, HKEY parent, const std::string& subKey) {
  HKEY key = nullptr;
  if (registry.RegOpenKeyExA(parent, subKey, KEY_ALL_ACCESS, key) != ERROR_SUCCESS) return;
  std::vector<std::string> children;
  std::string name;
  for (DWORD index = 0; registry.RegEnumKeyExA(key, index, 256, name) == ERROR_SUCCESS; ++index) {
    children.push_back(name);
  }
  for (const std::string& child : children) DeleteTree(registry, key, child);
  registry.RegCloseKey(key);
  registry.RegDeleteKeyA(parent, subKey);
}

}  // namespace ombrix::testing
