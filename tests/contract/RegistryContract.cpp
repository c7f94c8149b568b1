// What the registry calls must do, on both backends.

#include <algorithm>

#include "tests/contract/ContractFixture.h"

namespace ombrix::contract {
namespace {

class RegistryContract : public ContractTest {
 protected:
  HKEY Create(const std::string& path) {
    HKEY key = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, Reg().RegCreateKeyExA(root_, path, KEY_ALL_ACCESS, key, nullptr));
    opened_.push_back(key);
    return key;
  }
  void TearDown() override {
    for (HKEY key : opened_) Reg().RegCloseKey(key);
    ContractTest::TearDown();
  }
  std::vector<HKEY> opened_;
};

TEST_F(RegistryContract, KeyAndValueNamesIgnoreLetterCase) {
  HKEY key = Create("Alpha\\Beta");
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(key, "MixedCase", REG_SZ, Bytes(std::string("x\0", 2))));

  HKEY again = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegOpenKeyExA(root_, "ALPHA\\beta", KEY_READ, again));
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_SUCCESS, Reg().RegQueryValueExA(again, "mixedcase", &type, nullptr, &size));
  EXPECT_EQ(REG_SZ, type);
  EXPECT_EQ(2u, size);
  // Setting through another spelling replaces the value rather than adding one.
  Reg().RegCloseKey(again);
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(key, "MIXEDCASE", REG_DWORD, {1, 0, 0, 0}));
  DWORD values = 0;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegQueryInfoKeyA(key, nullptr, nullptr, &values, nullptr, nullptr));
  EXPECT_EQ(1u, values);
}

// The system keeps strings in UTF-16, whatever the code page of the program that wrote them:
// the longest data it reports is their UTF-16 size. A program reading in another code page
// (the same name written by an earlier version, read now in UTF-8) gets the same characters.
TEST_F(RegistryContract, StringsAreKeptInUtf16) {
  ExpectStringKeptInUtf16(std::string("Caf\xE9\0", 5), 5);  // Windows-1252, this test program's code page
}

TEST_F(RegistryContract, DefaultValueIsTheEmptyName) {
  HKEY key = Create("Defaults");
  DWORD size = 0;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegQueryValueExA(key, "", nullptr, nullptr, &size));

  ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(key, "", REG_SZ, Bytes(std::string("txtfile\0", 8))));
  std::vector<BYTE> data(64, 0xAA);
  DWORD type = 0;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegQueryValueExA(key, "", &type, &data, &size));
  EXPECT_EQ(REG_SZ, type);
  EXPECT_EQ(8u, size);
  EXPECT_EQ("txtfile", std::string(reinterpret_cast<char*>(data.data())));

  DWORD values = 0, longestName = 99;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegQueryInfoKeyA(key, nullptr, nullptr, &values, &longestName, nullptr));
  EXPECT_EQ(1u, values);  // the default value counts
  EXPECT_EQ(0u, longestName);
}

TEST_F(RegistryContract, ASubkeysDefaultValueReadsInOneCallWithoutCreatingAnything) {
  HKEY types = Create("Types");
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(types, "", REG_SZ, Bytes(std::string("own\0", 4))));
  HKEY plain = Create("Types\\Plain\\Command");
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(plain, "", REG_SZ, Bytes(std::string("notepad %1\0", 11))));
  HKEY expand = Create("Types\\Expand");
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(expand, "", REG_EXPAND_SZ, Bytes(std::string("%WINDIR%\\x\0", 12))));
  HKEY named = Create("Types\\NamedOnly");
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(named, "Other", REG_SZ, Bytes(std::string("not me\0", 7))));

  struct Row {
    const char* subKey;
    LONG result;
    const char* text;
  };
  const Row rows[] = {
      {"plain\\COMMAND", ERROR_SUCCESS, "notepad %1"},
      {"Expand", ERROR_SUCCESS, "%WINDIR%\\x"},  // not expanded
      {"NamedOnly", ERROR_SUCCESS, ""},          // no default value: empty, not missing
      {"", ERROR_SUCCESS, "own"},                // the handle's own key
      {"Missing\\Deeper", ERROR_FILE_NOT_FOUND, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.subKey);
    std::vector<BYTE> data(64, 0xAA);
    DWORD size = 0;
    ASSERT_EQ(row.result, Reg().RegQueryValueA(types, row.subKey, &data, &size));
    if (row.text) {
      EXPECT_EQ(row.text, std::string(reinterpret_cast<char*>(data.data())));
    }
  }

  // A buffer too small is told the size the value needs.
  std::vector<BYTE> small(4, 0xAA);
  DWORD size = 0;
  EXPECT_EQ(ERROR_MORE_DATA, Reg().RegQueryValueA(types, "Plain\\Command", &small, &size));
  EXPECT_EQ(11u, size);

  HKEY missing = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegOpenKeyExA(types, "Missing", KEY_READ, missing));
}

