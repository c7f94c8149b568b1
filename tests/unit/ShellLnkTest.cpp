// TShellLinkWrapper over the simulated desktop: the file-name and folder rules, the
// conversions it writes, COM discipline on every path and every error it raises.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "platform/ShellLnk.h"
#include "platform/sim/LnkFormat.h"
#include "platform/sim/SimPlatform.h"
#include "tests/ShellLinkErrors.h"

namespace ombrix {
namespace {

using sim::DecodeLnk;
using sim::EncodeLnk;
using sim::LnkRecord;

const char* const ShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const Desktop = "C:\\Users\\Ann\\Desktop";
const char* const StartMenu = "C:\\Users\\Ann\\Start Menu";

class ShellLnkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFolderEntry("Desktop", Desktop);
    SetFolderEntry("Start Menu", StartMenu);
    platform_.SimFiles().MakeDirectories("C:\\Links");
  }

  void SetFolderEntry(const std::string& name, const std::string& path, DWORD type = REG_SZ) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              platform_.Registry().RegCreateKeyExA(HKEY_CURRENT_USER, ShellFolders, KEY_ALL_ACCESS, key, nullptr));
    std::vector<BYTE> data(path.begin(), path.end());
    data.push_back(0);
    platform_.Registry().RegSetValueExA(key, name, type, data);
    platform_.Registry().RegCloseKey(key);
  }

  std::string Message(const std::function<void()>& action) { return testing::ShellLinkErrorOf(action); }

  std::optional<LnkRecord> Stored(const std::string& file) {
    std::string bytes, error;
    if (!platform_.Files().ReadFileBytes(file, bytes)) return std::nullopt;
    auto record = DecodeLnk(bytes, error);
    EXPECT_TRUE(record) << error;
    return record;
  }

  void ExpectComBalanced() {
    EXPECT_EQ(0, platform_.SimLinks().InitializeDepth()) << "CoInitialize left unbalanced";
    EXPECT_EQ(0, platform_.SimLinks().LiveObjects()) << "a link object was not released";
    EXPECT_EQ(0, platform_.SimLinks().ObjectsAliveAtUninitialize()) << "released after COM went down";
    EXPECT_EQ(0, platform_.SimLinks().UnbalancedUninitializeCalls()) << "CoUninitialize without CoInitialize";
  }

  sim::SimPlatform platform_;
};

// One assignment: a file name, or a folder.
struct Step {
  std::optional<std::string> fileName;
  TShellFolder folder = sfNone;
};
Step Name(const std::string& value) { return {value, sfNone}; }
Step Folder(TShellFolder folder) { return {std::nullopt, folder}; }

TEST_F(ShellLnkTest, FileNameAndFolderRules) {
  const std::string desktop = std::string(Desktop) + "\\";
  const std::string startMenu = std::string(StartMenu) + "\\";
  const struct {
    const char* what;
    std::vector<Step> steps;
    std::string expected;
  } cases[] = {
      {"extension added", {Name("C:\\Links\\Tool")}, "C:\\Links\\Tool.lnk"},
      {"upper-case extension kept", {Name("C:\\Links\\Tool.LNK")}, "C:\\Links\\Tool.LNK"},
      {"other extension kept, .lnk added", {Name("C:\\Links\\Tool.exe")}, "C:\\Links\\Tool.exe.lnk"},
      {"dot in a folder is no extension", {Name("C:\\Links.old\\Tool")}, "C:\\Links.old\\Tool.lnk"},
      {"empty stays empty", {Name("")}, ""},
      {"a bare extension is no name", {Name("C:\\Links\\.LNK")}, ""},
      {"name goes into the folder", {Folder(sfDesktop), Name("Tool")}, desktop + "Tool.lnk"},
      {"the folder replaces a given path", {Folder(sfDesktop), Name("D:\\Else\\Tool")}, desktop + "Tool.lnk"},
      {"a drive colon ends the path", {Folder(sfDesktop), Name("D:Tool")}, desktop + "Tool.lnk"},
      {"empty name in a folder is empty", {Folder(sfDesktop), Name("")}, ""},
      {"moving keeps the name part", {Folder(sfDesktop), Name("Tool"), Folder(sfStartMenu)}, startMenu + "Tool.lnk"},
      {"no folder leaves the name", {Folder(sfDesktop), Name("Tool"), Folder(sfNone)}, desktop + "Tool.lnk"},
      {"folder after name moves it", {Name("C:\\Links\\Tool"), Folder(sfDesktop)}, desktop + "Tool.lnk"},
      // The folder setter composes directly, without the extension rules.
      {"folder after an empty name", {Name(""), Folder(sfDesktop)}, desktop},
      {"name after leaving the folder",
       {Folder(sfDesktop), Folder(sfNone), Name("C:\\Links\\Tool")},
       "C:\\Links\\Tool.lnk"},
      {"unknown folder has no path", {Folder(sfFonts), Name("Tool")}, "\\Tool.lnk"},
  };
  for (const auto& sample : cases) {
    TShellLinkWrapper link(platform_);
    for (const Step& step : sample.steps) {
      if (step.fileName) {
        link.SetFileName(*step.fileName);
      } else {
        link.SetShellFolder(step.folder);
      }
    }
    EXPECT_EQ(sample.expected, link.FileName()) << sample.what;
  }
}

