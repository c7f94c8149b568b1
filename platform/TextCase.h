#pragma once
// Upper-casing in the user's locale, as names of windows, extensions and file types are
// compared. On Windows this is CharUpperBuffA (the system code page); natively it follows
// Windows-1252, the code page the simulated desktop speaks.

#include <string>

namespace ombrix {

std::string AnsiUpperCase(const std::string& text);

}  // namespace ombrix
