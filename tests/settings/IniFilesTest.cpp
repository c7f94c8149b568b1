// The INI accessor, the settings file choice and the text wrapping, over both backends.

#include <iterator>

#include "settings/IniFiles.h"
#include "tests/settings/SettingsFixture.h"

namespace ombrix::settingstest {
namespace {

class IniFile : public SettingsTest {
 protected:
  std::string FileWith(const std::string& name, const std::string& bytes) {
    const std::string path = InFolder(name);
    EXPECT_TRUE(Files().WriteFileBytes(path, bytes));
    return path;
  }
  std::string Contents(const std::string& path) {
    std::string bytes;
    Files().ReadFileBytes(path, bytes);
    return bytes;
  }
};

TEST_F(IniFile, NumbersAreDecimalOrHexAndAnythingElseIsTheDefault) {
  struct Case {
    const char* text;
    std::int32_t number;  // ReadInteger with the default 77
    bool withFalse;       // ReadBool with the default false
  };
  const Case cases[] = {
      {"0x1A", 26, true},
      {"0X1a", 26, true},
      {"-5", -5, true},
      {"+7", 7, true},
      {"  42  ", 42, true},
      {"0", 0, false},
      {"0x0", 0, false},
      {"0xFFFFFFFF", -1, true},
      {"-2147483648", -2147483647 - 1, true},
      {"12abc", 77, false},
      {"0x", 77, false},
      {"0xZZ", 77, false},
      {"0x100000000", 77, false},
      {"2147483648", 77, false},
      {"4.5", 77, false},
      {"yes", 77, false},
      {"", 77, false},
  };
  std::string body = "[S]\r\n";
  for (size_t i = 0; i < std::size(cases); ++i) body += "k" + std::to_string(i) + "=" + cases[i].text + "\r\n";
  TIniFile ini(*platform_, FileWith("numbers.ini", body + "long=" + std::string(2000, 'x') + "\r\n"));
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].number, ini.ReadInteger("S", "k" + std::to_string(i), 77)) << "'" << cases[i].text << "'";
    EXPECT_EQ(cases[i].withFalse, ini.ReadBool("S", "k" + std::to_string(i), false)) << "'" << cases[i].text << "'";
  }
  EXPECT_EQ(77, ini.ReadInteger("S", "missing", 77));
  EXPECT_TRUE(ini.ReadBool("S", "missing", true));
  EXPECT_EQ(std::string(1023, 'x'), ini.ReadString("S", "long", "")) << "read through 1024 characters";
}

TEST_F(IniFile, WritesDeletesAndNamesTheFileWhenAWriteFails) {
  const std::string path = InFolder("write.ini");
  TIniFile ini(*platform_, path);
  EXPECT_FALSE(Files().FileExists(path)) << "creating the accessor touches nothing";
  ini.WriteInteger("S", "Int", -12);
  ini.WriteBool("S", "Yes", true);
  ini.WriteBool("S", "No", false);
  ini.DeleteKey("S", "Yes");
  ini.DeleteKey("S", "Never there");
  EXPECT_EQ("[S]\r\nInt=-12\r\nNo=0\r\n", Contents(path));

  const std::string nowhere = folder_ + "no such folder\\x.ini";
  TIniFile broken(*platform_, nowhere);
  try {
    broken.WriteBool("S", "k", true);
    ADD_FAILURE() << "the write into a missing folder succeeded";
  } catch (const EIniFileException& error) {
    EXPECT_EQ("Unable to write to " + nowhere, error.Message());
  }
  broken.DeleteKey("S", "k");  // reports nothing
}

TEST(QuotedText, EncodesAndDecodes) {
  struct Case {
    const char *text, *encoded;
  };
  const Case cases[] = {
      {"", "\"\""},
      {"say \"hi\"\r\nnext line\n", "\"say \x02hi\x02\x03\x04next line\x04\""},
      {"\"", "\"\x02\""},
  };
  for (const Case& c : cases) {
    const std::string encoded = c.encoded;
    EXPECT_EQ(encoded, EncodeQuoted(c.text)) << c.text;
    EXPECT_EQ(c.text, DecodeQuoted(encoded)) << c.text;
    EXPECT_EQ(c.text, DecodeQuoted(encoded.substr(1, encoded.size() - 2))) << c.text << " without the outer quotes";
  }
  EXPECT_EQ("", DecodeQuoted("\""));
  EXPECT_EQ("a\"b", DecodeQuoted("\"a\"b"));
}