TEST_F(RegistryContract, StringsKeepEveryStoredByteAndGainANulOnlyWithRoom) {
  HKEY key = Create("Strings");
  const std::string embedded("This\0Breaks\0\0A", 14);
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(key, "Embedded", REG_SZ, Bytes(embedded)));
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(key, "Unterminated", REG_SZ, Bytes("FullString")));

  std::vector<BYTE> data(32, 0xAA);
  DWORD size = 0;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegQueryValueExA(key, "Embedded", nullptr, &data, &size));
  EXPECT_EQ(14u, size);
  EXPECT_EQ(embedded, std::string(data.begin(), data.begin() + 14));

  // Stored without a terminator: the size does not count one; a buffer with room gets it.
  std::fill(data.begin(), data.end(), 0xAA);
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegQueryValueExA(key, "Unterminated", nullptr, &data, &size));
  EXPECT_EQ(10u, size);
  EXPECT_EQ(0, data[10]);

  // A buffer of exactly the data size gets no terminator and no overrun.
  std::vector<BYTE> exact(10, 0xAA);
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegQueryValueExA(key, "Unterminated", nullptr, &exact, &size));
  EXPECT_EQ("FullString", std::string(exact.begin(), exact.end()));
}

TEST_F(RegistryContract, TooSmallBufferGivesMoreDataAndTheRequiredSize) {
  HKEY key = Create("Dwords");
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(key, "Long", REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8}));
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(key, "Plain", REG_DWORD, {42, 0, 0, 0}));

  std::vector<BYTE> four(4, 0xAA);
  DWORD type = 0, size = 0;
  EXPECT_EQ(ERROR_MORE_DATA, Reg().RegQueryValueExA(key, "Long", &type, &four, &size));
  EXPECT_EQ(8u, size);
  EXPECT_EQ(std::vector<BYTE>(4, 0xAA), four) << "the buffer stays untouched";

  ASSERT_EQ(ERROR_SUCCESS, Reg().RegQueryValueExA(key, "Plain", &type, &four, &size));
  EXPECT_EQ(REG_DWORD, type);
  EXPECT_EQ(4u, size);
  EXPECT_EQ(42, four[0]);
}

TEST_F(RegistryContract, MissingKeysAndValuesAndBadPaths) {
  HKEY key = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(1));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegOpenKeyExA(root_, "Nowhere", KEY_READ, key));
  EXPECT_EQ(nullptr, key);
  EXPECT_EQ(ERROR_BAD_PATHNAME, Reg().RegOpenKeyExA(HKEY_CURRENT_USER, "\\Software", KEY_READ, key));
  EXPECT_EQ(ERROR_BAD_PATHNAME, Reg().RegCreateKeyExA(root_, "\\Sub", KEY_ALL_ACCESS, key, nullptr));

  HKEY trailing = Create("Trailing\\");
  DWORD disposition = 0;
  HKEY same = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegCreateKeyExA(root_, "Trailing", KEY_ALL_ACCESS, same, &disposition));
  EXPECT_EQ(REG_OPENED_EXISTING_KEY, disposition);
  Reg().RegCloseKey(same);

  DWORD size = 77;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegQueryValueExA(trailing, "Absent", nullptr, nullptr, &size));
  EXPECT_EQ(0u, size);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegDeleteValueA(trailing, "Absent"));
  EXPECT_EQ(ERROR_INVALID_HANDLE, Reg().RegCloseKey(nullptr));
}

