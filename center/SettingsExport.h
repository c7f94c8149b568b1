#pragma once
// The registry's settings entries as a file the registry editor merges: the key line, then
// one block per slot with a file name, in increasing slot order. The editor reads a "REGEDIT4"
// file in the system's legacy code page, so that form, as earlier versions wrote it, serves
// while every value is ASCII; with any other character the file takes the form the editor
// reads without loss, "Windows Registry Editor Version 5.00" in UTF-16 with its byte-order
// mark.

#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "settings/RegistryEnhanced.h"

namespace ombrix {

// The error of an export file that cannot be created or written; "%s" is its name.
inline constexpr char MsgCannotCreateFile[] = "Cannot create file %s";

// Writes every entry of the settings key to `fileName` (replacing the file). `registry` is
// pointed at the settings key for the export and set back afterwards. A value that cannot be
// read, or read as a number where one is needed, ends the export with its error; what was
// written before it stays in the file. A file that cannot be written raises Exception.
void ExportSettings(Platform& platform, TRegistryEnhanced& registry, const std::string& fileName);

// "dword:" and eight upper-case hexadecimal digits (two's complement for negative numbers).
std::string RegFileDword(std::int32_t value);

}  // namespace ombrix