TEST_F(ShellLnkTest, AssigningTheCurrentNameChangesNothing) {
  TShellLinkWrapper link(platform_);
  link.SetShellFolder(sfDesktop);
  link.SetFileName("Tool");
  const std::string before = link.FileName();
  SetFolderEntry("Desktop", "D:\\Moved");
  link.SetFileName(before);
  EXPECT_EQ(before, link.FileName()) << "the same text is not placed again";
  link.SetFileName("tool");
  EXPECT_EQ("D:\\Moved\\tool.lnk", link.FileName());
}

TEST_F(ShellLnkTest, EveryFolderReadsItsOwnEntry) {
  const struct {
    TShellFolder folder;
    const char* entry;
  } folders[] = {{sfDesktop, "Desktop"},    {sfFavorites, "Favorites"},  {sfFonts, "Fonts"},
                 {sfPersonal, "Personal"},  {sfPrograms, "Programs"},    {sfRecent, "Recent"},
                 {sfSendTo, "SendTo"},      {sfStartMenu, "Start Menu"}, {sfStartup, "Startup"},
                 {sfTemplates, "Templates"}};
  for (const auto& folder : folders) SetFolderEntry(folder.entry, std::string("P:\\") + folder.entry + " dir");
  for (const auto& folder : folders) {
    TShellLinkWrapper link(platform_);
    link.SetFileName("C:\\Links\\Tool");
    link.SetShellFolder(folder.folder);
    EXPECT_EQ(std::string("P:\\") + folder.entry + " dir\\Tool.lnk", link.FileName());
  }
  EXPECT_EQ(0, platform_.SimReg().OpenHandleCount());
}

// The Startup folder is the shell's known folder where the shell has one, even when the
// "Shell Folders" value names another, and that value where the shell has none; no other
// folder follows the known folder.
TEST_F(ShellLnkTest, StartupIsTheShellsKnownFolderFirst) {
  const struct {
    const char* name;
    const char* knownFolder;  // empty: the shell has no such call
    TShellFolder folder;
    const char* expected;
  } cases[] = {
      {"known folder over a stale value", "C:\\Users\\Ann\\Startup", sfStartup, "C:\\Users\\Ann\\Startup\\Tool.lnk"},
      {"no known folder", "", sfStartup, "P:\\Old Startup\\Tool.lnk"},
      {"another folder", "C:\\Users\\Ann\\Startup", sfDesktop, "C:\\Users\\Ann\\Desktop\\Tool.lnk"},
  };
  SetFolderEntry("Startup", "P:\\Old Startup");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    platform_.SimTray().SetStartupFolder(c.knownFolder);
    TShellLinkWrapper link(platform_);
    link.SetFileName("C:\\Links\\Tool");
    link.SetShellFolder(c.folder);
    EXPECT_EQ(c.expected, link.FileName());
  }
}

