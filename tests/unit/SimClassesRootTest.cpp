// HKEY_CLASSES_ROOT as Windows shows it to a standard user: the user's own classes over the
// machine-wide ones, and the machine-wide part read-only. Wine models neither (its
// HKEY_CLASSES_ROOT is the machine-wide part alone, and its user may write everywhere), so
// these rules are pinned for the simulated layer only; the contract tests hold what wine
// does the same way.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/SimRegistry.h"
#include "tests/RegistryTree.h"

namespace ombrix::sim {
namespace {

using ombrix::testing::KeysBelow;
using ombrix::testing::KeyTree;

class SimClassesRoot : public ::testing::Test {
 protected:
  SimClassesRoot() {
    registry.SetElevated(true);
    Write(HKEY_LOCAL_MACHINE, "Type", {{"", "machine"}, {"Both", "machine"}, {"MachineOnly", "m"}});
    Write(HKEY_LOCAL_MACHINE, "Type\\Shell\\Open\\Command", {{"", "open.exe %1"}});
    Write(HKEY_LOCAL_MACHINE, "Type\\Machine", {});
    registry.SetElevated(false);
    Write(HKEY_CURRENT_USER, "Type", {{"Both", "user"}, {"UserOnly", "u"}});
    Write(HKEY_CURRENT_USER, "Type\\Shell\\Tuckaway\\Command", {{"", "verb.exe %1"}});
    Write(HKEY_CURRENT_USER, "Type\\user", {});
  }

  void Write(HKEY root, const std::string& path, const std::vector<std::pair<std::string, std::string>>& values) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              registry.RegCreateKeyExA(root, "Software\\Classes\\" + path, KEY_ALL_ACCESS, key, nullptr));
    for (const auto& [name, text] : values) {
      ASSERT_EQ(ERROR_SUCCESS, registry.RegSetValueExA(key, name, REG_SZ, std::vector<BYTE>(text.begin(), text.end())));
    }
    registry.RegCloseKey(key);
  }
  // A value read through a handle, "<error N>" when the read fails.
  std::string Read(HKEY key, const std::string& name) {
    std::vector<BYTE> data(64, 0);
    DWORD size = 0;
    const LONG result = registry.RegQueryValueExA(key, name, nullptr, &data, &size);
    return result == ERROR_SUCCESS ? std::string(data.begin(), data.begin() + size)
                                   : "<error " + std::to_string(result) + ">";
  }
  std::vector<std::string> Names(HKEY key, bool values) {
    std::vector<std::string> names;
    std::string name;
    for (DWORD i = 0; (values ? registry.RegEnumValueA(key, i, 256, name)
                              : registry.RegEnumKeyExA(key, i, 256, name)) == ERROR_SUCCESS;
         ++i) {
      names.push_back(name);
    }
    return names;
  }
  KeyTree Part(HKEY root) { return KeysBelow(registry, root, "Software\\Classes", true); }

  SimRegistry registry;
};

TEST_F(SimClassesRoot, ReadsTakeTheUsersKeyFirstThenTheMachines) {
  HKEY type = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, registry.RegOpenKeyExA(HKEY_CLASSES_ROOT, "TYPE", KEY_READ, type));
  for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
           {"Both", "user"}, {"UserOnly", "u"}, {"MachineOnly", "m"}, {"", "machine"}, {"None", "<error 2>"}}) {
    EXPECT_EQ(text, Read(type, name)) << name;
  }
  // Each name once: the user's values in their order, then those of the machine's the user
  // has not; the subkeys of both, sorted. The counts say the same.
  EXPECT_EQ((std::vector<std::string>{"Both", "UserOnly", "", "MachineOnly"}), Names(type, true));
  EXPECT_EQ((std::vector<std::string>{"Machine", "Shell", "user"}), Names(type, false));
  DWORD subKeys = 0, values = 0, longestKey = 0;
  ASSERT_EQ(ERROR_SUCCESS, registry.RegQueryInfoKeyA(type, &subKeys, &longestKey, &values, nullptr, nullptr));
  EXPECT_EQ((std::vector<DWORD>{3, 7, 4}), (std::vector<DWORD>{subKeys, longestKey, values}));
  // Below a key that both parts hold, the merge goes on.
  HKEY shell = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, registry.RegOpenKeyExA(type, "Shell", KEY_READ, shell));
  EXPECT_EQ((std::vector<std::string>{"Open", "Tuckaway"}), Names(shell, false));
  std::vector<BYTE> data(64, 0);
  DWORD size = 0;
  ASSERT_EQ(ERROR_SUCCESS, registry.RegQueryValueA(shell, "Open\\Command", &data, &size));
  EXPECT_EQ("open.exe %1", std::string(data.begin(), data.begin() + size));
  registry.RegCloseKey(shell);
  registry.RegCloseKey(type);
  EXPECT_EQ(0, registry.OpenHandleCount());
}

