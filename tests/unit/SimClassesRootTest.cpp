// HKEY_CLASSES_ROOT as Windows shows it to a standard user: the user's own classes over the
// machine-wide ones, and the machine-wide part read-only. Wine models neither (its
// HKEY_CLASSES_ROOT is the machine-wide part alone, and its user may write everywhere), so
// these rules are pinned for the simulated layer only; the contract tests hold what wine
// does the same way.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/sim/SimRegistry.h"

namespace ombrix::sim {
namespace {

class SimClassesRoot : public ::testing::Test {
 protected:
  SimClassesRoot() {
    registry.SetElevated(true);
    Write(HKEY_LOCAL_MACHINE, "Type", "", "machine");
    Write(HKEY_LOCAL_MACHINE, "Type", "Both", "machine");
    Write(HKEY_LOCAL_MACHINE, "Type", "MachineOnly", "m");
    Write(HKEY_LOCAL_MACHINE, "Type\\Shell\\Open\\Command", "", "open.exe %1");
    Write(HKEY_LOCAL_MACHINE, "Type\\Machine", "", "");
    registry.SetElevated(false);
    Write(HKEY_CURRENT_USER, "Type", "Both", "user");
    Write(HKEY_CURRENT_USER, "Type", "UserOnly", "u");
    Write(HKEY_CURRENT_USER, "Type\\Shell\\Tuckaway\\Command", "", "verb.exe %1");
    Write(HKEY_CURRENT_USER, "Type\\user", "", "");
  }

  void Write(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              registry.RegCreateKeyExA(root, "Software\\Classes\\" + path, KEY_ALL_ACCESS, key, nullptr));
    if (!text.empty()) {
      ASSERT_EQ(ERROR_SUCCESS, registry.RegSetValueExA(key, name, REG_SZ, Text(text)));
    }
    registry.RegCloseKey(key);
  }
  static std::vector<BYTE> Text(const std::string& text) {
    std::vector<BYTE> data(text.begin(), text.end());
    data.push_back(0);
    return data;
  }
  // A value read through a handle, "<error N>" when the read fails.
  std::string Read(HKEY key, const std::string& name) {
    std::vector<BYTE> data(64, 0);
    DWORD type = 0, size = 0;
    const LONG result = registry.RegQueryValueExA(key, name, &type, &data, &size);
    if (result != ERROR_SUCCESS) return "<error " + std::to_string(result) + ">";
    return std::string(reinterpret_cast<char*>(data.data()));
  }
  // Every key of a part, with its values as name=text.
  std::map<std::string, std::string> Part(HKEY root) {
    std::map<std::string, std::string> keys;
    Collect(root, "Software\\Classes", "", keys);
    return keys;
  }
  void Collect(HKEY root, const std::string& full, const std::string& path, std::map<std::string, std::string>& keys) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, registry.RegOpenKeyExA(root, full, KEY_READ, key));
    std::string shown, name;
    for (DWORD i = 0; registry.RegEnumValueA(key, i, 256, name) == ERROR_SUCCESS; ++i) {
      shown += name + "=" + Read(key, name) + ";";
    }
    if (!path.empty()) keys[path] = shown;
    std::vector<std::string> names;
    for (DWORD i = 0; registry.RegEnumKeyExA(key, i, 256, name) == ERROR_SUCCESS; ++i) names.push_back(name);
    registry.RegCloseKey(key);
    for (const std::string& sub : names) Collect(root, full + "\\" + sub, path.empty() ? sub : path + "\\" + sub, keys);
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

  SimRegistry registry;
};

TEST_F(SimClassesRoot, ReadsTakeTheUsersKeyFirstThenTheMachines) {
  HKEY type = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, registry.RegOpenKeyExA(HKEY_CLASSES_ROOT, "TYPE", KEY_READ, type));
  const std::map<std::string, std::string> values = {
      {"Both", "user"}, {"UserOnly", "u"}, {"MachineOnly", "m"}, {"", "machine"}, {"None", "<error 2>"}};
  for (const auto& [name, text] : values) EXPECT_EQ(text, Read(type, name)) << name;
  // Each name once: the user's values in their order, then the machine's the user has not.
  EXPECT_EQ((std::vector<std::string>{"Both", "UserOnly", "", "MachineOnly"}), Names(type, true));
  EXPECT_EQ((std::vector<std::string>{"Machine", "Shell", "user"}), Names(type, false));
  DWORD subKeys = 0, values4 = 0, longestKey = 0;
  ASSERT_EQ(ERROR_SUCCESS, registry.RegQueryInfoKeyA(type, &subKeys, &longestKey, &values4, nullptr, nullptr));
  EXPECT_EQ(3u, subKeys);
  EXPECT_EQ(7u, longestKey);
  EXPECT_EQ(4u, values4);
  // Below a key that both parts hold, the merge goes on.
  HKEY shell = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, registry.RegOpenKeyExA(type, "Shell", KEY_READ, shell));
  EXPECT_EQ((std::vector<std::string>{"Open", "Tuckaway"}), Names(shell, false));
  std::vector<BYTE> data(64, 0);
  DWORD size = 0;
  ASSERT_EQ(ERROR_SUCCESS, registry.RegQueryValueA(HKEY_CLASSES_ROOT, "Type\\Shell\\Open\\Command", &data, &size));
  EXPECT_EQ("open.exe %1", std::string(reinterpret_cast<char*>(data.data())));
  registry.RegCloseKey(shell);
  registry.RegCloseKey(type);
  EXPECT_EQ(0, registry.OpenHandleCount());
}

