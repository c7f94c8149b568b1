// What the programs' code page changes in the system's ...A calls. Both programs carry the
// manifest's UTF-8 entry, so every text they pass and get back is UTF-8: these tests run
// natively over a simulated desktop switched to UTF-8, and under wine in a test program that
// carries the programs' manifest.

#include <functional>

#include "platform/ShellLinks.h"
#include "platform/ShellLnk.h"
#include "settings/IniFiles.h"
#include "settings/RegistryEnhanced.h"
#include "tests/ShellLinkErrors.h"
#include "tests/contract/ContractFixture.h"
#include "tests/contract/TargetProgram.h"

namespace ombrix::contract {
namespace {

// Japanese of three bytes a character, Greek of two, an emoji of four (two UTF-16 units).
const std::string Nihongo = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
const std::string Ellinika = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";
const std::string Smile = "\xF0\x9F\x98\x80";

std::string Repeat(const std::string& text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

class Utf8Contract : public ContractTest {
 protected:
  void SetUp() override {
    ContractTest::SetUp();
    UseTheProgramsCodePage(*platform_);
    ASSERT_EQ(CP_UTF8, platform_->CodePages().GetACP()) << "the test program does not run in UTF-8";
  }
  void TearDown() override {
    EndProgram(*platform_, started_);
    ContractTest::TearDown();
  }
  ICodePages& CodePages() { return platform_->CodePages(); }
  std::string Contents(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(Files().ReadFileBytes(path, bytes));
    return bytes;
  }

  ProcessInformation started_;
};

TEST_F(Utf8Contract, ConversionsBetweenTheLegacyCodePageUtf8AndUtf16) {
  EXPECT_EQ(CodePageWindows1252, CodePages().LegacyCodePage()) << "the test machines' system locale is Western";
  const struct {
    std::string text;
    UINT from;
    UINT to;
    std::string converted;
  } cases[] = {
      {"Caf\xE9 m\xFC\x80", CodePageWindows1252, CP_UTF8, "Caf\xC3\xA9 m\xC3\xBC\xE2\x82\xAC"},
      {"Caf\xC3\xA9 \xE2\x82\xAC", CP_ACP, CodePageWindows1252, "Caf\xE9 \x80"},
      {"\xE6\x97\xA5" + Smile, CP_UTF8, CodePageUtf16Le, std::string("\xE5\x65\x3D\xD8\x00\xDE", 6)},
      {"Caf\xE9", CP_ACP, CP_UTF8, "Caf\xEF\xBF\xBD"},  // a legacy byte read as UTF-8 is lost
      {"", CodePageWindows1252, CP_UTF8, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.converted, CodePages().ConvertText(c.text, c.from, c.to)) << c.text;
}

TEST_F(Utf8Contract, ProfileReadsUtf8CutOnAWholeCharacterAndLosesLegacyBytes) {
  const std::string file = InFolder("utf8.ini");
  ASSERT_TRUE(Files().WriteFileBytes(file, "[S]\r\nName=" + Nihongo + "\r\nLegacy=Caf\xE9\r\n"));
  const struct {
    DWORD size;
    std::string read;
  } cases[] = {{10, Nihongo},
               {9, Nihongo.substr(0, 6)},
               {7, Nihongo.substr(0, 6)},
               {6, Nihongo.substr(0, 3)},
               {4, Nihongo.substr(0, 3)},
               {3, ""}};
  for (const auto& c : cases) {
    std::string out = "unchanged";
    const DWORD copied = Profile().GetPrivateProfileStringA("S", "Name", "", c.size, out, file);
    EXPECT_EQ(c.read, out) << "in " << c.size << " bytes";
    EXPECT_EQ(out.size(), copied);
  }
  // Why the programs turn an earlier version's file into UTF-8 before they use it.
  std::string out;
  Profile().GetPrivateProfileStringA("S", "Legacy", "", 64, out, file);
  EXPECT_EQ("Caf\xEF\xBF\xBD", out);
}

// A file written by an earlier version, in the legacy code page, canonical as wine writes it
// (wine rewrites a file it changes; Windows changes only the lines it writes).
TEST_F(Utf8Contract, SettingsFileOfAnEarlierVersionIsTurnedIntoUtf8WithEveryLineKept) {
  const std::string legacy =
      "[FlushCache]\r\nFlush=Flush\r\n"
      "[AppSettings]\r\nFilename1=\"C:\\Caf\xE9\\M\xFCller.exe\"\r\nWindowCaption1=\"\xC0 la carte\"\r\n"
      "[Other]\r\nNote=gr\xFC\xDF\r\n";
  const std::string file = InFolder("Ombrix.ini");
  ASSERT_TRUE(Files().WriteFileBytes(file, legacy));
  std::unique_ptr<TIniFile> ini = OpenIniFile(*platform_, file);
  EXPECT_EQ("C:\\Caf\xC3\xA9\\M\xC3\xBCller.exe", ini->ReadString("AppSettings", "Filename1", ""));
  EXPECT_EQ(
      "[FlushCache]\r\nFlush=Flush\r\n"
      "[AppSettings]\r\nFilename1=\"C:\\Caf\xC3\xA9\\M\xC3\xBCller.exe\"\r\nWindowCaption1=\"\xC3\x80 la carte\"\r\n"
      "[Other]\r\nNote=gr\xC3\xBC\xC3\x9F\r\n",
      Contents(file));

  // A file already in UTF-8, ASCII or not, keeps its bytes; so does one opened a second time.
  for (const std::string& bytes :
       {std::string("[FlushCache]\r\nFlush=Flush\r\n[AppSettings]\r\nFilename1=\"C:\\Notes\\notes.exe\"\r\n"),
        "[FlushCache]\r\nFlush=Flush\r\n[AppSettings]\r\nFilename1=\"C:\\" + Nihongo + "\\" + Smile + ".exe\"\r\n"}) {
    ASSERT_TRUE(Files().WriteFileBytes(file, bytes));
    OpenIniFile(*platform_, file);
    EXPECT_EQ(bytes, Contents(file));
  }
}

// The same five UTF-16 units as the Windows-1252 "Caf\xE9" of the registry's own contract.
TEST_F(Utf8Contract, RegistryStringsAndKeyNamesAreUtf16Inside) {
  ExpectStringKeptInUtf16(std::string("Caf\xC3\xA9\0", 6), 5);

  // Key names too: the longest is counted in UTF-16 units, which take up to three bytes each.
  HKEY deep = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            Reg().RegCreateKeyExA(root_, "Tree\\" + Nihongo + "\\" + Smile, KEY_ALL_ACCESS, deep, nullptr));
  Reg().RegCloseKey(deep);
  TRegistryEnhanced registry(*platform_);
  registry.Key = scratchKey_;
  registry.DeleteKey("Tree");
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegOpenKeyExA(root_, "Tree", KEY_READ, deep)) << "the whole tree deleted";
}

// Wine's CompareString does not fold Greek letter case as Windows does; the order of letters
// of one script is what both agree on.
TEST_F(Utf8Contract, WindowTextIsCutOnAWholeCharacterAndUpperCasedInTheLocale) {
  IWindowOps& windows = platform_->Windows();
  const std::string japanese = Repeat("\xE6\x97\xA5", 100);
  const std::string emoji = "a" + Repeat(Smile, 70);
  ASSERT_TRUE(StartTarget(*platform_, "\"/window=" + japanese + "\" \"/window=" + emoji + "\"", started_));
  std::vector<HWND> shown;
  ASSERT_TRUE(
      WaitUntil(*platform_, [&] { return (shown = WindowsOfProcess(windows, started_.processId)).size() == 2; }));
  EXPECT_EQ(emoji, windows.GetWindowTextA(shown[0], 512));
  EXPECT_EQ(emoji.substr(0, 1 + 4 * 63), windows.GetWindowTextA(shown[0], 255));
  EXPECT_EQ(japanese.substr(0, 3 * 84), windows.GetWindowTextA(shown[1], 255));

  EXPECT_EQ("\xCE\x91\xCE\x92\xCE\xA3 CAF\xC3\x89 " + Nihongo,
            windows.CharUpperBuffA("\xCE\xB1\xCE\xB2\xCF\x83 caf\xC3\xA9 " + Nihongo));
  // Compared as characters, not as the bytes' characters in the legacy code page, where "é"
  // would be "Ã©" before "b" and the Greek omega "Ï‰" before "Z".
  const struct {
    std::string left;
    std::string right;
  } ordered[] = {{"\xCE\xB1", "\xCE\xB2"},
                 {"\xE3\x81\x82", "\xE3\x81\x84"},  // Hiragana a, i
                 {"b", "\xC3\xA9"},
                 {"Z", "\xCF\x89"},
                 {"\xCE\xA9", "\xE6\x97\xA5"}};
  for (const auto& o : ordered) {
    EXPECT_EQ(CSTR_LESS_THAN, windows.CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, o.left, o.right)) << o.left;
    EXPECT_EQ(CSTR_GREATER_THAN, windows.CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, o.right, o.left))
        << o.left;
  }
}

