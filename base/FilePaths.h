#pragma once
// The parts of a Windows path, as text: a backslash, a slash or a drive's colon ends a folder.

#include <string>

namespace ombrix {

// The folder part of a path with its final backslash ("" when there is none).
std::string FolderOf(const std::string& path);
// The path with the extension of its last part (from its last dot) replaced by `extension`,
// or `extension` added when it has none.
std::string ChangeFileExt(const std::string& path, const std::string& extension);

}  // namespace ombrix