TEST_F(RegistryContract, CreateMakesIntermediateKeysAndReportsDisposition) {
  HKEY deep = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegCreateKeyExA(root_, "One\\Two\\Three", KEY_ALL_ACCESS, deep, &disposition));
  EXPECT_EQ(REG_CREATED_NEW_KEY, disposition);
  Reg().RegCloseKey(deep);
  HKEY middle = nullptr;
  EXPECT_EQ(ERROR_SUCCESS, Reg().RegOpenKeyExA(root_, "One\\Two", KEY_READ, middle));
  Reg().RegCloseKey(middle);
}

TEST_F(RegistryContract, SubkeysEnumerateSortedAndValuesAllAppear) {
  HKEY key = Create("Listing");
  for (const char* name : {"Subkey2", "subkey1", "Zeta", "alpha"})
    Reg().RegCloseKey(Create(std::string("Listing\\") + name));
  for (const char* name : {"b", "A", "c"})
    ASSERT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(key, name, REG_DWORD, {0, 0, 0, 0}));

  DWORD subKeys = 0, longestKey = 0, values = 0, longestName = 0;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegQueryInfoKeyA(key, &subKeys, &longestKey, &values, &longestName, nullptr));
  EXPECT_EQ(4u, subKeys);
  EXPECT_EQ(7u, longestKey);
  EXPECT_EQ(3u, values);
  EXPECT_EQ(1u, longestName);

  std::vector<std::string> keys;
  std::string name;
  for (DWORD i = 0; Reg().RegEnumKeyExA(key, i, longestKey + 1, name) == ERROR_SUCCESS; ++i) keys.push_back(name);
  EXPECT_EQ((std::vector<std::string>{"alpha", "subkey1", "Subkey2", "Zeta"}), keys);
  EXPECT_EQ(ERROR_NO_MORE_ITEMS, Reg().RegEnumKeyExA(key, 4, 64, name));
  EXPECT_EQ(ERROR_MORE_DATA, Reg().RegEnumKeyExA(key, 1, 7, name)) << "7 characters need a buffer of 8";

  // Value order differs between Windows and wine; only the set is part of the contract.
  std::vector<std::string> names;
  for (DWORD i = 0; Reg().RegEnumValueA(key, i, longestName + 1, name) == ERROR_SUCCESS; ++i) names.push_back(name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ((std::vector<std::string>{"A", "b", "c"}), names);
  EXPECT_EQ(ERROR_NO_MORE_ITEMS, Reg().RegEnumValueA(key, 3, 64, name));
}

TEST_F(RegistryContract, DeletingAKeyWithSubkeysIsRefused) {
  Reg().RegCloseKey(Create("Parent\\Child"));
  EXPECT_EQ(ERROR_ACCESS_DENIED, Reg().RegDeleteKeyA(root_, "Parent"));
  EXPECT_EQ(ERROR_SUCCESS, Reg().RegDeleteKeyA(root_, "Parent\\Child"));
  EXPECT_EQ(ERROR_SUCCESS, Reg().RegDeleteKeyA(root_, "PARENT"));
  HKEY gone = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegOpenKeyExA(root_, "Parent", KEY_READ, gone));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegDeleteKeyA(root_, "Parent"));
}

TEST_F(RegistryContract, AnEmptyNameDeletesTheKeyOfTheHandle) {
  HKEY parent = Create("Self");
  Reg().RegCloseKey(Create("Self\\Child"));
  EXPECT_EQ(ERROR_ACCESS_DENIED, Reg().RegDeleteKeyA(parent, "")) << "it still has a subkey";
  HKEY child = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegOpenKeyExA(root_, "Self\\Child", KEY_ALL_ACCESS, child));
  EXPECT_EQ(ERROR_SUCCESS, Reg().RegDeleteKeyA(child, ""));
  Reg().RegCloseKey(child);
  HKEY gone = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegOpenKeyExA(root_, "Self\\Child", KEY_READ, gone));
  EXPECT_EQ(ERROR_SUCCESS, Reg().RegOpenKeyExA(root_, "Self", KEY_READ, gone));
  Reg().RegCloseKey(gone);
}

