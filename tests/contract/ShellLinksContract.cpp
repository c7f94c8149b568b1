// What the shell-link object must do, on both backends; and shortcut files exchanged between
// the byte codec and the backend's object, so that a file one writes is one the other reads.

#include <optional>

#include "platform/ShellLinks.h"
#include "platform/sim/LnkFormat.h"
#include "tests/contract/ContractFixture.h"
#include "tests/contract/ShellLinksQuirks.h"

namespace ombrix::contract {
namespace {

using sim::DecodeLnk;
using sim::EncodeLnk;
using sim::LnkRecord;

class ShellLinksContract : public ContractTest {
 protected:
  IShellLinks& Links() { return platform_->ShellLinks(); }

  // A link object that offers IPersistFile; COM must be up.
  std::unique_ptr<IShellLinkObject> NewLink() {
    std::unique_ptr<IShellLinkObject> link;
    EXPECT_EQ(S_OK, Links().CreateShellLink(link));
    if (link) {
      EXPECT_EQ(S_OK, link->QueryPersistFile());
    }
    return link;
  }

  // Every property the system reads, as the object reports it.
  static LnkRecord Properties(IShellLinkObject& link) {
    LnkRecord record;
    link.GetDescription(record.description, MAX_PATH);
    link.GetPath(record.targetPath, MAX_PATH, SLGP_UNCPRIORITY);
    link.GetWorkingDirectory(record.workingDir, MAX_PATH);
    link.GetArguments(record.arguments, MAX_PATH);
    link.GetShowCmd(record.showCommand);
    link.GetHotkey(record.hotKey);
    link.GetIconLocation(record.iconLocation, MAX_PATH, record.iconIndex);
    return record;
  }