TEST_F(ShellLnkTest, FolderLookupNeverCreatesTheKeyAndClosesWhatItOpens) {
  sim::SimPlatform bare;
  TShellLinkWrapper link(bare);
  link.SetShellFolder(sfDesktop);
  EXPECT_EQ("\\", link.FileName());
  HKEY key = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, bare.Registry().RegOpenKeyExA(HKEY_CURRENT_USER, ShellFolders, KEY_READ, key));

  SetFolderEntry("Personal", "not a string", REG_BINARY);
  TShellLinkWrapper typed(platform_);
  EXPECT_EQ("", typed.ShellFolderPath(sfPersonal)) << "only string values name a folder";
  EXPECT_EQ("", typed.ShellFolderPath(sfRecent)) << "missing value";
  EXPECT_EQ(0, platform_.SimReg().OpenHandleCount());
}

TEST_F(ShellLnkTest, NewComponentWritesANormalWindow) {
  TShellLinkWrapper link(platform_);
  EXPECT_EQ(wsNormal, link.WindowState());
  link.SetFileName("C:\\Links\\Empty");
  link.WriteLink();
  auto stored = Stored("C:\\Links\\Empty.lnk");
  ASSERT_TRUE(stored);
  EXPECT_EQ(SW_SHOWNORMAL, stored->showCommand) << "the held 0 is not a show command the file keeps";
  EXPECT_EQ("", stored->targetPath);
}

TEST_F(ShellLnkTest, FileIconIsOwnedAndAssignmentCopies) {
  TShellLinkWrapper link(platform_);
  TFileIcon icon;
  icon.SetFileName("C:\\icons.dll");
  icon.SetIconIndex(3);
  link.SetFileIcon(icon);
  icon.SetFileName("C:\\other.dll");
  icon.SetIconIndex(9);
  EXPECT_EQ("C:\\icons.dll", link.FileIcon().FileName());
  EXPECT_EQ(3, link.FileIcon().IconIndex());
  link.FileIcon().SetIconIndex(5);
  EXPECT_EQ(5, link.FileIcon().IconIndex());
}

TEST_F(ShellLnkTest, HotKeysAndWindowStatesAreStoredInTheShellsTerms) {
  const struct {
    WORD shortcut;
    WORD stored;
    TWindowState state;
    int showCommand;
  } cases[] = {
      {scCtrl | scAlt | 'T', 0x0654, wsMinimized, SW_SHOWMINNOACTIVE},
      {scShift | 'A', 0x0141, wsMaximized, SW_SHOWMAXIMIZED},
      {scShift | scCtrl | scAlt | 0x7B, 0x077B, wsNormal, SW_SHOWNORMAL},
      {0x1000 | 'B', 0x0042, wsNormal, SW_SHOWNORMAL},  // no shell flag for other bits
      {0, 0, wsMinimized, SW_SHOWMINNOACTIVE},
  };
  for (const auto& sample : cases) {
    TShellLinkWrapper link(platform_);
    link.SetFileName("C:\\Links\\Keys");
    link.SetHotKey(sample.shortcut);
    link.SetWindowState(sample.state);
    link.WriteLink();
    auto stored = Stored(link.FileName());
    ASSERT_TRUE(stored);
    EXPECT_EQ(sample.stored, stored->hotKey) << std::hex << sample.shortcut;
    EXPECT_EQ(sample.showCommand, stored->showCommand);
  }
}

TEST_F(ShellLnkTest, ARereadShowCommandTwoIsWrittenBackAsNormal) {
  LnkRecord foreign;
  foreign.targetPath = "C:\\Tools\\tool.exe";
  foreign.showCommand = SW_SHOWMINIMIZED;
  ASSERT_TRUE(platform_.Files().WriteFileBytes("C:\\Links\\Foreign.lnk", EncodeLnk(foreign)));
  TShellLinkWrapper link(platform_);
  link.SetFileName("C:\\Links\\Foreign.lnk");
  link.ReadLink();
  EXPECT_EQ(wsNormal, link.WindowState());
  link.SetFileName("C:\\Links\\Copy.lnk");
  link.WriteLink();
  auto stored = Stored("C:\\Links\\Copy.lnk");
  ASSERT_TRUE(stored);
  EXPECT_EQ(SW_SHOWNORMAL, stored->showCommand);
  EXPECT_EQ("C:\\Tools\\tool.exe", stored->targetPath);
}