TEST_F(SimClassesRoot, WritesGoWhereWindowsPutsThemAndTheMachinesPartIsAStandardUsersToReadOnly) {
  auto create = [this](HKEY root, const std::string& path) {
    HKEY key = nullptr;
    const LONG result = registry.RegCreateKeyExA(root, path, KEY_ALL_ACCESS, key, nullptr);
    registry.RegCloseKey(key);
    return result;
  };
  auto open = [this](HKEY root, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    const LONG result = registry.RegOpenKeyExA(root, path, access, key);
    registry.RegCloseKey(key);
    return result;
  };
  auto set = [this](const std::string& path, const std::string& name) {
    HKEY key = nullptr;
    LONG result = registry.RegOpenKeyExA(HKEY_CLASSES_ROOT, path, KEY_ALL_ACCESS, key);
    if (result == ERROR_SUCCESS) result = registry.RegSetValueExA(key, name, REG_SZ, {'n', 'e', 'w'});
    registry.RegCloseKey(key);
    return result;
  };
  struct Step {
    const char* what;
    bool elevated;
    std::function<LONG()> act;
    LONG result;
  };
  const Step steps[] = {
      {"a value of a key the user has goes to the user's", false, [&] { return set("Type", "Both"); }, ERROR_SUCCESS},
      {"a key only the machine has opens for reading", false,
       [&] { return open(HKEY_CLASSES_ROOT, "Type\\Machine", KEY_READ); }, ERROR_SUCCESS},
      {"but not for writing", false, [&] { return open(HKEY_CLASSES_ROOT, "Type\\Machine", KEY_ALL_ACCESS); },
       ERROR_ACCESS_DENIED},
      {"a new key goes to the machine's part, even below the user's key", false,
       [&] { return create(HKEY_CLASSES_ROOT, "Type\\New"); }, ERROR_ACCESS_DENIED},
      {"a key the user has opens", false, [&] { return create(HKEY_CLASSES_ROOT, "Type\\Shell\\Tuckaway"); },
       ERROR_SUCCESS},
      {"nothing is made under HKEY_LOCAL_MACHINE", false, [&] { return create(HKEY_LOCAL_MACHINE, "Software\\X"); },
       ERROR_ACCESS_DENIED},
      {"nor opened to be written", false, [&] { return open(HKEY_LOCAL_MACHINE, "Software\\Classes", KEY_WRITE); },
       ERROR_ACCESS_DENIED},
      {"nor deleted", false, [&] { return registry.RegDeleteKeyA(HKEY_CLASSES_ROOT, "Type\\Machine"); },
       ERROR_ACCESS_DENIED},
      {"a delete takes the user's key", false, [&] { return registry.RegDeleteKeyA(HKEY_CLASSES_ROOT, "Type\\USER"); },
       ERROR_SUCCESS},
      {"an administrator's new key goes to the machine's part", true,
       [&] { return create(HKEY_CLASSES_ROOT, "Type\\New"); }, ERROR_SUCCESS},
      {"and his value too, where the user has no key", true, [&] { return set("Type\\Machine", "v"); }, ERROR_SUCCESS},
      {"he deletes the machine's key", true, [&] { return registry.RegDeleteKeyA(HKEY_CLASSES_ROOT, "Type\\Machine"); },
       ERROR_SUCCESS},
  };
  const KeyTree machine = Part(HKEY_LOCAL_MACHINE);
  for (const Step& step : steps) {
    registry.SetElevated(step.elevated);
    EXPECT_EQ(step.result, step.act()) << step.what;
    if (!step.elevated) {
      EXPECT_EQ(machine, Part(HKEY_LOCAL_MACHINE)) << step.what;
    }
  }
  registry.SetElevated(false);
  const KeyTree user = {{"Type", "[Both] 1:new\n[UserOnly] 1:u\n"},
                        {"Type\\Shell", ""},
                        {"Type\\Shell\\Tuckaway", ""},
                        {"Type\\Shell\\Tuckaway\\Command", "[] 1:verb.exe %1\n"}};
  EXPECT_EQ(user, Part(HKEY_CURRENT_USER));
  const KeyTree machineAfter = {{"Type", "[] 1:machine\n[Both] 1:machine\n[MachineOnly] 1:m\n"},
                                {"Type\\New", ""},
                                {"Type\\Shell", ""},
                                {"Type\\Shell\\Open", ""},
                                {"Type\\Shell\\Open\\Command", "[] 1:open.exe %1\n"}};
  EXPECT_EQ(machineAfter, Part(HKEY_LOCAL_MACHINE));
  EXPECT_EQ(0, registry.OpenHandleCount());
}

}  // namespace
}  // namespace ombrix::sim
