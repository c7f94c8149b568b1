// The shortcut component over both backends: what it writes, the shell object reads back
// (and the bytes say), what the shell writes, it reads; its errors where files fail.

#include <cstdio>
#include <functional>

#include "platform/ShellLinks.h"
#include "platform/ShellLnk.h"
#include "platform/sim/LnkFormat.h"
#include "tests/ShellLinkErrors.h"
#include "tests/contract/ContractFixture.h"
#include "tests/contract/ShellLinksQuirks.h"

namespace ombrix::contract {
namespace {

using sim::DecodeLnk;
using sim::EncodeLnk;
using sim::LnkRecord;

const WORD CtrlAltT = scCtrl | scAlt | 'T';

class ShellLnkContract : public ContractTest {
 protected:
  // A component with every property set, writing to `name` in the scratch folder.
  void Fill(TShellLinkWrapper& link, const std::string& name) {
    link.SetFileName(InFolder(name));
    link.SetTarget("C:\\Program Files\\Ombrix\\Ombrix.exe");
    link.SetArguments("\"C:\\Docs\\todo list.txt\"");
    link.SetDescription("Ombrix: todo list");
    link.SetWorkingDir("C:\\Program Files\\Ombrix");
    TFileIcon icon;
    icon.SetFileName("C:\\Docs\\notes.ico");
    icon.SetIconIndex(4);
    link.SetFileIcon(icon);
    link.SetWindowState(wsMinimized);
    link.SetHotKey(CtrlAltT);
  }

