// The settings store component, over both backends.

#include <cstring>

#include "tests/settings/SettingsFixture.h"

namespace ombrix::settingstest {
namespace {

using RegistryStore = SettingsTest;

TEST(RegistryStorePaths, NormalizeKeyKeyPartAndValuePart) {
  struct Case {
    const char *input, *normalized, *keyPart, *valuePart;
  };
  const Case cases[] = {
      {"\\Software\\X\\", "Software\\X", "\\Software", "X"},
      {"A\\\\B\\\\V\\", "A\\\\B\\\\V", "\\A\\B", "V"},
      {"V", "V", "", "V"},
      {"\\V", "V", "", "\\V"},
      {"\\", "", "", "\\"},
      {"", "", "", ""},
  };
  auto platform = MakePlatform();
  TRegistryEnhanced store(*platform);
  for (const Case& c : cases) {
    EXPECT_EQ(c.normalized, TRegistryEnhanced::NormalizeKey(c.input)) << c.input;
    EXPECT_EQ(c.keyPart, store.KeyPart(c.input)) << c.input;
    EXPECT_EQ(c.valuePart, store.ValuePart(c.input)) << c.input;
  }
}

TEST_F(RegistryStore, ValuesAreStoredWithTheirRegistryTypes) {
  const double number = 3.25;
  std::vector<BYTE> numberBytes(8);
  std::memcpy(numberBytes.data(), &number, 8);
  struct Case {
    const char* name;
    TVariant value;
    DWORD type;
    std::vector<BYTE> data;
    TVariant readBack;  // binary data is never read back (see ReadOpenValue)
  };
  const Case cases[] = {
      {"Negative", TVariant(-2), REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}, TVariant(-2)},
      {"True", TVariant(true), REG_DWORD, {1, 0, 0, 0}, TVariant(1)},
      {"Text", TVariant("a \"b\""), REG_SZ, Bytes(std::string("a \"b\"\0", 6)), TVariant("a \"b\"")},
      {"Double", TVariant(number), REG_BINARY, numberBytes, TVariant()},
      {"Currency", TVariant::FromCurrency(0x0102030405060708LL), REG_BINARY, {8, 7, 6, 5, 4, 3, 2, 1}, TVariant()},
  };
  for (const Case& c : cases) {
    Store().WriteValue(c.name, c.value);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(GetRaw(c.name, type, data)) << c.name;
    EXPECT_EQ(c.type, type) << c.name;
    EXPECT_EQ(c.data, data) << c.name;
    EXPECT_EQ(c.readBack, Store().ReadValue(c.name)) << c.name;
  }
  Store().WriteValue("Nothing", TVariant());
  EXPECT_EQ(5u, RawValueNames().size()) << "an empty value writes nothing";
}

TEST_F(RegistryStore, HostileStoredDataReadsSafely) {
  SetRaw("Unterminated", REG_SZ, Bytes("FullString"));
  SetRaw("EmbeddedNul", REG_SZ, Bytes(std::string("abc\0def\0", 8)));
  SetRaw("ZeroBytes", REG_SZ, {});
  SetRaw("Expand", REG_EXPAND_SZ, Bytes(std::string("%WINDIR%\\x\0", 11)));
  SetRaw("LongDword", REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8});
  SetRaw("Binary300", REG_BINARY, std::vector<BYTE>(300, 0xAB));
  SetRaw("Multi", REG_MULTI_SZ, Bytes(std::string("a\0b\0\0", 5)));
  SetText("Long", std::string(1000, 'x'));
  SetDword("Negative", 0xFFFFFFF9u);
  SetRaw("ShortDword", REG_DWORD, {7, 1});
  const TVariant fallback("fallback");
  struct Case {
    const char* name;
    TVariant read;  // ReadValue; ReadValueDefault gives the same, or the fallback for empty
  };
  const Case cases[] = {
      {"Unterminated", TVariant("FullString")},
      {"EmbeddedNul", TVariant("abc")},
      {"ZeroBytes", TVariant("")},
      {"Expand", TVariant("%WINDIR%\\x")},
      {"Binary300", TVariant()},
      {"Multi", TVariant()},
      {"Missing", TVariant()},
      {"NoKey\\Missing", TVariant()},
      {"Long", TVariant(std::string(1000, 'x'))},
      {"Negative", TVariant(-7)},
      {"ShortDword", TVariant(263)},
  };
  TOpenKeyReader reader(Store());
  for (const Case& c : cases) {
    EXPECT_EQ(c.read, Store().ReadValue(c.name)) << c.name;
    EXPECT_EQ(c.read.IsEmpty() ? fallback : c.read, Store().ReadValueDefault(c.name, fallback)) << c.name;
    EXPECT_EQ(c.read.ToText(), Store().ReadText(c.name)) << c.name;
    if (Store().KeyPart(c.name).empty()) {
      EXPECT_EQ(c.read, reader.ReadValue(c.name)) << c.name << " through one key";
    }
  }
  EXPECT_EQ("", Store().ReadText("LongDword"));
  // Eight bytes do not fit the four of a number: the read fails instead of overrunning.
  for (bool throughOneKey : {false, true}) {
    try {
      throughOneKey ? reader.ReadValue("LongDword") : Store().ReadValue("LongDword");
      ADD_FAILURE() << "a REG_DWORD of 8 bytes was read";
    } catch (const ERegistryException& error) {
      EXPECT_EQ("Failed to get data for 'LongDword'", error.Message());
    }
  }
  EXPECT_EQ(fallback, Store().ReadValueDefault("LongDword", fallback));
}