TEST_F(IniFile, WrappedTextSurvivesTheProfileCalls) {
  TIniFile ini(*platform_, InFolder("wrapped.ini"));
  const std::string texts[] = {
      "C:\\Program Files\\\"Quoted\"\\App.exe",
      "Window\r\nwith two lines",
      "  blanks around  ",
      "\tTab",
      "'single'",
      "Caf\xE9 na\xEFve \xC0\xFF",
      ";not a comment",
      "[not a section]",
      "",
  };
  for (size_t i = 0; i < std::size(texts); ++i) {
    ini.WriteString("AppSettings", "Text" + std::to_string(i), EncodeQuoted(texts[i]));
  }
  for (size_t i = 0; i < std::size(texts); ++i) {
    EXPECT_EQ(texts[i], DecodeQuoted(ini.ReadString("AppSettings", "Text" + std::to_string(i), "\x01")));
  }
}

class SettingsIniChoice : public IniFile {
 protected:
  void SetUp() override {
    IniFile::SetUp();
    const std::string module = Files().GetModuleFileNameA();
    besideProgram_ = module.substr(0, module.rfind('.')) + ".ini";
    bareName_ = besideProgram_.substr(besideProgram_.rfind('\\') + 1);
    windowsCopy_ = WindowsDirectory(*platform_) + "\\" + bareName_;
    for (const std::string& file : {besideProgram_, windowsCopy_}) {
      Files().DeleteFileA(file);
      RemoveAfterwards(file);
    }
    currentFolder_ = Files().GetCurrentDirectoryA();
  }
  void TearDown() override {
    Files().SetCurrentDirectoryA(currentFolder_);
    IniFile::TearDown();
  }
  std::string besideProgram_, bareName_, windowsCopy_, currentFolder_;
};

TEST_F(SettingsIniChoice, WithNoFileAnywhereTheFileBesideTheProgramIsCreated) {
  std::unique_ptr<TIniFile> ini = OpenSettingsIni(*platform_);
  EXPECT_EQ(besideProgram_, ini->FileName());
  EXPECT_EQ("[FlushCache]\r\nFlush=Flush\r\n", Contents(besideProgram_));
}

TEST_F(SettingsIniChoice, AFileFoundInTheCurrentFolderIsTheOneUsed) {
  // A file of the same name in the Windows folder must not be the one read or written.
  ASSERT_TRUE(Files().WriteFileBytes(windowsCopy_, "[AppSettings]\r\nFilename1=windows folder\r\n"));
  FileWith(bareName_, "[AppSettings]\r\nFilename1=current folder\r\n");
  ASSERT_TRUE(Files().SetCurrentDirectoryA(folder_));
  std::unique_ptr<TIniFile> ini = OpenSettingsIni(*platform_);
  ASSERT_TRUE(Files().SetCurrentDirectoryA(currentFolder_));
  EXPECT_EQ("current folder", ini->ReadString("AppSettings", "Filename1", ""));
  EXPECT_EQ("Flush", ini->ReadString("FlushCache", "Flush", ""));
  EXPECT_EQ("[AppSettings]\r\nFilename1=windows folder\r\n", Contents(windowsCopy_));
  EXPECT_FALSE(Files().FileExists(besideProgram_));

  // Once the file beside the program exists, it comes first.
  ASSERT_TRUE(Files().WriteFileBytes(besideProgram_, "[AppSettings]\r\nFilename1=beside\r\n"));
  ASSERT_TRUE(Files().SetCurrentDirectoryA(folder_));
  EXPECT_EQ("beside", OpenSettingsIni(*platform_)->ReadString("AppSettings", "Filename1", ""));
}

}  // namespace
}  // namespace ombrix::settingstest
