// The control center's window and its shortcut page over the simulated desktop: the checks
// of the fields, the shortcut files written, and the test run of a shortcut.

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "center/ControlCenter.h"
#include "controls/sim/SimFormHost.h"
#include "platform/sim/LnkFormat.h"

namespace ombrix {
namespace {

using sim::SimFormUser;

const char* const ShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const HubFile = "C:\\Program Files\\Ombrix\\OmbrixHub.exe";
const char* const OmbrixFile = "C:\\Program Files\\Ombrix\\Ombrix.Exe";
const char* const Title = "Vorel Ombrix - Control Center";

class ShortcutPageTest : public ::testing::Test {
 protected:
  ShortcutPageTest() : host_(platform_) {
    platform_.SimFiles().SetModuleFileName(HubFile);
    for (const auto& [name, path] :
         {std::pair{"Desktop", "C:\\Users\\Ann\\Desktop"}, std::pair{"Start Menu", "C:\\Users\\Ann\\Start Menu"},
          std::pair{"Startup", "C:\\Users\\Ann\\Startup"}}) {
      platform_.SimFiles().MakeDirectories(path);
      HKEY key = nullptr;
      platform_.Registry().RegCreateKeyExA(HKEY_CURRENT_USER, ShellFolders, KEY_ALL_ACCESS, key, nullptr);
      std::vector<BYTE> data(path, path + std::string(path).size() + 1);
      platform_.Registry().RegSetValueExA(key, name, REG_SZ, data);
      platform_.Registry().RegCloseKey(key);
    }
    platform_.SimFiles().MakeDirectories(platform_.Files().GetTempPathA());
  }

  // Fills the page as the user types, then clicks a button of it.
  void FillAndClick(const std::string& name, const std::string& file, const std::string& arguments, int location,
                    const std::string& button) {
    host_.OnNextShow([&](SimFormUser& user) {
      user.Type("ebxDescription", name);
      user.Type("ebxFilename", file);
      user.Type("ebxParameters", arguments);
      user.Select("cbLocation", location);
      EXPECT_TRUE(user.Click(button));
      user.Click("btnExit");
    });
    host_.ShowModal(form_, nullptr);
  }

  std::optional<sim::LnkRecord> Stored(const std::string& file) {
    std::string bytes, error;
    if (!platform_.Files().ReadFileBytes(file, bytes)) return std::nullopt;
    return sim::DecodeLnk(bytes, error);
  }

  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& box : platform_.SimBoxes().Boxes()) {
      EXPECT_EQ(Title, box.caption);
      EXPECT_EQ(static_cast<UINT>(MB_OK), box.type);
      texts.push_back(box.text);
    }
    return texts;
  }

  sim::SimPlatform platform_;
  sim::SimFormHost host_;
  TfrmMain form_{platform_, host_};
};

TEST_F(ShortcutPageTest, FieldsAreCheckedInOrder) {
  const std::string characters =
      "Shortcut names can't contain any of the following characters:\r\n                / \\ : * ? \" < > |";
  const struct {
    std::string name, file, expected;
  } cases[] = {
      {"", "", "Shortcut Name can not be empty"},
      {"Notes", "", "Shortcut Filename can not be empty"},
      {"a:b", "C:\\Tools\\Ombrix.exe",
       "Ombrix can not minimize itself.\r\nYou must enter a destination filename.\r\n"
       "For example, Filename: \"C:\\MyTextFile.txt\"."},
      {"a:b", "C:\\x.txt", characters},
      {"a/b", "C:\\x.txt", characters},
      {"a|b", "C:\\x.txt", characters},
      {"a\"b", "C:\\x.txt", characters},
      {"a\\b", "C:\\x.txt", characters},
      {"a*b", "C:\\x.txt", characters},
      {"a?b", "C:\\x.txt", characters},
      {"a<b", "C:\\x.txt", characters},
      {"a>b", "C:\\x.txt", characters},
      // Only the exact spelling is Ombrix itself; control characters and the upper half pass.
      {"Notes", "C:\\Tools\\ombrix.exe", ""},
      {"Caf\xE9", "C:\\x.txt", ""},
      {"Tab\x01", "C:\\x.txt", ""},
  };
  for (const auto& c : cases) {
    const std::size_t before = platform_.SimBoxes().Boxes().size();
    FillAndClick(c.name, c.file, "", 0, "btnCreateShortcut");
    const auto messages = Messages();
    if (c.expected.empty()) {
      EXPECT_EQ(before, messages.size()) << c.name << " refused";
    } else {
      ASSERT_EQ(before + 1, messages.size()) << c.name;
      EXPECT_EQ(c.expected, messages.back()) << c.name;
    }
  }
  EXPECT_FALSE(platform_.Files().FileExists("C:\\Users\\Ann\\Desktop\\a:b.lnk"));
}

