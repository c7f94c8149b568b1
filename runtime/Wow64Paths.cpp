#include "runtime/Wow64Paths.h"

#include "base/AsciiCase.h"

namespace ombrix {

std::string SysnativePath(const std::string& path, const std::string& windowsFolder) {
  std::string folder = windowsFolder;
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  const std::string system32 = AsciiUpperCase(folder) + "\\SYSTEM32\\";
  if (folder.empty() || AsciiUpperCase(path.substr(0, system32.size())) != system32) return "";
  return folder + "\\Sysnative\\" + path.substr(system32.size());
}

std::string NativeProgramFolders(const std::string& command) {
  struct Rename {
    const char* name;
    const char* native;
  };
  static constexpr Rename renames[] = {{"%PROGRAMFILES%", "%ProgramW6432%"},
                                       {"%COMMONPROGRAMFILES%", "%CommonProgramW6432%"}};
  std::string result = command;
  for (const Rename& rename : renames) {
    const std::string name = rename.name;
    for (size_t at = AsciiUpperCase(result).find(name); at != std::string::npos;
         at = AsciiUpperCase(result).find(name, at + 1)) {
      result.replace(at, name.size(), rename.native);
    }
  }
  return result;
}

}  // namespace ombrix
