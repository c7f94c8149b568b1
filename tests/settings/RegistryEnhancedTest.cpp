// The settings store component, over both backends.

#include <cstring>

#include "tests/settings/SettingsFixture.h"

namespace ombrix::settingstest {
namespace {

using RegistryStore = SettingsTest;

TEST(RegistryStorePaths, NormalizeKeyKeyPartAndValuePart) {
  struct Case {
    const char* input;
    const char* normalized;
    const char* keyPart;
    const char* valuePart;
  };
  const Case cases[] = {
      {"\\Software\\X\\", "Software\\X", "\\Software", "X"},
      {"Software\\X", "Software\\X", "\\Software", "X"},
      {"A\\B\\V", "A\\B\\V", "\\A\\B", "V"},
      {"A\\\\B\\\\V\\", "A\\\\B\\\\V", "\\A\\B", "V"},
      {"V", "V", "", "V"},
      {"\\V", "V", "", "\\V"},
      {"V\\", "V", "", "V\\"},
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

TEST_F(RegistryStore, VariantsAreStoredWithTheirRegistryTypes) {
  const double pi = 3.25;
  std::vector<BYTE> piBytes(8);
  std::memcpy(piBytes.data(), &pi, 8);
  struct Case {
    const char* name;
    TVariant value;
    DWORD type;
    std::vector<BYTE> data;
    TVariant readBack;
  };
  const Case cases[] = {
      {"Int", TVariant(42), REG_DWORD, {42, 0, 0, 0}, TVariant(42)},
      {"Negative", TVariant(-2), REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}, TVariant(-2)},
      // A boolean comes back as the number it was stored as.
      {"True", TVariant(true), REG_DWORD, {1, 0, 0, 0}, TVariant(1)},
      {"False", TVariant(false), REG_DWORD, {0, 0, 0, 0}, TVariant(0)},
      {"Text", TVariant("C:\\Caf\xE9\\a \"b\".exe"), REG_SZ, Bytes(std::string("C:\\Caf\xE9\\a \"b\".exe\0", 18)),
       TVariant("C:\\Caf\xE9\\a \"b\".exe")},
      {"EmptyText", TVariant(""), REG_SZ, {0}, TVariant("")},
      {"Double", TVariant(pi), REG_BINARY, piBytes, TVariant()},
      {"Date", TVariant::FromDate(pi), REG_BINARY, piBytes, TVariant()},
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
  DWORD type = 0;
  std::vector<BYTE> data;
  EXPECT_FALSE(GetRaw("Nothing", type, data)) << "an empty value writes nothing";
}

TEST_F(RegistryStore, HostileStoredDataReadsSafely) {
  SetRaw("Unterminated", REG_SZ, Bytes("FullString"));
  SetRaw("EmbeddedNul", REG_SZ, Bytes(std::string("abc\0def\0", 8)));
  SetRaw("ZeroBytes", REG_SZ, {});
  SetRaw("Expand", REG_EXPAND_SZ, Bytes(std::string("%WINDIR%\\x\0", 11)));
  SetRaw("AllOnes", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF});
  SetRaw("LongDword", REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8});
  SetRaw("Binary8", REG_BINARY, {1, 2, 3, 4, 5, 6, 7, 8});
  SetRaw("Binary300", REG_BINARY, std::vector<BYTE>(300, 0xAB));
  SetRaw("Multi", REG_MULTI_SZ, Bytes(std::string("a\0b\0\0", 5)));
  const TVariant fallback("fallback");
  struct Case {
    const char* name;
    TVariant read;     // ReadValue
    TVariant guarded;  // ReadValueDefault
  };
  const Case cases[] = {
      {"Unterminated", TVariant("FullString"), TVariant("FullString")},
      {"EmbeddedNul", TVariant("abc"), TVariant("abc")},
      {"ZeroBytes", TVariant(""), TVariant("")},
      {"Expand", TVariant("%WINDIR%\\x"), TVariant("%WINDIR%\\x")},
      {"AllOnes", TVariant(-1), TVariant(-1)},
      // Binary data is never fetched: it reads as nothing whatever its size.
      {"Binary8", TVariant(), fallback},
      {"Binary300", TVariant(), fallback},
      {"Multi", TVariant(), fallback},
      {"Missing", TVariant(), fallback},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.read, Store().ReadValue(c.name)) << c.name;
    EXPECT_EQ(c.guarded, Store().ReadValueDefault(c.name, fallback)) << c.name;
  }
  // Eight bytes do not fit the four of a number: the read fails instead of overrunning.
  try {
    Store().ReadValue("LongDword");
    ADD_FAILURE() << "a REG_DWORD of 8 bytes was read";
  } catch (const ERegistryException& error) {
    EXPECT_EQ("Failed to get data for 'LongDword'", error.Message());
  }
  EXPECT_EQ(fallback, Store().ReadValueDefault("LongDword", fallback));
  // A key that does not exist: empty, or the default.
  EXPECT_EQ(TVariant(), Store().ReadValue("Nowhere\\Value"));
  EXPECT_EQ(fallback, Store().ReadValueDefault("Nowhere\\Value", fallback));
}

TEST_F(RegistryStore, AnEmptyKeyTouchesNothing) {
  const std::string probe = "OmbrixSettingsEmptyKeyProbe";
  Store().Key = "";
  Store().WriteValue(probe, TVariant(7));
  Store().WriteValue("Sub\\" + probe, TVariant(7));
  EXPECT_EQ(TVariant(), Store().ReadValue(probe));
  EXPECT_EQ(TVariant(), Store().ReadValueDefault(probe, TVariant(3)));
  HKEY root = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegOpenKeyExA(HKEY_CURRENT_USER, "", KEY_READ, root));
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegQueryValueExA(root, probe, &type, nullptr, &size));
  HKEY sub = nullptr;
  EXPECT_NE(ERROR_SUCCESS, Reg().RegOpenKeyExA(HKEY_CURRENT_USER, "Sub", KEY_READ, sub));
  Reg().RegCloseKey(root);

  // Deletes do nothing either (the scratch key's value survives).
  SetDword("Keep", 1, "Kept");
  Store().DeleteValue(key_ + "\\Kept\\Keep");
  Store().DeleteKey(key_);
  EXPECT_TRUE(KeyExists("Kept"));
  EXPECT_EQ((std::vector<std::string>{"Keep"}), RawValueNames("Kept"));
}

