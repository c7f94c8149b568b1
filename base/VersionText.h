#pragma once
// The short forms of a four-field version text ("3.91.0.297") that the programs show.

#include <string>

namespace ombrix {

// "3.9.2.5" gives "3.09b"; "3.91.0.297" gives "3.91".
std::string ShortVersionOf(const std::string& versionText);
// "3.91.0.297" gives "297".
std::string BuildNumberOf(const std::string& versionText);

}  // namespace ombrix