TEST_F(RegistryStore, AnEmptyKeyTouchesNothing) {
  const std::string probe = "OmbrixSettingsEmptyKeyProbe";
  SetDword("Keep", 1, "Kept");
  Store().Key = "";
  Store().WriteValue(probe, TVariant(7));
  EXPECT_EQ(TVariant(), Store().ReadValueDefault(probe, TVariant(3)));
  Store().DeleteValue(key_ + "\\Kept\\Keep");
  Store().DeleteKey(key_);
  EXPECT_EQ((std::vector<std::string>{"Keep"}), RawValueNames("Kept"));
  HKEY root = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegOpenKeyExA(HKEY_CURRENT_USER, "", KEY_READ, root));
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegQueryValueExA(root, probe, &type, nullptr, &size));
  Reg().RegCloseKey(root);
}

TEST_F(RegistryStore, KeyPathsInNamesTheDefaultValueAndBackslashesAroundKey) {
  // A Key written with backslashes around it names the same key for every operation,
  // deletes included.
  Store().Key = "\\" + key_ + "\\";
  Store().WriteValue("A\\B\\V", TVariant("deep"));
  Store().WriteValue("", TVariant("txtfile"));
  EXPECT_EQ((std::vector<std::string>{"V"}), RawValueNames("A\\B"));
  EXPECT_EQ((std::vector<std::string>{""}), RawValueNames());
  EXPECT_EQ(TVariant("deep"), Store().ReadValue("A\\B\\V\\"));
  EXPECT_EQ(TVariant("txtfile"), Store().ReadValue(""));
  Store().DeleteValue("A\\B\\V");
  Store().DeleteValue("");
  EXPECT_TRUE(RawValueNames("A\\B").empty());
  EXPECT_TRUE(RawValueNames().empty());
}

TEST_F(RegistryStore, DeleteKeyRemovesAWholeTreeAndNothingBesideIt) {
  for (const char* path : {"Tree", "Tree\\S1\\T1\\U1", "Tree\\S1\\T2", "Tree\\S3\\T4\\U2\\V1", "Treehouse\\S1"}) {
    SetDword("v", 1, path);
  }
  Store().DeleteKey("Tree");
  Store().DeleteKey("");  // an empty name would otherwise make the registry delete Key itself
  EXPECT_FALSE(KeyExists("Tree"));
  EXPECT_TRUE(KeyExists("Treehouse\\S1"));
}

