// What icon extraction must do, on both backends.

#include "tests/contract/IconsContract.h"

#include <set>
#include <vector>

#include "base/AsciiCase.h"
#include "tests/contract/ContractFixture.h"

namespace ombrix::contract {
namespace {

ULONG_PTR Value(HICON icon) { return reinterpret_cast<ULONG_PTR>(icon); }

class IconsContract : public ContractTest {
 protected:
  IIcons& Icons() { return platform_->Icons(); }
};

TEST_F(IconsContract, IndexMinusOneCountsTheIcons) {
  const std::string file = FileWithThreeIcons(*platform_);
  EXPECT_EQ(3u, Value(Icons().ExtractIconA(file, -1)));

  EXPECT_EQ(3u, Value(Icons().ExtractIconA(AsciiUpperCase(file), -1))) << "file names do not depend on letter case";
}

TEST_F(IconsContract, EveryIndexWithinTheCountGivesANewIconAndNoneBeyond) {
  const std::string file = FileWithThreeIcons(*platform_);
  std::set<ULONG_PTR> seen;
  std::vector<HICON> icons;
  for (int index = 0; index < 3; ++index) {
    HICON icon = Icons().ExtractIconA(file, index);
    ASSERT_NE(nullptr, icon) << "index " << index;
    seen.insert(Value(icon));
    icons.push_back(icon);
  }
  HICON again = Icons().ExtractIconA(file, 0);
  ASSERT_NE(nullptr, again);
  seen.insert(Value(again));
  icons.push_back(again);
  EXPECT_EQ(4u, seen.size()) << "each extraction hands out an icon of its own";

  for (int beyond : {3, 4, 1000}) EXPECT_EQ(nullptr, Icons().ExtractIconA(file, beyond)) << "index " << beyond;

  for (HICON icon : icons) EXPECT_TRUE(Icons().DestroyIcon(icon));
}

TEST_F(IconsContract, FilesWithoutIconsCountNone) {
  const std::string text = InFolder("notes.txt");
  ASSERT_TRUE(Files().WriteFileBytes(text, "no icons in here\r\n"));
  EXPECT_EQ(0u, Value(Icons().ExtractIconA(text, -1)));
  EXPECT_EQ(nullptr, Icons().ExtractIconA(text, 0));
  EXPECT_EQ(0u, Value(Icons().ExtractIconA(folder_ + "missing.exe", -1)));
  EXPECT_EQ(nullptr, Icons().ExtractIconA(folder_ + "missing.exe", 0));
}

TEST_F(IconsContract, StandardApplicationIconIsShared) {
  HICON first = Icons().LoadStandardIcon(IdiApplication);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, Icons().LoadStandardIcon(IdiApplication));
}

TEST_F(IconsContract, OwnedIconDestroysItsIconOnce) {
  const std::string file = FileWithThreeIcons(*platform_);
  HICON raw = Icons().ExtractIconA(file, 1);
  ASSERT_NE(nullptr, raw);
  {
    OwnedIcon owner(Icons(), raw);
    OwnedIcon moved(std::move(owner));
    EXPECT_EQ(nullptr, owner.Get());
    EXPECT_EQ(raw, moved.Get());
  }
  EXPECT_FALSE(Icons().DestroyIcon(raw)) << "the owner has destroyed it already";
}

}  // namespace
}  // namespace ombrix::contract
