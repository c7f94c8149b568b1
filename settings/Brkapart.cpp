#include "settings/Brkapart.h"

namespace ombrix {

void TBrkApart::BreakApart() {
  StringList.clear();
  std::string rest = BaseString;
  const std::string::size_type separatorLength = BreakArrayChar ? 1 : BreakString.size();
  while (true) {
    std::string::size_type cut = std::string::npos;
    if (BreakArrayChar) {
      cut = rest.find_first_of(BreakString);
    } else if (!BreakString.empty()) {
      cut = rest.find(BreakString);
    }
    std::string piece = cut == std::string::npos ? rest : rest.substr(0, cut);
    if (!piece.empty() || AllowEmptyString) StringList.push_back(std::move(piece));
    if (cut == std::string::npos) break;
    rest.erase(0, cut + separatorLength);
  }
}

}  // namespace ombrix
