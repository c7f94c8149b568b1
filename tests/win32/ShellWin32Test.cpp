// Real shell execution reports failure with the system's error code.

#include <gtest/gtest.h>

#include "platform/win32/Win32Platform.h"

namespace ombrix {
namespace {

TEST(RealShell, ExecutingAMissingFileReportsFileNotFound) {
  win32::Win32Platform platform;
  const INT_PTR result =
      platform.Shell().ShellExecuteA(nullptr, "open", "C:\\ombrix-no-such-file.txt", "", "", SW_SHOWNORMAL);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, result);
}

}  // namespace
}  // namespace ombrix
