#include <gtest/gtest.h>

#include "settings/Brkapart.h"

namespace ombrix {
namespace {

TEST(BrkApart, SplitsAtASeparatorOrAtAnyCharacterOfASet) {
  struct Case {
    const char* base;
    const char* separator;
    bool arrayChar;
    bool allowEmpty;
    TStringList expected;
  };
  const Case cases[] = {
      {"A\\B\\V", "\\", false, false, {"A", "B", "V"}},
      {"\\\\A\\\\B\\", "\\", false, false, {"A", "B"}},
      {"\\A\\\\B\\", "\\", false, true, {"", "A", "", "B", ""}},
      {"V", "\\", false, false, {"V"}},
      {"", "\\", false, false, {}},
      {"", "\\", false, true, {""}},
      // A separator of several characters is one separator, found whole.
      {"one, two,,three", ", ", false, false, {"one", "two,,three"}},
      {"a--b-", "--", false, false, {"a", "b-"}},
      {"a----b", "--", false, true, {"a", "", "b"}},
      // With the set, every character cuts on its own.
      {"a,b;c d", ",; ", true, false, {"a", "b", "c", "d"}},
      {"a,,b;", ",;", true, true, {"a", "", "b", ""}},
      {"--a--", "--", true, false, {"a"}},
      // No separator at all: the whole text is the one piece.
      {"abc", "", false, false, {"abc"}},
      {"abc", "", true, false, {"abc"}},
  };
  for (const Case& c : cases) {
    TBrkApart splitter;
    splitter.BaseString = c.base;
    splitter.BreakString = c.separator;
    splitter.BreakArrayChar = c.arrayChar;
    splitter.AllowEmptyString = c.allowEmpty;
    splitter.StringList = {"left over from before"};
    splitter.BreakApart();
    EXPECT_EQ(c.expected, splitter.StringList)
        << "'" << c.base << "' at '" << c.separator << "'" << (c.arrayChar ? " (set)" : "")
        << (c.allowEmpty ? " (empty kept)" : "");
  }
}

}  // namespace
}  // namespace ombrix
