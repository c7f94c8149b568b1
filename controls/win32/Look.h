#pragma once
// Colours and fonts of a form's controls: what a control inherits from its containers and
// the form when it sets nothing of its own.

#include <string>

#include "controls/Form.h"
#include "controls/win32/GdiOwners.h"

namespace ombrix::win32 {

const TFont& FontOf(const TForm& form, const TControl& control);
// The background a container shows to the controls inside it (nullptr: the form).
TColor BackgroundOf(const TForm& form, const TControl* container);
TColor TextColorOf(const TForm& form, const TControl& control);
// Everything a control's painting depends on, to tell when it must be repainted.
std::string LookOf(const TForm& form, const TControl& control);
// The answer to WM_CTLCOLOR...: the text and background colours set on `dc`, the brush
// returned.
HBRUSH ControlColor(GdiCache& gdi, const TForm& form, const TControl& control, UINT message, HDC dc);

}  // namespace ombrix::win32
