// The registry accessor, over both backends.

#include "settings/RegistryAccessor.h"
#include "tests/settings/SettingsFixture.h"

namespace ombrix::settingstest {
namespace {

using RegistryAccessor = SettingsTest;

TEST_F(RegistryAccessor, OpensFromTheRootOrTheOpenKeyAndAnotherRootClosesIt) {
  SetDword("v", 1, "A");
  TRegistry accessor(Reg());
  accessor.SetAccess(KEY_READ);
  EXPECT_FALSE(accessor.OpenKey("\\" + Path("A\\B"), false));
  ASSERT_TRUE(accessor.OpenKey("\\" + Path("A"), false));
  EXPECT_EQ(ERROR_ACCESS_DENIED, Reg().RegSetValueExA(accessor.CurrentKey(), "w", REG_DWORD, {1, 0, 0, 0}));
  // Opening for creation may always write, whatever the mask; then relative to the open key.
  ASSERT_TRUE(accessor.OpenKey("\\" + Path("A"), true));
  ASSERT_TRUE(accessor.OpenKey("B\\C", true));
  EXPECT_EQ(Path("A\\B\\C"), accessor.CurrentPath());
  EXPECT_EQ(ERROR_SUCCESS, Reg().RegSetValueExA(accessor.CurrentKey(), "w", REG_DWORD, {1, 0, 0, 0}));
  EXPECT_EQ((std::vector<std::string>{"w"}), RawValueNames("A\\B\\C"));
  // A failed open keeps the open key.
  EXPECT_FALSE(accessor.OpenKey("Missing", false));
  EXPECT_EQ(Path("A\\B\\C"), accessor.CurrentPath());

  accessor.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_NE(nullptr, accessor.CurrentKey()) << "the same root keeps the key";
  accessor.SetRootKey(HKEY_CLASSES_ROOT);
  EXPECT_EQ(nullptr, accessor.CurrentKey());
  EXPECT_FALSE(accessor.OpenKey(Path("A"), false)) << "relative to the new root now";
}

}  // namespace
}  // namespace ombrix::settingstest
