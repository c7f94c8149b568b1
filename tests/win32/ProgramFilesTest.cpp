// The programs as built: their version resource read through the real API.

#include <gtest/gtest.h>

#include "platform/MiscUtils.h"
#include "platform/win32/Win32Platform.h"

namespace ombrix {
namespace {

TEST(ProgramFiles, VersionResourceHoldsTheFourFieldVersion) {
  win32::Win32Platform platform;
  for (const char* program : {"Ombrix.exe", "OmbrixHub.exe"}) {
    const std::string path = std::string(OMBRIX_APPS_DIR) + "/" + program;
    ASSERT_TRUE(platform.Files().FileExists(path)) << path;
    EXPECT_EQ(OMBRIX_VERSION_EXPECTED, FileVersionText(platform, path)) << program;
    const std::string version = OMBRIX_VERSION_EXPECTED;
    EXPECT_EQ("Version " + ShortVersionOf(version) + " build " + BuildNumberOf(version),
              VersionCaption(platform, path));
  }
}

}  // namespace
}  // namespace ombrix