TEST_F(SimClassesRoot, WritesGoWhereWindowsPutsThemAndTheMachinesPartIsAStandardUsersToReadOnly) {
  struct Step {
    const char* what;
    bool elevated;
    std::function<LONG()> act;
    LONG result;
  };
  auto create = [this](HKEY root, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    const LONG result = registry.RegCreateKeyExA(root, path, access, key, nullptr);
    registry.RegCloseKey(key);
    return result;
  };
  auto open = [this](HKEY root, const std::string& path, REGSAM access) {
    HKEY key = nullptr;
    const LONG result = registry.RegOpenKeyExA(root, path, access, key);
    registry.RegCloseKey(key);
    return result;
  };
  auto set = [this](const std::string& path, const std::string& name, const std::string& text) {
    HKEY key = nullptr;
    LONG result = registry.RegOpenKeyExA(HKEY_CLASSES_ROOT, path, KEY_ALL_ACCESS, key);
    if (result == ERROR_SUCCESS) result = registry.RegSetValueExA(key, name, REG_SZ, Text(text));
    registry.RegCloseKey(key);
    return result;
  };
  const Step steps[] = {
      {"a value of a key the user has goes to the user's", false, [&] { return set("Type", "Both", "new"); },
       ERROR_SUCCESS},
      {"a key only the machine has cannot be opened for writing", false,
       [&] { return open(HKEY_CLASSES_ROOT, "Type\\Machine", KEY_ALL_ACCESS); }, ERROR_ACCESS_DENIED},
      {"but for reading", false, [&] { return open(HKEY_CLASSES_ROOT, "Type\\Machine", KEY_READ); }, ERROR_SUCCESS},
      {"a new key goes to the machine's part, even below the user's key", false,
       [&] { return create(HKEY_CLASSES_ROOT, "Type\\New", KEY_ALL_ACCESS); }, ERROR_ACCESS_DENIED},
      {"an existing key of the user's opens", false,
       [&] { return create(HKEY_CLASSES_ROOT, "Type\\Shell\\Tuckaway", KEY_ALL_ACCESS); }, ERROR_SUCCESS},
      {"nothing is written under HKEY_LOCAL_MACHINE", false,
       [&] { return create(HKEY_LOCAL_MACHINE, "Software\\Other", KEY_ALL_ACCESS); }, ERROR_ACCESS_DENIED},
      {"nor opened to be written", false, [&] { return open(HKEY_LOCAL_MACHINE, "Software\\Classes", KEY_WRITE); },
       ERROR_ACCESS_DENIED},
      {"nor deleted", false, [&] { return registry.RegDeleteKeyA(HKEY_CLASSES_ROOT, "Type\\Machine"); },
       ERROR_ACCESS_DENIED},
      {"a delete takes the user's key first", false,
       [&] { return registry.RegDeleteKeyA(HKEY_CLASSES_ROOT, "Type\\USER"); }, ERROR_SUCCESS},
      {"an administrator's new key goes to the machine's part", true,
       [&] { return create(HKEY_CLASSES_ROOT, "Type\\New", KEY_ALL_ACCESS); }, ERROR_SUCCESS},
      {"and his value too, where the user has no key", true, [&] { return set("Type\\Machine", "v", "x"); },
       ERROR_SUCCESS},
      {"he deletes the machine's key", true, [&] { return registry.RegDeleteKeyA(HKEY_CLASSES_ROOT, "Type\\Machine"); },
       ERROR_SUCCESS},
  };
  const std::map<std::string, std::string> machineBefore = Part(HKEY_LOCAL_MACHINE);
  for (const Step& step : steps) {
    registry.SetElevated(step.elevated);
    EXPECT_EQ(step.result, step.act()) << step.what;
    if (!step.elevated) {
      EXPECT_EQ(machineBefore, Part(HKEY_LOCAL_MACHINE)) << step.what;
    }
  }
  registry.SetElevated(false);
  const std::map<std::string, std::string> user = {{"Type", "Both=new;UserOnly=u;"},
                                                   {"Type\\Shell", ""},
                                                   {"Type\\Shell\\Tuckaway", ""},
                                                   {"Type\\Shell\\Tuckaway\\Command", "=verb.exe %1;"}};
  EXPECT_EQ(user, Part(HKEY_CURRENT_USER));
  const std::map<std::string, std::string> machine = {{"Type", "=machine;Both=machine;MachineOnly=m;"},
                                                      {"Type\\New", ""},
                                                      {"Type\\Shell", ""},
                                                      {"Type\\Shell\\Open", ""},
                                                      {"Type\\Shell\\Open\\Command", "=open.exe %1;"}};
  EXPECT_EQ(machine, Part(HKEY_LOCAL_MACHINE));
  EXPECT_EQ(0, registry.OpenHandleCount());
}

}  // namespace
}  // namespace ombrix::sim