TEST_F(RegistryStore, NamesCarryKeyPathsAndTheEmptyNameIsTheDefaultValue) {
  Store().WriteValue("A\\B\\V", TVariant("deep"));
  DWORD type = 0;
  std::vector<BYTE> data;
  ASSERT_TRUE(GetRaw("V", type, data, "A\\B"));
  EXPECT_EQ(Bytes(std::string("deep\0", 5)), data);
  EXPECT_EQ(TVariant("deep"), Store().ReadValue("A\\B\\V"));
  EXPECT_TRUE(Store().ValueExists("A\\B\\V"));

  Store().WriteValue("", TVariant("txtfile"));
  ASSERT_TRUE(GetRaw("", type, data));
  EXPECT_EQ(REG_SZ, type);
  Store().Key = key_ + "\\A\\B";
  Store().WriteValue("", TVariant(5));
  EXPECT_EQ(TVariant(5), Store().ReadValue(""));
  Store().Key = key_;
  EXPECT_EQ(TVariant("txtfile"), Store().ReadValue(""));
  // A trailing separator leaves the last piece as the value name, not the default value.
  EXPECT_EQ(TVariant("deep"), Store().ReadValue("A\\B\\V\\"));
}

TEST_F(RegistryStore, ALeadingAndTrailingBackslashNameTheSameKeyForEveryOperation) {
  Store().Key = "\\" + key_ + "\\";
  Store().WriteValue("Value", TVariant(9));
  Store().WriteValue("Sub\\Other", TVariant(10));
  EXPECT_EQ((std::vector<std::string>{"Value"}), RawValueNames());
  EXPECT_EQ(TVariant(9), Store().ReadValue("Value"));
  EXPECT_EQ(TVariant(10), Store().ReadValue("Sub\\Other"));
  TStringList names;
  Store().GetValueNames(names);
  EXPECT_EQ((TStringList{"Value"}), names);
  Store().DeleteValue("Value");
  Store().DeleteValue("Sub\\Other");
  EXPECT_TRUE(RawValueNames().empty());
  EXPECT_TRUE(RawValueNames("Sub").empty());
  Store().DeleteKey("Sub");
  EXPECT_FALSE(KeyExists("Sub"));
}