TEST_F(ShortcutPageTest, ShortcutsStartOmbrixWithTheTarget) {
  const struct {
    std::string name, file, arguments;
    int location;
    std::string written, expectedArguments;
  } cases[] = {
      {"Notes", "C:\\Docs\\todo.txt", "", 6, "C:\\Users\\Ann\\Start Menu\\Notes.lnk", "C:\\Docs\\todo.txt"},
      {"Notes.LNK", "C:\\My Files\\a.txt", "-x", 6, "C:\\Users\\Ann\\Start Menu\\Notes.LNK",
       "\"C:\\My Files\\a.txt\" -x"},
      {"My.App", "C:\\Tools\\app.exe", "-x  -y", 0, "C:\\Users\\Ann\\Desktop\\My.App.lnk", "C:\\Tools\\app.exe -x  -y"},
      {"Spaced", "C:\\My Files\\b.txt", "", 0, "C:\\Users\\Ann\\Desktop\\Spaced.lnk", "\"C:\\My Files\\b.txt\""},
      // The Startup folder's are named after the program, so that the two stay side by side.
      {"Notes", "C:\\Windows\\notepad.exe", "", 7, "C:\\Users\\Ann\\Startup\\notepad.lnk", "C:\\Windows\\notepad.exe"},
      {"Notes", "C:\\Tools\\my.tool.exe", "-x", 7, "C:\\Users\\Ann\\Startup\\my.tool.lnk", "C:\\Tools\\my.tool.exe -x"},
  };
  for (const auto& c : cases) {
    FillAndClick(c.name, c.file, c.arguments, c.location, "btnCreateShortcut");
    const auto record = Stored(c.written);
    ASSERT_TRUE(record) << c.written;
    // Ombrix with the target as its first argument; the icon file is never quoted.
    using Fields = std::tuple<std::string, std::string, std::string, INT, std::string, std::string, INT>;
    EXPECT_EQ(Fields(OmbrixFile, c.expectedArguments, c.file, 0, "", "", SW_SHOWNORMAL),
              Fields(record->targetPath, record->arguments, record->iconLocation, record->iconIndex, record->workingDir,
                     record->description, record->showCommand))
        << c.name;
  }
  EXPECT_TRUE(Stored("C:\\Users\\Ann\\Startup\\notepad.lnk")) << "replaced by the second program's";
  EXPECT_FALSE(platform_.Files().FileExists("C:\\Users\\Ann\\Startup\\Notes.lnk"));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ShortcutPageTest, TestingLeavesNothingBehindWhateverTheShellAnswers) {
  for (INT_PTR answer : {INT_PTR{42}, INT_PTR{0}, INT_PTR{2}, INT_PTR{31}, INT_PTR{12}}) {
    platform_.SimTray().AnswerNextShellExecute(answer);
    const std::size_t before = platform_.SimBoxes().Boxes().size();
    FillAndClick("Notes", "C:\\Docs\\todo.txt", "", 0, "btnTestThisShortCut");
    const auto& call = platform_.SimTray().ExecuteCalls().back();
    EXPECT_EQ("open", call.verb);
    EXPECT_EQ(SW_SHOW, call.showCommand);
    ASSERT_GT(call.file.size(), 4u);
    EXPECT_EQ(".LNK", call.file.substr(call.file.size() - 4));
    EXPECT_EQ(0u, call.file.rfind(platform_.Files().GetTempPathA() + "OBX", 0)) << call.file;
    EXPECT_FALSE(platform_.Files().FileExists(call.file)) << "the shortcut is deleted at once";
    const std::string placeholder = call.file.substr(0, call.file.size() - 4) + ".TMP";
    EXPECT_FALSE(platform_.Files().FileExists(placeholder)) << "the placeholder is removed too";
    const auto messages = Messages();
    if (answer > 32) {
      EXPECT_EQ(before, messages.size());
    } else {
      ASSERT_EQ(before + 1, messages.size());
      EXPECT_EQ(ShellExecuteErrorText(answer), messages.back());
    }
  }
  EXPECT_FALSE(platform_.Files().FileExists("C:\\Users\\Ann\\Desktop\\Notes.lnk")) << "a test creates no shortcut";
}

TEST(ShellExecuteErrorText, ReasonThenNumber) {
  EXPECT_EQ("The specified file was not found.\r\n(Error # 2)", ShellExecuteErrorText(2));
  EXPECT_EQ("The operating system is out of memory or resources\r\n(Error # 0)", ShellExecuteErrorText(0));
  EXPECT_EQ("The specified dynamic-link library was not found.\r\n(Error # 32)", ShellExecuteErrorText(32));
  EXPECT_EQ("Unknown error\r\n(Error # 12)", ShellExecuteErrorText(12));
}

}  // namespace
}  // namespace ombrix