TEST_F(RegistryContract, ReadOnlyHandleCannotWrite) {
  Reg().RegCloseKey(Create("ReadOnly"));
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegOpenKeyExA(root_, "ReadOnly", KEY_READ, key));
  EXPECT_EQ(ERROR_ACCESS_DENIED, Reg().RegSetValueExA(key, "v", REG_DWORD, {1, 0, 0, 0}));
  Reg().RegCloseKey(key);
}

// A file type registered machine-wide, as installers do, is what HKEY_CLASSES_ROOT shows,
// written and deleted through it. (How the user's own part is shown over it, and what a
// standard user is refused, wine does not model: the simulated layer's own tests pin that.)
TEST_F(RegistryContract, MachineWideClassesAreSeenAndChangedThroughClassesRoot) {
  const std::string type = std::string("OmbrixContract.") + BackendName();
  const std::string machinePath = "Software\\Classes\\" + type;
  SetElevated(*platform_, true);
  DeleteTree(Reg(), HKEY_LOCAL_MACHINE, machinePath);
  HKEY machine = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegCreateKeyExA(HKEY_LOCAL_MACHINE, machinePath + "\\Shell\\Open\\Command",
                                                 KEY_ALL_ACCESS, machine, nullptr));
  EXPECT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(machine, "", REG_SZ, Bytes(std::string("open.exe %1\0", 12))));
  Reg().RegCloseKey(machine);

  std::vector<BYTE> data(64, 0);
  DWORD size = 0;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegQueryValueA(HKEY_CLASSES_ROOT, type + "\\shell\\open\\command", &data, &size));
  EXPECT_EQ("open.exe %1", std::string(reinterpret_cast<char*>(data.data())));
  bool listed = false;
  std::string name;
  for (DWORD i = 0; !listed && Reg().RegEnumKeyExA(HKEY_CLASSES_ROOT, i, 256, name) == ERROR_SUCCESS; ++i) {
    listed = name == type;
  }
  EXPECT_TRUE(listed) << "enumerated among the classes";

  // A value and a key written through HKEY_CLASSES_ROOT land in the machine's key; a delete
  // through it takes the machine's key.
  HKEY classes = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegOpenKeyExA(HKEY_CLASSES_ROOT, type, KEY_ALL_ACCESS, classes));
  EXPECT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(classes, "", REG_SZ, Bytes(std::string("A type\0", 7))));
  HKEY verb = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegCreateKeyExA(classes, "Shell\\Tuckaway", KEY_ALL_ACCESS, verb, nullptr));
  Reg().RegCloseKey(verb);
  Reg().RegCloseKey(classes);
  ASSERT_EQ(ERROR_SUCCESS, Reg().RegQueryValueA(HKEY_LOCAL_MACHINE, machinePath, &data, &size));
  EXPECT_EQ("A type", std::string(reinterpret_cast<char*>(data.data())));
  EXPECT_EQ(ERROR_SUCCESS, Reg().RegDeleteKeyA(HKEY_CLASSES_ROOT, type + "\\Shell\\Tuckaway"));
  HKEY gone = nullptr;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND,
            Reg().RegOpenKeyExA(HKEY_LOCAL_MACHINE, machinePath + "\\Shell\\Tuckaway", KEY_READ, gone));

  DeleteTree(Reg(), HKEY_LOCAL_MACHINE, machinePath);
  SetElevated(*platform_, false);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().RegOpenKeyExA(HKEY_CLASSES_ROOT, type, KEY_READ, gone));
}

TEST_F(RegistryContract, ResultCodesHaveTheSystemsWords) {
  // The words themselves differ between Windows and wine; both have some, on one line.
  for (LONG code : {ERROR_ACCESS_DENIED, ERROR_FILE_NOT_FOUND}) {
    const std::string text = Reg().FormatMessageA(code);
    EXPECT_FALSE(text.empty()) << code;
    EXPECT_EQ(std::string::npos, text.find_first_of("\r\n")) << text;
    EXPECT_NE(' ', text.empty() ? 'x' : text.back()) << text;
  }
  EXPECT_EQ("", Reg().FormatMessageA(0x20001234));
}

}  // namespace
}  // namespace ombrix::contract
