#include "controls/win32/Look.h"

namespace ombrix::win32 {

namespace {

bool ShowsText(TControlKind kind) {
  return kind == TControlKind::kEdit || kind == TControlKind::kReadOnlyEdit || kind == TControlKind::kComboBox ||
         kind == TControlKind::kListBox;
}

}  // namespace

const TFont& FontOf(const TForm& form, const TControl& control) {
  return control.Font != TFont{} ? control.Font : form.Font;
}

TColor BackgroundOf(const TForm& form, const TControl* container) {
  for (; container; container = container->Parent()) {
    if (container->Color != clDefault) return container->Color;
    if (container->Kind() == TControlKind::kTabSheet) return clBtnFace;
  }
  return form.Color;
}

TColor TextColorOf(const TForm& form, const TControl& control) {
  if (control.Font.Color != clDefault) return control.Font.Color;
  if (form.Font.Color != clDefault) return form.Font.Color;
  return ShowsText(control.Kind()) ? clWindowText : clBtnText;
}

std::string LookOf(const TForm& form, const TControl& control) {
  return std::to_string(TextColorOf(form, control)) + "/" + std::to_string(control.Color) + "/" +
         std::to_string(BackgroundOf(form, control.Parent()));
}

HBRUSH ControlColor(GdiCache& gdi, const TForm& form, const TControl& control, UINT message, HDC dc) {
  TColor background;
  const bool group = control.Kind() == TControlKind::kGroupBox || control.Kind() == TControlKind::kRadioGroup;
  if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
    background = control.Color != clDefault ? control.Color : clWindow;
  } else if (control.Kind() == TControlKind::kReadOnlyEdit) {
    background = control.Color != clDefault ? control.Color : clBtnFace;
  } else if (group) {
    background = BackgroundOf(form, &control);
  } else {
    background = control.Color != clDefault ? control.Color : BackgroundOf(form, control.Parent());
  }
  ::SetTextColor(dc, Resolve(TextColorOf(form, control)));
  ::SetBkColor(dc, Resolve(background));
  return gdi.BrushFor(background);
}

}  // namespace ombrix::win32
