#pragma once
// Whether every caption of a shown form fits its control: measured in the real windows,
// with the font each control was given and at the screen's resolution, against the room the
// control leaves its text (a check box's glyph, a button's edges, a group's indent, a tab's
// place in the tab row).

#include <ostream>
#include <string>
#include <vector>

#include "controls/Form.h"
#include "controls/win32/Win32FormHost.h"

namespace ombrix::testing {

struct CaptionMisfit {
  std::string Control;  // a radio group's item as "rgName[1]"
  std::string Caption;
  std::string Direction;  // "wide" or "high": what the caption needs more of
  int Needed = 0;
  int Available = 0;
};

std::ostream& operator<<(std::ostream& out, const CaptionMisfit& misfit);

// The captions of a form being shown by the host that its controls cannot show whole, in
// declaration order. Hidden controls and pages are measured too: a handler may show them.
std::vector<CaptionMisfit> CaptionMisfits(win32::Win32FormHost& host, const TForm& form);

}  // namespace ombrix::testing