TEST_F(ShellLnkTest, ReadsATargetGivenOnlyRelativeToTheShortcut) {
  LnkRecord relative;
  relative.relativePath = "..\\Tools\\tool.exe";
  relative.arguments = "-x";
  ASSERT_TRUE(platform_.Files().WriteFileBytes("C:\\Links\\Relative.lnk", EncodeLnk(relative)));
  TShellLinkWrapper link(platform_);
  link.SetFileName("C:\\Links\\Relative.lnk");
  link.ReadLink();
  EXPECT_EQ("C:\\Tools\\tool.exe", link.Target());
  EXPECT_EQ("-x", link.Arguments());
}

// Every way through ReadLink and WriteLink: the message, and COM left as it was found.
TEST_F(ShellLnkTest, EveryPathGivesItsMessageAndLeavesComBalanced) {
  LnkRecord good;
  good.targetPath = "C:\\Tools\\tool.exe";
  ASSERT_TRUE(platform_.Files().WriteFileBytes("C:\\Links\\Good.lnk", EncodeLnk(good)));
  ASSERT_TRUE(platform_.Files().WriteFileBytes("C:\\Links\\Bad.lnk", EncodeLnk(good).substr(0, 0x50)));
  platform_.SimFiles().MakeDirectories("C:\\Locked");
  platform_.SimFiles().SetReadOnly("C:\\Locked", true);

  enum class Op { kRead, kWrite };
  const struct {
    const char* what;
    Op op;
    std::string file;
    HRESULT createFailure;
    HRESULT queryFailure;
    std::string message;
  } cases[] = {
      {"read", Op::kRead, "C:\\Links\\Good.lnk", S_OK, S_OK, "(no error)"},
      {"write", Op::kWrite, "C:\\Links\\New.lnk", S_OK, S_OK, "(no error)"},
      {"read missing", Op::kRead, "C:\\Links\\Missing.lnk", S_OK, S_OK, "Lien non trouv\xE9."},
      {"read truncated", Op::kRead, "C:\\Links\\Bad.lnk", S_OK, S_OK, "Erreur en lecture."},
      {"read, no object", Op::kRead, "C:\\Links\\Good.lnk", REGDB_E_CLASSNOTREG, S_OK,
       "\"CoCreateInstance\" a \xE9"
       "chou\xE9."},
      {"read, no IPersistFile", Op::kRead, "C:\\Links\\Good.lnk", S_OK, E_NOINTERFACE,
       "\"PersistFile QueryInterface\" a \xE9"
       "chou\xE9."},
      {"write, no object", Op::kWrite, "C:\\Links\\New.lnk", E_OUTOFMEMORY, S_OK,
       "\"CoCreateInstance\" a \xE9"
       "chou\xE9."},
      {"write, no IPersistFile", Op::kWrite, "C:\\Links\\New.lnk", S_OK, E_NOINTERFACE,
       "\"PersistFile QueryInterface\" a \xE9"
       "chou\xE9."},
      {"write into a read-only folder", Op::kWrite, "C:\\Locked\\New.lnk", S_OK, S_OK,
       "Erreur en \xE9"
       "criture."},
      {"write into a missing folder", Op::kWrite, "C:\\Nowhere\\New.lnk", S_OK, S_OK,
       "Erreur en \xE9"
       "criture."},
      {"write a name over MAX_PATH", Op::kWrite, "C:\\Links\\" + std::string(260, 'n') + ".lnk", S_OK, S_OK,
       "Erreur en \xE9"
       "criture."},
  };
  for (const auto& sample : cases) {
    SCOPED_TRACE(sample.what);
    platform_.SimLinks().FailCreate(sample.createFailure);
    platform_.SimLinks().FailQueryPersistFile(sample.queryFailure);
    TShellLinkWrapper link(platform_);
    link.SetFileName(sample.file);
    link.SetTarget("C:\\Tools\\tool.exe");
    EXPECT_EQ(sample.message, Message([&] { sample.op == Op::kRead ? link.ReadLink() : link.WriteLink(); }));
    ExpectComBalanced();
    platform_.SimLinks().ClearFailures();
  }
  EXPECT_FALSE(platform_.Files().FileExists("C:\\Locked\\New.lnk"));
}

