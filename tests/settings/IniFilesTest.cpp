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
    std::int32_t expected;  // with the default 77
  };
  const Case cases[] = {
      {"0x1A", 26},   {"0X1a", 26},   {"12", 12},        {"-5", -5},
      {"+7", 7},      {"  42  ", 42}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
      {"0xFFFFFFFF", -1},
      {"12abc", 77},  {"0x", 77},     {"0xZZ", 77},      {"0x100000000", 77},
      {"2147483648", 77}, {"4.5", 77}, {"1e3", 77},      {"-", 77},
      {"", 77},       {"$1A", 77},    {"- 5", 77},
  };
  std::string body = "[S]\r\n";
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) body += "k" + std::to_string(i) + "=" + cases[i].text + "\r\n";
  TIniFile ini(*platform_, FileWith("numbers.ini", body));
  for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
    EXPECT_EQ(cases[i].expected, ini.ReadInteger("S", "k" + std::to_string(i), 77)) << "'" << cases[i].text << "'";
  }
  EXPECT_EQ(77, ini.ReadInteger("S", "missing", 77));
  EXPECT_EQ(77, ini.ReadInteger("Missing", "k0", 77));
}

TEST_F(IniFile, BooleansAreNumbersThatAreNotZero) {
  TIniFile ini(*platform_, FileWith("bools.ini", "[S]\r\nzero=0\r\none=1\r\ntwo=2\r\nword=yes\r\nhex=0x0\r\n"));
  struct Case {
    const char* ident;
    bool withFalse;
    bool withTrue;
  };
  const Case cases[] = {
      {"zero", false, false}, {"one", true, true}, {"two", true, true},
      {"word", false, true},  {"hex", false, false}, {"missing", false, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.withFalse, ini.ReadBool("S", c.ident, false)) << c.ident;
    EXPECT_EQ(c.withTrue, ini.ReadBool("S", c.ident, true)) << c.ident;
  }
}

TEST_F(IniFile, WritesAndDeletesKeys) {
  const std::string path = InFolder("write.ini");
  TIniFile ini(*platform_, path);
  EXPECT_FALSE(Files().FileExists(path)) << "creating the accessor touches nothing";
  ini.WriteInteger("S", "Int", -12);
  ini.WriteBool("S", "Yes", true);
  ini.WriteBool("S", "No", false);
  ini.WriteString("S", "Text", "\"quoted\"");
  EXPECT_EQ("[S]\r\nInt=-12\r\nYes=1\r\nNo=0\r\nText=\"quoted\"\r\n", Contents(path));
  EXPECT_EQ("quoted", ini.ReadString("S", "Text", "d")) << "the profile calls drop one pair of quotes";
  ini.DeleteKey("S", "Yes");
  ini.DeleteKey("S", "Never there");
  ini.DeleteKey("No such section", "Int");
  EXPECT_EQ("[S]\r\nInt=-12\r\nNo=0\r\nText=\"quoted\"\r\n", Contents(path));
  EXPECT_EQ("d", ini.ReadString("S", "Yes", "d"));
}

TEST_F(IniFile, ReadsAreCutAt1023Characters) {
  const std::string longValue(2000, 'x');
  TIniFile ini(*platform_, FileWith("long.ini", "[S]\r\nk=" + longValue + "\r\n"));
  EXPECT_EQ(std::string(1023, 'x'), ini.ReadString("S", "k", ""));
}

TEST_F(IniFile, AFailedWriteNamesTheFile) {
  const std::string path = folder_ + "no such folder\\x.ini";
  TIniFile ini(*platform_, path);
  try {
    ini.WriteString("S", "k", "v");
    ADD_FAILURE() << "the write into a missing folder succeeded";
  } catch (const EIniFileException& error) {
    EXPECT_EQ("Unable to write to " + path, error.Message());
  }
  EXPECT_THROW(ini.WriteInteger("S", "k", 1), EIniFileException);
  EXPECT_THROW(ini.WriteBool("S", "k", true), EIniFileException);
  ini.DeleteKey("S", "k");  // reports nothing
}