TEST_F(RegistryStore, DeleteKeyRemovesAWholeTreeAndNothingBesideIt) {
  for (const char* path : {"Tree\\S1\\T1\\U1", "Tree\\S1\\T2", "Tree\\S2\\T3", "Tree\\S3\\T4\\U2\\V1", "Tree\\S3\\T5",
                           "Treehouse\\S1"}) {
    SetDword("v", 1, path);
  }
  SetDword("v", 1, "Tree");
  Store().DeleteKey("Tree");
  EXPECT_FALSE(KeyExists("Tree"));
  EXPECT_TRUE(KeyExists("Treehouse\\S1"));
  Store().DeleteKey("");
  Store().DeleteKey("\\");
  EXPECT_TRUE(KeyExists("")) << "an empty name does not delete the base key";
  Store().DeleteKey("Missing");
  EXPECT_TRUE(KeyExists("Treehouse"));
}

TEST_F(RegistryStore, ListsAreClearedFirstAndEmptyForAMissingKey) {
  SetDword("b", 1);
  SetDword("a", 1);
  SetDword("v", 1, "Child2");
  SetDword("v", 1, "Child1");
  TStringList list = {"stale"};
  Store().GetValueNames(list);
  EXPECT_EQ((TStringList{"a", "b"}), Sorted(list));
  Store().GetKeyNames(list);
  EXPECT_EQ((TStringList{"Child1", "Child2"}), list);
  Store().Key = key_ + "\\Missing";
  Store().GetValueNames(list);
  EXPECT_TRUE(list.empty());
  Store().GetKeyNames(list);
  EXPECT_TRUE(list.empty());
}

TEST_F(RegistryStore, SearchTreeWalksDepthFirstAndPutsKeyBack) {
  SetDword("hit", 1);
  SetDword("hit", 1, "S1");
  SetDword("hit", 1, "S1\\T");
  SetDword("hit", 1, "S2");
  SetDword("miss", 1, "S2\\Quiet");
  const std::string asSet = "\\" + key_ + "\\";
  Store().Key = asSet;
  Store().SearchResults = {"stale"};
  Store().SearchTree("HIT", TSearchMode::kNames);
  EXPECT_EQ((TStringList{key_ + "\\hit", key_ + "\\S1\\hit", key_ + "\\S1\\T\\hit", key_ + "\\S2\\hit"}),
            Store().SearchResults);
  EXPECT_EQ(key_, Store().Key) << "the normalised form of the key the caller set";

  Store().SearchTree("HIT", TSearchMode::kNames, TSearchExtent::kFirstHit);
  EXPECT_EQ((TStringList{key_ + "\\hit"}), Store().SearchResults);
  Store().SearchTree("absent", TSearchMode::kNamesThenData, TSearchExtent::kFirstHit);
  EXPECT_TRUE(Store().SearchResults.empty());
  EXPECT_EQ(key_, Store().Key);
}

TEST_F(RegistryStore, SearchModesMatchNamesDataOrBoth) {
  SetDword("NoTrayIcon1", 1);
  SetDword("NoTrayIcon10", 0);
  SetDword("notrayicon12", 0);
  SetDword("NoTrayIcon2", 1);
  SetText("Note", "see xxNOTRAYICON1yy");
  SetText("Other", "NoTrayIcon2");
  SetDword("Number", 101);
  // A damaged value among them: its data cannot be read, so it holds no text.
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
      {"", TSearchMode::kData,
       {"Damaged", "NoTrayIcon1", "NoTrayIcon10", "NoTrayIcon2", "Note", "Number", "Other", "notrayicon12"}},
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
    ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(parent, "v", REG_DWORD, {1, 0, 0, 0}));
    HKEY child = nullptr;
    if (level < 105) {
      ASSERT_EQ(ERROR_SUCCESS, Reg().RegCreateKeyExA(parent, "k", KEY_ALL_ACCESS, child, nullptr));
    }
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
