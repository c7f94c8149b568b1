// What the file calls must do, on both backends.

#include "tests/contract/ContractFixture.h"

namespace ombrix::contract {
namespace {

class FilesContract : public ContractTest {};

TEST_F(FilesContract, ExistsDistinguishesFilesFromFolders) {
  const std::string path = InFolder("present.txt");
  EXPECT_FALSE(Files().FileExists(path));
  ASSERT_TRUE(Files().WriteFileBytes(path, std::string("a\0b\r\n", 5)));
  EXPECT_TRUE(Files().FileExists(path));
  EXPECT_FALSE(Files().FileExists(folder_.substr(0, folder_.size() - 1))) << "a folder is not a file";
  EXPECT_TRUE(Files().DirectoryExists(folder_.substr(0, folder_.size() - 1)));
  std::string bytes;
  ASSERT_TRUE(Files().ReadFileBytes(path, bytes));
  EXPECT_EQ(std::string("a\0b\r\n", 5), bytes);

  EXPECT_TRUE(Files().DeleteFileA(path));
  EXPECT_FALSE(Files().FileExists(path));
  EXPECT_FALSE(Files().DeleteFileA(path));
}

TEST_F(FilesContract, TempNamesAreUniqueAndCreated) {
  const std::string temp = Files().GetTempPathA();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ('\\', temp.back());

  std::string first, second;
  ASSERT_NE(0u, Files().GetTempFileNameA(folder_, "omb", 0, first));
  created_.push_back(first);
  ASSERT_NE(0u, Files().GetTempFileNameA(folder_, "omb", 0, second));
  created_.push_back(second);
  EXPECT_NE(first, second);
  EXPECT_TRUE(Files().FileExists(first));
  EXPECT_TRUE(Files().FileExists(second));
  std::string bytes = "x";
  ASSERT_TRUE(Files().ReadFileBytes(first, bytes));
  EXPECT_EQ("", bytes);
}

TEST_F(FilesContract, CurrentFolderChangesAndRelativeNamesFollowIt) {
  const std::string before = Files().GetCurrentDirectoryA();
  ASSERT_TRUE(Files().SetCurrentDirectoryA(folder_));
  ASSERT_TRUE(Files().WriteFileBytes("relative.txt", "r"));
  created_.push_back(folder_ + "relative.txt");
  EXPECT_TRUE(Files().FileExists(folder_ + "RELATIVE.TXT")) << "names ignore letter case";
  EXPECT_FALSE(Files().SetCurrentDirectoryA(folder_ + "missing"));
  ASSERT_TRUE(Files().SetCurrentDirectoryA(before));
}

TEST_F(FilesContract, FileWithoutVersionResourceHasNoVersionText) {
  const std::string path = InFolder("plain.txt");
  ASSERT_TRUE(Files().WriteFileBytes(path, "no resources here"));
  EXPECT_EQ("", Files().QueryVersionString(path, "\\StringFileInfo\\040904E4\\FileVersion"));
  EXPECT_EQ("", Files().QueryVersionString(folder_ + "missing.exe", "\\StringFileInfo\\040904E4\\FileVersion"));
}

TEST_F(FilesContract, ModuleFileNameIsAFullPathToAnExistingFile) {
  const std::string self = Files().GetModuleFileNameA();
  ASSERT_GT(self.size(), 3u);
  EXPECT_EQ(':', self[1]);
}

}  // namespace
}  // namespace ombrix::contract