TEST(QuotedText, EncodesAndDecodes) {
  struct Case {
    const char* text;
    const char* encoded;
  };
  const Case cases[] = {
      {"", "\"\""},
      {"plain", "\"plain\""},
      {"say \"hi\"\r\nnext line\n", "\"say \x02hi\x02\x03\x04next line\x04\""},
      {"  blanks  ", "\"  blanks  \""},
      {"\"", "\"\x02\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.encoded, EncodeQuoted(c.text)) << c.text;
    const std::string encoded = c.encoded;
    EXPECT_EQ(c.text, DecodeQuoted(encoded)) << c.text;
    EXPECT_EQ(c.text, DecodeQuoted(encoded.substr(1, encoded.size() - 2))) << c.text << " without the outer quotes";
  }
  EXPECT_EQ("", DecodeQuoted("\""));
  EXPECT_EQ("", DecodeQuoted(""));
  EXPECT_EQ("abc", DecodeQuoted("\"abc"));
  EXPECT_EQ("abc", DecodeQuoted("abc\""));
  EXPECT_EQ("a\"b", DecodeQuoted("a\"b"));
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
      "=equals=",
      ";not a comment",
      "[not a section]",
      "",
  };
  int i = 0;
  for (const std::string& text : texts) ini.WriteString("AppSettings", "Text" + std::to_string(i++), EncodeQuoted(text));
  i = 0;
  for (const std::string& text : texts) {
    EXPECT_EQ(text, DecodeQuoted(ini.ReadString("AppSettings", "Text" + std::to_string(i++), "\x01"))) << text;
  }
}

class SettingsIniChoice : public IniFile {
 protected:
  void SetUp() override {
    IniFile::SetUp();
    module_ = Files().GetModuleFileNameA();
    besideProgram_ = module_.substr(0, module_.rfind('.')) + ".ini";
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
  std::string module_, besideProgram_, bareName_, windowsCopy_, currentFolder_;
};

TEST_F(SettingsIniChoice, WithNoFileAnywhereTheFileBesideTheProgramIsCreated) {
  std::unique_ptr<TIniFile> ini = OpenSettingsIni(*platform_);
  EXPECT_EQ(besideProgram_, ini->FileName());
  EXPECT_EQ("[FlushCache]\r\nFlush=Flush\r\n", Contents(besideProgram_));
}

TEST_F(SettingsIniChoice, TheFileBesideTheProgramComesFirst) {
  ASSERT_TRUE(Files().WriteFileBytes(besideProgram_, "[AppSettings]\r\nFilename1=beside\r\n"));
  const std::string local = FileWith(bareName_, "[AppSettings]\r\nFilename1=current folder\r\n");
  ASSERT_TRUE(Files().SetCurrentDirectoryA(folder_));
  std::unique_ptr<TIniFile> ini = OpenSettingsIni(*platform_);
  EXPECT_EQ(besideProgram_, ini->FileName());
  EXPECT_EQ("beside", ini->ReadString("AppSettings", "Filename1", ""));
  EXPECT_EQ("[AppSettings]\r\nFilename1=current folder\r\n", Contents(local));
}

TEST_F(SettingsIniChoice, AFileFoundInTheCurrentFolderIsTheOneUsed) {
  // A file of the same name in the Windows folder must not be the one read or written: the
  // file that was found is in the current folder.
  ASSERT_TRUE(Files().WriteFileBytes(windowsCopy_, "[AppSettings]\r\nFilename1=windows folder\r\n"));
  const std::string local = FileWith(bareName_, "[AppSettings]\r\nFilename1=current folder\r\n");
  ASSERT_TRUE(Files().SetCurrentDirectoryA(folder_));
  std::unique_ptr<TIniFile> ini = OpenSettingsIni(*platform_);
  EXPECT_EQ("current folder", ini->ReadString("AppSettings", "Filename1", ""));
  EXPECT_EQ("Flush", ini->ReadString("FlushCache", "Flush", ""));
  EXPECT_EQ("[AppSettings]\r\nFilename1=windows folder\r\n", Contents(windowsCopy_));
  EXPECT_FALSE(Files().FileExists(besideProgram_));
  // The name stays right when the current folder changes later.
  ASSERT_TRUE(Files().SetCurrentDirectoryA(currentFolder_));
  EXPECT_EQ("current folder", ini->ReadString("AppSettings", "Filename1", ""));
}

}  // namespace
}  // namespace ombrix::settingstest
