#include "base/FilePaths.h"

namespace ombrix {

std::string FolderOf(const std::string& path) {
  const std::string::size_type slash = path.find_last_of("\\/:");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension) {
  const std::string::size_type dot = path.rfind('.');
  const std::string::size_type folder = path.find_last_of("\\/:");
  if (dot == std::string::npos || (folder != std::string::npos && dot < folder)) return path + extension;
  return path.substr(0, dot) + extension;
}

}  // namespace ombrix
