#pragma once
// What a 32-bit Ombrix on 64-bit Windows does to reach the 64-bit system a user sees in
// Explorer, where WOW64 shows it another one: System32 as SysWOW64, and the program folders
// as their (x86) twins.

#include <string>

namespace ombrix {

// `path` through the Windows folder's Sysnative, the only name by which a 32-bit program
// reaches the real System32, when it lies in `windowsFolder`\System32 (letter case ignored);
// empty otherwise.
std::string SysnativePath(const std::string& path, const std::string& windowsFolder);

// `command` with %ProgramFiles% and %CommonProgramFiles% (letter case ignored) replaced by
// %ProgramW6432% and %CommonProgramW6432%: a file type's command means the folders of the
// 64-bit system, where Explorer, a 64-bit program, expands it.
std::string NativeProgramFolders(const std::string& command);

}  // namespace ombrix
