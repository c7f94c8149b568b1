#pragma once
// TBrkApart: cuts a text into pieces at a separator string, or at any character of a set.
// The settings store uses it to split key paths at "\".

#include <string>
#include <vector>

namespace ombrix {

// An ordered list of texts; assigning one copies it.
using TStringList = std::vector<std::string>;

class TBrkApart {
 public:
  // The separator; with BreakArrayChar, a set of one-character separators.
  std::string BreakString;
  // Every character of BreakString separates on its own.
  bool BreakArrayChar = false;
  // The text to split.
  std::string BaseString;
  // Keep the empty pieces that doubled, leading or trailing separators produce.
  bool AllowEmptyString = false;
  // The pieces, filled by BreakApart.
  TStringList StringList;

  // Fills StringList from BaseString.
  void BreakApart();
};

}  // namespace ombrix