  std::string Message(const std::function<void()>& action) { return testing::ShellLinkErrorOf(action); }
};

TEST_F(ShellLnkContract, WrittenShortcutReadsBackThroughTheShellObject) {
  TShellLinkWrapper writer(*platform_);
  Fill(writer, "Todo.lnk");
  writer.WriteLink();

  ComScope com(platform_->ShellLinks());
  std::unique_ptr<IShellLinkObject> shell;
  ASSERT_EQ(S_OK, platform_->ShellLinks().CreateShellLink(shell));
  ASSERT_EQ(S_OK, shell->QueryPersistFile());
  ASSERT_EQ(S_OK, shell->Load(writer.FileName()));
  std::string text;
  shell->GetPath(text, MAX_PATH, SLGP_UNCPRIORITY);
  EXPECT_EQ("C:\\Program Files\\Ombrix\\Ombrix.exe", text);
  shell->GetArguments(text, MAX_PATH);
  EXPECT_EQ("\"C:\\Docs\\todo list.txt\"", text);
  shell->GetWorkingDirectory(text, MAX_PATH);
  EXPECT_EQ("C:\\Program Files\\Ombrix", text);
  shell->GetDescription(text, MAX_PATH);
  EXPECT_EQ("Ombrix: todo list", text);
  int index = 0;
  shell->GetIconLocation(text, MAX_PATH, index);
  EXPECT_EQ("C:\\Docs\\notes.ico", text);
  EXPECT_EQ(4, index);
  WORD hotKey = 0;
  shell->GetHotkey(hotKey);
  EXPECT_EQ(0x0600 | 'T', hotKey) << "Ctrl (2) and Alt (4) in the high byte";
  int showCommand = 0;
  shell->GetShowCmd(showCommand);
  if (!ShellIgnoresStoredShowCommand()) {
    EXPECT_EQ(SW_SHOWMINNOACTIVE, showCommand);
  }

  // And the bytes on disk hold the same, whatever shell reads them.
  std::string bytes, error;
  ASSERT_TRUE(Files().ReadFileBytes(writer.FileName(), bytes));
  auto stored = DecodeLnk(bytes, error);
  ASSERT_TRUE(stored) << error;
  EXPECT_EQ(SW_SHOWMINNOACTIVE, stored->showCommand);
  EXPECT_EQ(0x0654, stored->hotKey);
  EXPECT_EQ("C:\\Program Files\\Ombrix\\Ombrix.exe", stored->targetPath);
}

TEST_F(ShellLnkContract, EveryPropertySurvivesWriteThenRead) {
  const struct {
    TWindowState state;
    int stored;
  } states[] = {{wsNormal, SW_SHOWNORMAL}, {wsMinimized, SW_SHOWMINNOACTIVE}, {wsMaximized, SW_SHOWMAXIMIZED}};
  for (const auto& state : states) {
    SCOPED_TRACE(state.stored);
    TShellLinkWrapper writer(*platform_);
    Fill(writer, "Round.lnk");
    writer.SetWindowState(state.state);
    writer.WriteLink();

    TShellLinkWrapper reader(*platform_);
    reader.SetFileName(writer.FileName());
    reader.ReadLink();
    EXPECT_EQ(writer.Target(), reader.Target());
    EXPECT_EQ(writer.Arguments(), reader.Arguments());
    EXPECT_EQ(writer.Description(), reader.Description());
    EXPECT_EQ(writer.WorkingDir(), reader.WorkingDir());
    EXPECT_EQ("C:\\Docs\\notes.ico", reader.FileIcon().FileName());
    EXPECT_EQ(4, reader.FileIcon().IconIndex());
    EXPECT_EQ(CtrlAltT, reader.HotKey());
    if (!ShellIgnoresStoredShowCommand()) {
      EXPECT_EQ(state.state, reader.WindowState());
    }

    std::string bytes, error;
    ASSERT_TRUE(Files().ReadFileBytes(writer.FileName(), bytes));
    auto stored = DecodeLnk(bytes, error);
    ASSERT_TRUE(stored) << error;
    EXPECT_EQ(state.stored, stored->showCommand);
  }
}

// Shortcuts made by other programs: stored show commands and hot-key flags as they come.
TEST_F(ShellLnkContract, ReadsForeignShowCommandsAndHotKeys) {
  const struct {
    int showCommand;
    TWindowState expectedState;
    WORD hotKey;
    WORD expectedShortcut;
  } cases[] = {
      {SW_SHOWMINIMIZED, wsNormal, 0x0154, scShift | 'T'},
      {SW_SHOWMAXIMIZED, wsMaximized, 0x0270, scCtrl | 0x70},
      {SW_SHOWMINNOACTIVE, wsMinimized, 0x0F41, scShift | scCtrl | scAlt | 'A'},  // HOTKEYF_EXT dropped
      {SW_SHOWNORMAL, wsNormal, 0, 0},
  };
  for (const auto& sample : cases) {
    SCOPED_TRACE(sample.showCommand);
    LnkRecord record;
    record.targetPath = "C:\\Tools\\tool.exe";
    record.showCommand = sample.showCommand;
    record.hotKey = sample.hotKey;
    const std::string file = InFolder("foreign.lnk");
    ASSERT_TRUE(Files().WriteFileBytes(file, EncodeLnk(record)));

    TShellLinkWrapper reader(*platform_);
    reader.SetFileName(file);
    reader.ReadLink();
    EXPECT_EQ("C:\\Tools\\tool.exe", reader.Target());
    EXPECT_EQ(sample.expectedShortcut, reader.HotKey());
    if (!ShellIgnoresStoredShowCommand()) {
      EXPECT_EQ(sample.expectedState, reader.WindowState());
    }
  }
}

TEST_F(ShellLnkContract, FailuresCarryTheComponentsMessages) {
  TShellLinkWrapper link(*platform_);
  link.SetFileName(folder_ + "absent.lnk");
  EXPECT_EQ("Lien non trouv\xE9.", Message([&] { link.ReadLink(); }));

  const std::string corrupt = InFolder("corrupt.lnk");
  ASSERT_TRUE(Files().WriteFileBytes(corrupt, std::string("L\0\0\0 not really a shortcut", 27)));
  link.SetFileName(corrupt);
  EXPECT_EQ("Erreur en lecture.", Message([&] { link.ReadLink(); }));

  link.SetFileName(folder_ + "no such folder\\Tool.lnk");
  link.SetTarget("C:\\Tools\\tool.exe");
  EXPECT_EQ(
      "Erreur en \xE9"
      "criture.",
      Message([&] { link.WriteLink(); }));
}

TEST_F(ShellLnkContract, OverlongTextIsRefusedAndNothingIsWritten) {
  const std::string file = InFolder("Long.lnk");
  const std::string before = "an older shortcut";
  ASSERT_TRUE(Files().WriteFileBytes(file, before));
  TShellLinkWrapper link(*platform_);
  Fill(link, "Long.lnk");
  link.SetArguments(std::string(256, 'a'));
  EXPECT_EQ("Texte trop long (plus de 255 caract\xE8res).", Message([&] { link.WriteLink(); }));
  std::string bytes;
  ASSERT_TRUE(Files().ReadFileBytes(file, bytes));
  EXPECT_EQ(before, bytes);

  // 255 characters are a shortcut's full capacity and pass whole.
  link.SetArguments(std::string(255, 'a'));
  link.WriteLink();
  TShellLinkWrapper reader(*platform_);
  reader.SetFileName(file);
  reader.ReadLink();
  EXPECT_EQ(std::string(255, 'a'), reader.Arguments());
}

}  // namespace
}  // namespace ombrix::contract