  static void SetProperties(IShellLinkObject& link, const LnkRecord& record) {
    link.SetDescription(record.description);
    link.SetPath(record.targetPath);
    link.SetWorkingDirectory(record.workingDir);
    link.SetArguments(record.arguments);
    link.SetShowCmd(record.showCommand);
    link.SetHotkey(record.hotKey);
    link.SetIconLocation(record.iconLocation, record.iconIndex);
  }
};

// Shortcuts that differ in every property the system uses. Show commands are only those the
// file format keeps (1, 3, 7); the texts stay in the code page both systems share.
std::vector<LnkRecord> SampleRecords() {
  LnkRecord full;
  full.description = "Notes for the d\xE9mo";
  full.targetPath = "C:\\Program Files\\Ombrix\\Ombrix.exe";
  full.workingDir = "C:\\Docs";
  full.arguments = "\"C:\\Docs\\todo list.txt\" /x";
  full.iconLocation = "C:\\Program Files\\Ombrix\\Ombrix.exe";
  full.iconIndex = 2;
  full.showCommand = SW_SHOWMINNOACTIVE;
  full.hotKey = 0x0654;  // Ctrl+Alt+T

  LnkRecord maximized;
  maximized.targetPath = "C:\\Tools\\tool.exe";
  maximized.showCommand = SW_SHOWMAXIMIZED;
  maximized.hotKey = 0x0170;  // Shift+F1
  maximized.iconLocation = "C:\\Tools\\icons.dll";
  maximized.iconIndex = -3;

  LnkRecord onlyArguments;
  onlyArguments.arguments = "-n";
  return {full, maximized, onlyArguments};
}

std::string Describe(const LnkRecord& record) {
  return "target '" + record.targetPath + "' args '" + record.arguments + "' show " +
         std::to_string(record.showCommand);
}

enum class ReadBy { kObject, kCodec };

void ExpectSameProperties(const LnkRecord& expected, const LnkRecord& actual, ReadBy reader) {
  EXPECT_EQ(expected.description, actual.description);
  EXPECT_EQ(expected.targetPath, actual.targetPath);
  EXPECT_EQ(expected.workingDir, actual.workingDir);
  EXPECT_EQ(expected.arguments, actual.arguments);
  if (reader == ReadBy::kCodec || !ShellIgnoresStoredShowCommand()) {
    EXPECT_EQ(expected.showCommand, actual.showCommand);
  }
  EXPECT_EQ(expected.hotKey, actual.hotKey);
  EXPECT_EQ(expected.iconLocation, actual.iconLocation);
  EXPECT_EQ(expected.iconIndex, actual.iconIndex);
}

TEST_F(ShellLinksContract, CoInitializeNestsAndCreationNeedsIt) {
  std::unique_ptr<IShellLinkObject> link;
  const HRESULT first = Links().CoInitialize();
  ASSERT_TRUE(SUCCEEDED(first));
  EXPECT_EQ(S_FALSE, Links().CoInitialize()) << "a second call on the same thread";
  EXPECT_EQ(S_OK, Links().CreateShellLink(link));
  EXPECT_TRUE(link);
  link.reset();
  Links().CoUninitialize();
  Links().CoUninitialize();
}

TEST_F(ShellLinksContract, NewLinkHasTheShellDefaults) {
  ComScope com(Links());
  auto link = NewLink();
  ASSERT_TRUE(link);
  std::string path = "x";
  EXPECT_EQ(S_FALSE, link->GetPath(path, MAX_PATH, SLGP_UNCPRIORITY)) << "no path yet";
  EXPECT_EQ("", path);
  LnkRecord properties = Properties(*link);
  EXPECT_EQ("", properties.description);
  EXPECT_EQ("", properties.workingDir);
  EXPECT_EQ("", properties.arguments);
  EXPECT_EQ("", properties.iconLocation);
  EXPECT_EQ(0, properties.iconIndex);
  EXPECT_EQ(SW_SHOWNORMAL, properties.showCommand);
  EXPECT_EQ(0, properties.hotKey);
}

// One file saved over and over: each load must show the latest save, not an older one.
TEST_F(ShellLinksContract, EveryPropertySurvivesSaveAndLoad) {
  ComScope com(Links());
  for (const LnkRecord& record : SampleRecords()) {
    SCOPED_TRACE(Describe(record));
    const std::string file = InFolder("saved.lnk");
    {
      auto writer = NewLink();
      ASSERT_TRUE(writer);
      SetProperties(*writer, record);
      ASSERT_EQ(S_OK, writer->Save(file));
    }
    auto reader = NewLink();
    ASSERT_TRUE(reader);
    ASSERT_EQ(S_OK, reader->Load(file));
    ExpectSameProperties(record, Properties(*reader), ReadBy::kObject);
  }
}

TEST_F(ShellLinksContract, SetPathDropsSurroundingQuotesAndEmptyClearsIt) {
  ComScope com(Links());
  auto link = NewLink();
  ASSERT_TRUE(link);
  link->SetPath("\"C:\\Program Files\\My Tool\\tool.exe\"");
  std::string path;
  EXPECT_EQ(S_OK, link->GetPath(path, MAX_PATH, SLGP_UNCPRIORITY));
  EXPECT_EQ("C:\\Program Files\\My Tool\\tool.exe", path);

  link->SetPath("");
  EXPECT_EQ(S_FALSE, link->GetPath(path, MAX_PATH, SLGP_UNCPRIORITY));
  EXPECT_EQ("", path);
}

TEST_F(ShellLinksContract, LoadRefusesWhatIsNotAShortcut) {
  ComScope com(Links());
  LnkRecord record = SampleRecords().front();
  const std::string valid = EncodeLnk(record);
  const struct {
    const char* name;
    std::optional<std::string> bytes;  // none: no file at all
  } cases[] = {
      {"missing.lnk", std::nullopt},
      {"empty.lnk", std::string()},
      {"text.lnk", std::string("[InternetShortcut]\r\nURL=http://example.invalid/\r\n")},
      {"header-only-half.lnk", valid.substr(0, 0x30)},
      {"wrong-class.lnk", valid.substr(0, 4) + std::string(16, '\x11') + valid.substr(20)},
  };
  for (const auto& sample : cases) {
    SCOPED_TRACE(sample.name);
    const std::string file = InFolder(sample.name);
    if (sample.bytes) {
      ASSERT_TRUE(Files().WriteFileBytes(file, *sample.bytes));
    }
    auto link = NewLink();
    ASSERT_TRUE(link);
    EXPECT_TRUE(FAILED(link->Load(file)));
  }
}

TEST_F(ShellLinksContract, SaveFailsWhereNoFileCanBeMade) {
  ComScope com(Links());
  auto link = NewLink();
  ASSERT_TRUE(link);
  link->SetPath("C:\\Tools\\tool.exe");
  EXPECT_TRUE(FAILED(link->Save(folder_ + "no such folder\\tool.lnk")));
  EXPECT_FALSE(Files().FileExists(folder_ + "no such folder\\tool.lnk"));
}

TEST_F(ShellLinksContract, NamesLongerThanMaxPathAreRefusedNotCut) {
  ComScope com(Links());
  // The cut name would be an existing, writable file in our folder.
  const std::string prefix = folder_ + std::string(MAX_PATH - 1 - folder_.size() - 4, 'n');
  const std::string fits = prefix + ".lnk";
  ASSERT_EQ(MAX_PATH - 1, fits.size());
  const std::string tooLong = fits + "x";
  created_.push_back(fits);

  auto link = NewLink();
  ASSERT_TRUE(link);
  link->SetPath("C:\\Tools\\tool.exe");
  EXPECT_EQ(S_OK, link->Save(fits));
  EXPECT_TRUE(FAILED(link->Save(tooLong)));
  EXPECT_TRUE(FAILED(link->Load(tooLong)));
}

// The codec writes, the backend's object reads.
TEST_F(ShellLinksContract, CodecWrittenFilesLoadWithEveryProperty) {
  ComScope com(Links());
  for (const LnkRecord& record : SampleRecords()) {
    SCOPED_TRACE(Describe(record));
    const std::string file = InFolder("codec.lnk");
    ASSERT_TRUE(Files().WriteFileBytes(file, EncodeLnk(record)));
    auto link = NewLink();
    ASSERT_TRUE(link);
    ASSERT_EQ(S_OK, link->Load(file));
    ExpectSameProperties(record, Properties(*link), ReadBy::kObject);
  }
}

// The backend's object writes, the codec reads the bytes.
TEST_F(ShellLinksContract, SavedFilesDecodeWithEveryProperty) {
  ComScope com(Links());
  for (const LnkRecord& record : SampleRecords()) {
    SCOPED_TRACE(Describe(record));
    const std::string file = InFolder("object.lnk");
    {
      auto link = NewLink();
      ASSERT_TRUE(link);
      SetProperties(*link, record);
      ASSERT_EQ(S_OK, link->Save(file));
    }
    std::string bytes, error;
    ASSERT_TRUE(Files().ReadFileBytes(file, bytes));
    std::optional<LnkRecord> decoded = DecodeLnk(bytes, error);
    ASSERT_TRUE(decoded) << error;
    ExpectSameProperties(record, *decoded, ReadBy::kCodec);
  }
}

}  // namespace
}  // namespace ombrix::contract
