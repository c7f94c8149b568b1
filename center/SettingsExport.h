#pragma once
// The registry's settings entries as a "REGEDIT4" file: the key line, then one block per
// slot with a file name, in increasing slot order.

#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

// The error of an export file that cannot be created or written; "%s" is its name.
constexpr char MsgCannotCreateFile[] = "Cannot create file %s";

// Writes every entry of the settings key to `fileName` (replacing the file). `registry` is
// pointed at the settings key for the export and set back afterwards. A value that cannot be
// read, or read as a number where one is needed, ends the export with its error; what was
// written before it stays in the file. A file that cannot be written raises Exception.
void ExportSettings(Platform& platform, TRegistryEnhanced& registry, const std::string& fileName);

// What follows the equals sign for a string value: the quoted text with backslashes and
// double quotes escaped, or, for text a quoted string cannot carry (control characters),
// the value's bytes and terminator as "hex(1):".
std::string RegFileString(const std::string& value);
// "dword:" and eight upper-case hexadecimal digits (two's complement for negative numbers).
std::string RegFileDword(std::int32_t value);

}  // namespace ombrix