TEST_F(RegistryStore, SearchTreeWalksDepthFirstAndPutsKeyBack) {
  for (const char* path : {"", "S1", "S1\\T", "S2"}) SetDword("hit", 1, path);
  SetDword("miss", 1, "S2\\Quiet");
  Store().Key = "\\" + key_ + "\\";
  Store().SearchTree("HIT", TSearchMode::kNames);
  EXPECT_EQ((TStringList{key_ + "\\hit", key_ + "\\S1\\hit", key_ + "\\S1\\T\\hit", key_ + "\\S2\\hit"}),
            Store().SearchResults);
  EXPECT_EQ(key_, Store().Key) << "the normalised form of the key the caller set";
  Store().SearchTree("HIT", TSearchMode::kNames, TSearchExtent::kFirstHit);
  EXPECT_EQ((TStringList{key_ + "\\hit"}), Store().SearchResults);
}

TEST_F(RegistryStore, SearchModesMatchNamesDataOrBoth) {
  SetDword("NoTrayIcon1", 1);
  SetDword("NoTrayIcon10", 0);
  SetDword("notrayicon12", 0);
  SetDword("NoTrayIcon2", 1);
  SetText("Note", "see xxNOTRAYICON1yy");
  SetDword("Number", 101);
  // A damaged value: its data cannot be read, so it holds no text, and the search goes on.
  SetRaw("Damaged", REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8});
  struct Case {
    const char* text;
    TSearchMode mode;
    TStringList expected;
  };
  const Case cases[] = {
      {"NoTrayIcon1", TSearchMode::kNames, {"NoTrayIcon1", "NoTrayIcon10", "notrayicon12"}},
      {"NoTrayIcon1", TSearchMode::kData, {"Note"}},
      {"NoTrayIcon1", TSearchMode::kNamesThenData, {"NoTrayIcon1", "NoTrayIcon10", "Note", "notrayicon12"}},
      {"01", TSearchMode::kData, {"Number"}},
      {"absent", TSearchMode::kNamesThenData, {}},
  };
  for (const Case& c : cases) {
    Store().SearchTree(c.text, c.mode);
    TStringList found;
    for (const std::string& path : Store().SearchResults) found.push_back(path.substr(key_.size() + 1));
    EXPECT_EQ(Sorted(c.expected), Sorted(found)) << c.text << " mode " << static_cast<int>(c.mode);
    // Stopping at the first hit answers "is there any" the same way.
    Store().SearchTree(c.text, c.mode, TSearchExtent::kFirstHit);
    EXPECT_EQ(c.expected.empty() ? 0u : 1u, Store().SearchResults.size()) << c.text;
  }
}

TEST_F(RegistryStore, SearchTreeSkipsLevelsBeyondItsCounters) {
  // 105 levels below the start, a value at each, each level made from the one above it. A
  // short start key keeps the deepest path within what the ANSI calls accept.
  const std::string start = std::string(TestsKey) + "\\D";
  HKEY parent = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegCreateKeyExA(HKEY_CURRENT_USER, start, KEY_ALL_ACCESS, parent, nullptr));
  for (int level = 0; level <= 105; ++level) {
    Reg().RegSetValueExA(parent, "v", REG_DWORD, {1, 0, 0, 0});
    HKEY child = nullptr;
    if (level < 105) Reg().RegCreateKeyExA(parent, "k", KEY_ALL_ACCESS, child, nullptr);
    Reg().RegCloseKey(parent);
    parent = child;
  }
  Store().Key = start;
  Store().SearchTree("v", TSearchMode::kNames);
  ASSERT_EQ(101u, Store().SearchResults.size()) << "the start and the 100 levels below it";
  std::string deepest = start;
  for (int level = 1; level <= 100; ++level) deepest += "\\k";
  EXPECT_EQ(deepest + "\\v", Store().SearchResults.back());
  EXPECT_EQ(start, Store().Key);
}

}  // namespace
}  // namespace ombrix::settingstest
