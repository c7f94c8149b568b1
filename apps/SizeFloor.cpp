// The smallest program that uses what every C++ program here uses: one std::string and one
// exception. Built with the programs' own toolchain and flags, its size is the floor that
// the static run time sets, against which scripts/size-report.sh measures the programs.

#include <windows.h>

#include <stdexcept>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  try {
    const std::string text(commandLine);
    if (text.size() > 4) throw std::runtime_error(text);
    return static_cast<int>(text.size());
  } catch (const std::exception& error) {
    return error.what()[0];
  }
}
