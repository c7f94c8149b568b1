// The programs as built: their version resource and manifest read through the real API.

#include <gtest/gtest.h>

#include "base/VersionText.h"
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

// The manifest Windows reads at start-up: what each entry buys is lost without a word when
// the resource is missing or the file embedded is not the one meant.
TEST(ProgramFiles, ManifestAsksForTodaysWindows) {
  const char* const entries[] = {
      "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
      "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
      "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // Windows 7
      "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",  // Windows 8
      "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",  // Windows 8.1
      "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // Windows 10 and 11
      ">true</dpiAware>",
  };
  for (const char* program : {"Ombrix.exe", "OmbrixHub.exe"}) {
    const std::string path = std::string(OMBRIX_APPS_DIR) + "/" + program;
    HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module) << path;
    HRSRC resource = ::FindResourceA(module, CREATEPROCESS_MANIFEST_RESOURCE_ID,
                                     MAKEINTRESOURCEA(24));  // RT_MANIFEST
    std::string manifest;
    if (resource != nullptr) {
      const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(module, resource)));
      if (bytes != nullptr) manifest.assign(bytes, ::SizeofResource(module, resource));
    }
    ::FreeLibrary(module);
    ASSERT_FALSE(manifest.empty()) << program << " has no manifest";
    for (const char* entry : entries) EXPECT_NE(std::string::npos, manifest.find(entry)) << program << ": " << entry;
  }
}

}  // namespace
}  // namespace ombrix
