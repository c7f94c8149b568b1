#pragma once
// Removes what a test left in the registry: a key and everything below it, with the plain
// registry calls (which delete only keys without subkeys); and lists what a part of the
// registry holds, to compare it before and after a change.

#include <map>
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

// Every key below a key, by its path from there, with what it holds: its default value as
// text ("-" when it has none), or with `everyValue` each value's name, type and bytes.
using KeyTree = std::map<std::string, std::string>;

inline void AddKeysBelow(IRegistry& registry, HKEY key, const std::string& path, bool everyValue, KeyTree& tree) {
  std::vector<std::string> children;
  std::string name;
  for (DWORD index = 0; registry.RegEnumKeyExA(key, index, 256, name) == ERROR_SUCCESS; ++index) {
    children.push_back(name);
  }
  for (const std::string& child : children) {
    HKEY sub = nullptr;
    if (registry.RegOpenKeyExA(key, child, KEY_READ, sub) != ERROR_SUCCESS) continue;
    std::vector<std::string> names{""};
    if (everyValue) {
      names.clear();
      for (DWORD index = 0; registry.RegEnumValueA(sub, index, 16384, name) == ERROR_SUCCESS; ++index) {
        names.push_back(name);
      }
    }
    std::string held = everyValue ? "" : "-";
    for (const std::string& valueName : names) {
      DWORD type = 0, size = 0;
      if (registry.RegQueryValueExA(sub, valueName, &type, nullptr, &size) != ERROR_SUCCESS) continue;
      std::vector<BYTE> data(size, 0);
      registry.RegQueryValueExA(sub, valueName, &type, &data, &size);
      std::string bytes(data.begin(), data.end());
      if (everyValue) {
        held += "[" + valueName + "] " + std::to_string(type) + ":" + bytes + "\n";
      } else {
        if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
        held = bytes;
      }
    }
    const std::string subPath = path.empty() ? child : path + "\\" + child;
    tree[subPath] = held;
    AddKeysBelow(registry, sub, subPath, everyValue, tree);
    registry.RegCloseKey(sub);
  }
}

inline KeyTree KeysBelow(IRegistry& registry, HKEY root, const std::string& path, bool everyValue = false) {
  KeyTree tree;
  HKEY key = nullptr;
  if (registry.RegOpenKeyExA(root, path, KEY_READ, key) == ERROR_SUCCESS) {
    AddKeysBelow(registry, key, "", everyValue, tree);
    registry.RegCloseKey(key);
  }
  return tree;
}

// What changed from `before` to `after`, one key a line ("+" added, "-" gone, "~" changed),
// at most `lines` of them; "" when nothing did. A part as large as the machine's classes
// would drown a failure's report if printed whole.
inline std::string TreeChanges(const KeyTree& before, const KeyTree& after, std::size_t lines = 20) {
  std::string changes;
  std::size_t count = 0;
  auto note = [&](char mark, const std::string& path) {
    if (count++ < lines) changes += std::string(1, mark) + " " + path + "\n";
  };
  for (const auto& [path, held] : before) {
    const auto found = after.find(path);
    if (found == after.end()) {
      note('-', path);
    } else if (found->second != held) {
      note('~', path);
    }
  }
  for (const auto& [path, held] : after) {
    if (!before.count(path)) note('+', path);
  }
  if (count > lines) changes += "and " + std::to_string(count - lines) + " more\n";
  return changes;
}

}  // namespace ombrix::testing
