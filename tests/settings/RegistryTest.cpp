// The registry accessor, over both backends.

#include "settings/Registry.h"
#include "tests/settings/SettingsFixture.h"

namespace ombrix::settingstest {
namespace {

using RegistryAccessor = SettingsTest;

TEST_F(RegistryAccessor, OpensFromTheRootOrFromTheOpenKeyAndCreatesOnRequest) {
  TRegistry accessor(Reg());
  EXPECT_EQ(HKEY_CURRENT_USER, accessor.RootKey());
  EXPECT_EQ(static_cast<REGSAM>(KEY_ALL_ACCESS), accessor.Access());
  EXPECT_FALSE(accessor.OpenKey("\\" + Path("A"), false)) << "missing and not to be created";
  EXPECT_EQ(nullptr, accessor.CurrentKey());

  ASSERT_TRUE(accessor.OpenKey("\\" + Path("A\\B"), true));
  EXPECT_EQ(Path("A\\B"), accessor.CurrentPath());
  EXPECT_TRUE(KeyExists("A\\B"));

  // Relative to the open key.
  ASSERT_TRUE(accessor.OpenKey("C", true));
  EXPECT_EQ(Path("A\\B\\C"), accessor.CurrentPath());
  EXPECT_TRUE(KeyExists("A\\B\\C"));
  EXPECT_FALSE(KeyExists("C"));

  // A failed open keeps the key that was open.
  HKEY before = accessor.CurrentKey();
  EXPECT_FALSE(accessor.OpenKey("Missing", false));
  EXPECT_EQ(before, accessor.CurrentKey());
  EXPECT_EQ(Path("A\\B\\C"), accessor.CurrentPath());

  ASSERT_TRUE(accessor.OpenKey("\\" + Path("A"), false));
  EXPECT_EQ(Path("A"), accessor.CurrentPath());
  accessor.CloseKey();
  EXPECT_EQ(nullptr, accessor.CurrentKey());
  EXPECT_EQ("", accessor.CurrentPath());
}

TEST_F(RegistryAccessor, AnotherRootClosesTheOpenKey) {
  TRegistry accessor(Reg());
  ASSERT_TRUE(accessor.OpenKey("\\" + Path("A"), true));
  accessor.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_NE(nullptr, accessor.CurrentKey()) << "the same root keeps the key";
  accessor.SetRootKey(HKEY_CLASSES_ROOT);
  EXPECT_EQ(nullptr, accessor.CurrentKey());
  EXPECT_EQ("", accessor.CurrentPath());
  // A relative path now starts at the new root, not at the closed key.
  EXPECT_FALSE(accessor.OpenKey(Path("A"), false));
}

TEST_F(RegistryAccessor, ExistingKeysOpenWithTheMaskButCreationAlwaysMayWrite) {
  SetDword("v", 1, "Existing");
  TRegistry accessor(Reg());
  accessor.SetAccess(KEY_READ);
  ASSERT_TRUE(accessor.OpenKey("\\" + Path("Existing"), false));
  EXPECT_EQ(ERROR_ACCESS_DENIED, Reg().RegSetValueExA(accessor.CurrentKey(), "w", REG_DWORD, {1, 0, 0, 0}));

  ASSERT_TRUE(accessor.OpenKey("\\" + Path("Existing"), true));
  EXPECT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(accessor.CurrentKey(), "w", REG_DWORD, {1, 0, 0, 0}));
}

TEST_F(RegistryAccessor, ListsTheNamesOfTheOpenKey) {
  SetDword("first", 1, "List");
  SetText("a much longer value name", "x", "List");
  SetDword("", 2, "List");  // the default value is listed with an empty name
  SetDword("v", 1, "List\\Zeta");
  SetDword("v", 1, "List\\alpha");
  TRegistry accessor(Reg());
  EXPECT_TRUE(accessor.GetValueNames().empty()) << "no key open";
  ASSERT_TRUE(accessor.OpenKey("\\" + Path("List"), false));
  EXPECT_EQ((TStringList{"", "a much longer value name", "first"}), Sorted(accessor.GetValueNames()));
  EXPECT_EQ((TStringList{"alpha", "Zeta"}), accessor.GetKeyNames());
}

}  // namespace
}  // namespace ombrix::settingstest
