#pragma once
// Base fixture of the contract tests: a fresh platform, a throwaway registry key below
// HKEY_CURRENT_USER and a throwaway folder in the temporary folder.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/RegistryTree.h"
#include "tests/contract/ContractBackend.h"

namespace ombrix::contract {

using ombrix::testing::DeleteTree;

class ContractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_ = MakePlatform();
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    scratchKey_ = std::string("Software\\OmbrixContractTests\\") + test->test_suite_name() + "." + test->name();
    DeleteTree(Reg(), HKEY_CURRENT_USER, scratchKey_);
    ASSERT_EQ(ERROR_SUCCESS, Reg().RegCreateKeyExA(HKEY_CURRENT_USER, scratchKey_, KEY_ALL_ACCESS, root_, nullptr));

    folder_ = Files().GetTempPathA() + "OmbrixContract." + test->name();
    RemoveFolder(folder_);
    ASSERT_TRUE(Files().CreateDirectoryA(folder_));
    folder_ += "\\";
  }

  void TearDown() override {
    if (root_) Reg().RegCloseKey(root_);
    DeleteTree(Reg(), HKEY_CURRENT_USER, scratchKey_);
    DeleteTree(Reg(), HKEY_CURRENT_USER, "Software\\OmbrixContractTests");
    if (!folder_.empty()) RemoveFolder(folder_.substr(0, folder_.size() - 1));
  }

  // Removes the files the tests leave in their folder, then the folder.
  void RemoveFolder(const std::string& folder) {
    for (const std::string& file : created_) Files().DeleteFileA(file);
    Files().RemoveDirectoryA(folder);
  }

  std::string InFolder(const std::string& name) {
    created_.push_back(folder_ + name);
    return folder_ + name;
  }

  // Writes `text`, terminator included, as a string value of a new key: the system counts it
  // in UTF-16 (2 bytes a unit, whatever the program's code page) and gives the same bytes back.
  void ExpectStringKeptInUtf16(const std::string& text, DWORD utf16Units) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, Reg().RegCreateKeyExA(root_, "Strings", KEY_ALL_ACCESS, key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(key, "Name", REG_SZ, std::vector<BYTE>(text.begin(), text.end())));
    DWORD longestData = 0;
    EXPECT_EQ(ERROR_SUCCESS, Reg().RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &longestData));
    EXPECT_EQ(2 * utf16Units, longestData);
    std::vector<BYTE> data(text.size() + 8, 0xAA);
    DWORD size = static_cast<DWORD>(data.size());
    EXPECT_EQ(ERROR_SUCCESS, Reg().RegQueryValueExA(key, "Name", nullptr, &data, &size));
    EXPECT_EQ(text, std::string(data.begin(), data.begin() + size));
    Reg().RegCloseKey(key);
  }

  IRegistry& Reg() { return platform_->Registry(); }
  IProfile& Profile() { return platform_->Profile(); }
  IFiles& Files() { return platform_->Files(); }

  std::unique_ptr<Platform> platform_;
  std::string scratchKey_;
  HKEY root_ = nullptr;  // the open scratch key
  std::string folder_;   // ends with a backslash
  std::vector<std::string> created_;
};

inline std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

}  // namespace ombrix::contract