// Fields of up to 255 characters, however many bytes they take in UTF-8, are written and read
// back whole; the refusal of a longer one speaks UTF-8 too.
TEST_F(Utf8Contract, ShortcutsKeepNamesInAnyScript) {
  const std::string target = "C:\\" + Ellinika + " " + Smile + "\\" + Repeat(Nihongo, 30) + ".exe";
  ASSERT_GT(target.size(), 259u);
  TShellLinkWrapper writer(*platform_);
  writer.SetFileName(InFolder(Nihongo + ".lnk"));
  writer.SetTarget(target);
  writer.SetArguments("\"" + Ellinika + ".txt\"");
  writer.SetDescription(Smile + " " + Repeat(Nihongo, 20));
  writer.SetWorkingDir("C:\\" + Ellinika);
  writer.WriteLink();

  TShellLinkWrapper reader(*platform_);
  reader.SetFileName(writer.FileName());
  reader.ReadLink();
  EXPECT_EQ(target, reader.Target());
  EXPECT_EQ(writer.Arguments(), reader.Arguments());
  EXPECT_EQ(writer.Description(), reader.Description());
  EXPECT_EQ(writer.WorkingDir(), reader.WorkingDir());

  writer.SetDescription(Repeat("\xE6\x97\xA5", 256));
  EXPECT_EQ("Texte trop long (plus de 255 caract\xC3\xA8res).", testing::ShellLinkErrorOf([&] { writer.WriteLink(); }));
}

}  // namespace
}  // namespace ombrix::contract