TEST_F(ShellLnkTest, ComAlreadyUpStaysUpAndAnotherApartmentIsNotUninitialised) {
  TShellLinkWrapper link(platform_);
  link.SetFileName("C:\\Links\\Tool");
  ASSERT_EQ(S_OK, platform_.ShellLinks().CoInitialize());
  link.WriteLink();
  link.ReadLink();
  EXPECT_EQ(1, platform_.SimLinks().InitializeDepth()) << "the caller's CoInitialize is still standing";
  platform_.ShellLinks().CoUninitialize();

  // A thread in the multithreaded apartment: CoInitialize refuses, objects still work, and
  // nothing must be uninitialised for the refused call.
  platform_.SimLinks().SetMultithreadedApartment(true);
  link.WriteLink();
  link.ReadLink();
  ExpectComBalanced();
}

TEST_F(ShellLnkTest, AFailedReadKeepsThePropertiesItHad) {
  ASSERT_TRUE(platform_.Files().WriteFileBytes("C:\\Links\\Junk.lnk", "junk"));
  TShellLinkWrapper link(platform_);
  link.SetTarget("C:\\Before\\tool.exe");
  link.SetArguments("-before");
  link.SetHotKey(scCtrl | 'B');
  link.SetWindowState(wsMaximized);
  link.SetFileName("C:\\Links\\Junk.lnk");
  EXPECT_EQ("Erreur en lecture.", Message([&] { link.ReadLink(); }));
  EXPECT_EQ("C:\\Before\\tool.exe", link.Target());
  EXPECT_EQ("-before", link.Arguments());
  EXPECT_EQ(scCtrl | 'B', link.HotKey());
  EXPECT_EQ(wsMaximized, link.WindowState());
}

TEST_F(ShellLnkTest, EachTextIsRefusedPastTheShortcutsCapacity) {
  using Setter = std::function<void(TShellLinkWrapper&, const std::string&)>;
  const struct {
    const char* field;
    Setter set;
    std::string LnkRecord::*stored;
  } fields[] = {
      {"Description", [](TShellLinkWrapper& l, const std::string& v) { l.SetDescription(v); }, &LnkRecord::description},
      {"Target", [](TShellLinkWrapper& l, const std::string& v) { l.SetTarget(v); }, &LnkRecord::targetPath},
      {"WorkingDir", [](TShellLinkWrapper& l, const std::string& v) { l.SetWorkingDir(v); }, &LnkRecord::workingDir},
      {"Arguments", [](TShellLinkWrapper& l, const std::string& v) { l.SetArguments(v); }, &LnkRecord::arguments},
      {"FileIcon", [](TShellLinkWrapper& l, const std::string& v) { l.FileIcon().SetFileName(v); },
       &LnkRecord::iconLocation},
  };
  for (const auto& field : fields) {
    SCOPED_TRACE(field.field);
    TShellLinkWrapper link(platform_);
    link.SetFileName("C:\\Links\\Capacity");
    field.set(link, std::string(256, 'q'));
    EXPECT_EQ("Texte trop long (plus de 255 caract\xE8res).", Message([&] { link.WriteLink(); }));
    EXPECT_FALSE(platform_.Files().FileExists(link.FileName()));
    ExpectComBalanced();

    field.set(link, std::string(255, 'q'));
    link.WriteLink();
    auto stored = Stored(link.FileName());
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::string(255, 'q'), (*stored).*field.stored);
    platform_.Files().DeleteFileA(link.FileName());
  }
}

}  // namespace
}  // namespace ombrix
