#include <string>

#include "platform/win32/Win32Platform.h"
#include "tests/contract/TargetProgram.h"

namespace ombrix::contract {

std::string TargetProgram(Platform&) {
  std::string path = OMBRIX_TARGET_EXE;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

void EndProgram(Platform&, const ProcessInformation& info) {
  if (!info.process) return;
  ::TerminateProcess(info.process, 0);
  ::WaitForSingleObject(info.process, 10000);
  ::CloseHandle(info.thread);
  ::CloseHandle(info.process);
}

}  // namespace ombrix::contract
