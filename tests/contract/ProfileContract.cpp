// What the profile (INI) calls must do, on both backends. Whole files are compared only
// where they start canonical: wine rewrites a file it changes, Windows keeps its bytes.

#include "tests/contract/ContractFixture.h"

namespace ombrix::contract {
namespace {

class ProfileContract : public ContractTest {
 protected:
  std::string File(const std::string& name, const std::string& bytes) {
    std::string path = InFolder(name);
    EXPECT_TRUE(Files().WriteFileBytes(path, bytes));
    return path;
  }
  std::string Read(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& fallback = "default", DWORD size = 1024) {
    std::string out;
    const DWORD copied = Profile().GetPrivateProfileStringA(section, key, fallback, size, out, path);
    EXPECT_EQ(out.size(), copied);
    return out;
  }
  std::string Contents(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(Files().ReadFileBytes(path, bytes));
    return bytes;
  }
};

TEST_F(ProfileContract, ReadsFollowTheProfileRules) {
  const std::string body =
      "[section1]\n"
      "name1=val1\n"
      "name2=\"val2\"\n"
      "  spaced  =   inner  blanks   \n"
      "quoted2='single'\n"
      "mismatched=\"open\n"
      "inline=v ;x\n"
      "empty=\n"
      "dup=first\n"
      "dup=second\n"
      "[ section2 ]\n"
      "Name1=other\n";
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  };
  const Case cases[] = {
      {"section1", "name1", "val1"},           {"SECTION1", "NAME1", "val1"},     {"section1", "name2", "val2"},
      {"section1", "spaced", "inner  blanks"}, {"section1", "quoted2", "single"}, {"section1", "mismatched", "\"open"},
      {"section1", "inline", "v ;x"},          {"section1", "empty", ""},         {"section1", "dup", "first"},
      {"section1", "missing", "default"},      {"section2", "name1", "other"},    {"nosection", "name1", "default"},
  };
  for (const char* ending : {"\r\n", "\r", "\n"}) {
    std::string converted;
    for (char c : body) converted += c == '\n' ? std::string(ending) : std::string(1, c);
    const std::string path = File("read.ini", converted);
    for (const Case& c : cases) {
      EXPECT_EQ(c.expected, Read(path, c.section, c.key))
          << c.section << "/" << c.key << " with ending " << (ending[0] == '\r' ? (ending[1] ? "CRLF" : "CR") : "LF");
    }
  }
}

TEST_F(ProfileContract, MissingFileGivesTheDefaultWithoutTrailingSpaces) {
  const std::string path = InFolder("absent.ini");
  EXPECT_EQ("one two", Read(path, "s", "k", "one two  "));
  EXPECT_EQ("\tx", Read(path, "s", "k", "\tx"));
  EXPECT_FALSE(Files().FileExists(path)) << "reading never creates the file";
}

TEST_F(ProfileContract, ResultIsCutToTheBuffer) {
  const std::string path = File("cut.ini", "[s]\r\nk=val1\r\n");
  EXPECT_EQ("val", Read(path, "s", "k", "d", 4));
  EXPECT_EQ("", Read(path, "s", "k", "d", 1));
  std::string out = "untouched";
  EXPECT_EQ(0u, Profile().GetPrivateProfileStringA("s", "k", "d", 0, out, path));
  EXPECT_EQ("untouched", out);
}

TEST_F(ProfileContract, WritingCreatesTheFileAndAppendsInOrder) {
  const std::string path = InFolder("write.ini");
  ASSERT_TRUE(Profile().WritePrivateProfileStringA("App1", std::string("key1"), std::string("string1"), path));
  EXPECT_EQ("[App1]\r\nkey1=string1\r\n", Contents(path));
  ASSERT_TRUE(Profile().WritePrivateProfileStringA("App1", std::string("key2"), std::string("string2"), path));
  ASSERT_TRUE(Profile().WritePrivateProfileStringA("App2", std::string("key3"), std::string("string3"), path));
  ASSERT_TRUE(Profile().WritePrivateProfileStringA("app1", std::string("KEY1"), std::string("changed"), path));
  EXPECT_EQ("[App1]\r\nkey1=changed\r\nkey2=string2\r\n[App2]\r\nkey3=string3\r\n", Contents(path));
  EXPECT_EQ("changed", Read(path, "APP1", "Key1"));
}

TEST_F(ProfileContract, NoValueDeletesTheKeyAndNoKeyTheSection) {
  const std::string path = InFolder("delete.ini");
  ASSERT_TRUE(Profile().WritePrivateProfileStringA("App3", std::string("only"), std::string("1"), path));
  ASSERT_TRUE(Profile().WritePrivateProfileStringA("App4", std::string("a"), std::string("2"), path));
  ASSERT_TRUE(Profile().WritePrivateProfileStringA("App3", std::string("only"), std::nullopt, path));
  EXPECT_EQ("[App3]\r\n[App4]\r\na=2\r\n", Contents(path));
  EXPECT_TRUE(Profile().WritePrivateProfileStringA("App3", std::string("never"), std::nullopt, path));
  ASSERT_TRUE(Profile().WritePrivateProfileStringA("App4", std::nullopt, std::nullopt, path));
  EXPECT_EQ("default", Read(path, "App4", "a"));
}

TEST_F(ProfileContract, WritingIntoAMissingFolderFails) {
  const std::string path = folder_ + "no such folder\\x.ini";
  EXPECT_FALSE(Profile().WritePrivateProfileStringA("s", std::string("k"), std::string("v"), path));
  EXPECT_FALSE(Files().FileExists(path));
}

TEST_F(ProfileContract, ValuesSurviveARoundTripWithQuotesAndHighCharacters) {
  const std::string path = InFolder("roundtrip.ini");
  const std::string value = "\"C:\\Program Files\\Caf\xE9\\app.exe\"";
  ASSERT_TRUE(Profile().WritePrivateProfileStringA("AppSettings", std::string("Filename1"), value, path));
  // The outer quotes are dropped on reading; everything inside comes back byte for byte.
  EXPECT_EQ(value.substr(1, value.size() - 2), Read(path, "AppSettings", "Filename1"));
}

TEST_F(ProfileContract, SectionReadListsTheFirstSectionsLinesHoweverLong) {
  // Past 32K characters the first buffer of the Windows backend is too small.
  std::string many;
  std::vector<std::string> manyLines;
  for (int i = 1; i <= 2000; ++i) {
    manyLines.push_back("Key" + std::to_string(i) + "=value number " + std::to_string(i));
    many += manyLines.back() + "\r\n";
  }
  struct Case {
    const char* label;
    std::string body;
    const char* section;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"lines as listed",
       "[other]\r\nname=no\r\n[Sect]\r\n  name1 =  val 1  \r\nname2=\"quoted\"\r\n; comment=x\r\n"
       "\r\n   \r\nbare line  \r\nempty=\r\nname1=again\r\n[next]\r\nname=no\r\n",
       "SECT",
       {"name1=val 1", "name2=\"quoted\"", "bare line", "empty=", "name1=again"}},
      {"only the first of two sections", "[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n", "s", {"a=1"}},
      {"no such section", "[s]\r\na=1\r\n", "missing", {}},
      {"longer than the first buffer", "[big]\r\n" + many, "big", manyLines},
  };
  for (const Case& c : cases) {
    const std::string path = File("section.ini", c.body);
    EXPECT_EQ(c.expected, Profile().GetPrivateProfileSectionA(c.section, path)) << c.label;
  }
  EXPECT_TRUE(Profile().GetPrivateProfileSectionA("s", InFolder("absent.ini")).empty());
}

}  // namespace
}  // namespace ombrix::contract
