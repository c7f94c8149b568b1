#pragma once
// Base fixture of the settings tests: a fresh platform, a throwaway registry key below
// HKEY_CURRENT_USER, a throwaway folder for INI files, and a store component aimed at the
// key. Everything is removed afterwards, and on the simulated registry no key may be left
// open.

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "settings/AppSettings.h"
#include "settings/RegistryEnhanced.h"
#include "tests/RegistryTree.h"
#include "tests/settings/SettingsBackend.h"

namespace ombrix {

// Readable failure messages for stored values.
inline void PrintTo(const TVariant& value, std::ostream* out) {
  static const char* const kinds[] = {"empty", "integer", "boolean", "string", "double", "currency", "date"};
  *out << kinds[static_cast<int>(value.Kind())] << " '" << value.ToText() << "'";
}

}  // namespace ombrix

namespace ombrix::settingstest {

constexpr char TestsKey[] = "Software\\OmbrixSettingsTests";

using ombrix::testing::DeleteTree;

inline std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

inline std::vector<std::string> Sorted(std::vector<std::string> list) {
  std::sort(list.begin(), list.end());
  return list;
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_ = MakePlatform();
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    key_ = std::string(TestsKey) + "\\" + test->test_suite_name() + "." + test->name();
    DeleteTree(Reg(), HKEY_CURRENT_USER, key_);
    store_ = std::make_unique<TRegistryEnhanced>(*platform_);
    store_->Key = key_;

    folder_ = Files().GetTempPathA() + "OmbrixSettings." + test->name();
    Files().RemoveDirectoryA(folder_);
    ASSERT_TRUE(Files().CreateDirectoryA(folder_) || Files().DirectoryExists(folder_));
    folder_ += "\\";
  }

  void TearDown() override {
    store_.reset();
    DeleteTree(Reg(), HKEY_CURRENT_USER, TestsKey);
    for (const std::string& file : files_) Files().DeleteFileA(file);
    Files().RemoveDirectoryA(folder_.substr(0, folder_.size() - 1));
    const int open = OpenRegistryHandles(*platform_);
    if (open >= 0) {
      EXPECT_EQ(0, open) << "registry keys left open";
    }
  }

  IRegistry& Reg() { return platform_->Registry(); }
  IProfile& Profile() { return platform_->Profile(); }
  IFiles& Files() { return platform_->Files(); }
  TRegistryEnhanced& Store() { return *store_; }

  // A file in the scratch folder, removed after the test.
  std::string InFolder(const std::string& name) {
    files_.push_back(folder_ + name);
    return folder_ + name;
  }
  // Any file the test creates elsewhere, removed after the test.
  void RemoveAfterwards(const std::string& path) { files_.push_back(path); }

  // Plain registry access to the scratch key (or a path below it), for arranging and
  // inspecting what the code under test sees.
  void SetRaw(const std::string& name, DWORD type, const std::vector<BYTE>& data, const std::string& sub = "") {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, Reg().RegCreateKeyExA(HKEY_CURRENT_USER, Path(sub), KEY_ALL_ACCESS, key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(key, name, type, data));
    Reg().RegCloseKey(key);
  }
  void SetDword(const std::string& name, std::uint32_t value, const std::string& sub = "") {
    SetRaw(name, REG_DWORD, {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)}, sub);
  }
  void SetText(const std::string& name, const std::string& value, const std::string& sub = "") {
    std::vector<BYTE> data = Bytes(value);
    data.push_back(0);
    SetRaw(name, REG_SZ, data, sub);
  }
  // False when the value (or its key) is missing.
  bool GetRaw(const std::string& name, DWORD& type, std::vector<BYTE>& data, const std::string& sub = "") {
    HKEY key = nullptr;
    if (Reg().RegOpenKeyExA(HKEY_CURRENT_USER, Path(sub), KEY_READ, key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool found = Reg().RegQueryValueExA(key, name, &type, nullptr, &size) == ERROR_SUCCESS;
    if (found) {
      data.assign(size, 0);
      found = Reg().RegQueryValueExA(key, name, &type, &data, &size) == ERROR_SUCCESS;
    }
    Reg().RegCloseKey(key);
    return found;
  }
  bool KeyExists(const std::string& sub) {
    HKEY key = nullptr;
    if (Reg().RegOpenKeyExA(HKEY_CURRENT_USER, Path(sub), KEY_READ, key) != ERROR_SUCCESS) return false;
    Reg().RegCloseKey(key);
    return true;
  }
  // Every value name of the scratch key (or a key below it), sorted.
  std::vector<std::string> RawValueNames(const std::string& sub = "") {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (Reg().RegOpenKeyExA(HKEY_CURRENT_USER, Path(sub), KEY_READ, key) != ERROR_SUCCESS) return names;
    std::string name;
    for (DWORD index = 0; Reg().RegEnumValueA(key, index, 16384, name) == ERROR_SUCCESS; ++index) {
      names.push_back(name);
    }
    Reg().RegCloseKey(key);
    return Sorted(names);
  }
  std::string Path(const std::string& sub) const { return sub.empty() ? key_ : key_ + "\\" + sub; }

  std::unique_ptr<Platform> platform_;
  std::unique_ptr<TRegistryEnhanced> store_;
  std::string key_;     // the scratch key below HKEY_CURRENT_USER
  std::string folder_;  // the scratch folder, ending with a backslash
  std::vector<std::string> files_;
};

}  // namespace ombrix::settingstest
