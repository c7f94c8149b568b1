#include "config/About.h"

namespace ombrix {

TAboutVorelOmbrix::TAboutVorelOmbrix(IShell& shell)
    : TForm("TAboutVorelOmbrix", " About Vorel Ombrix...", 344, 242), shell_(shell) {
  BorderStyle = TFormBorderStyle::kToolWindow;
  FormStyle = TFormStyle::kStayOnTop;
  Position = TPosition::kScreenCenter;
  HelpContext = HelpContextId;
  Color = clBlack;

  imgCompanyLogo.Picture.SetDrawing(CompanyLogo());
  imgProgramLogo.Picture.SetDrawing(ProgramLogo());

  lblProgramVersion.Alignment = TAlignment::kCenter;
  lblProgramVersion.Font.Color = clWhite;

  lblWebAddress.Alignment = TAlignment::kCenter;
  lblWebAddress.ShowAccelChar = false;
  lblWebAddress.Font.Color = clRed;
  lblWebAddress.Font.Bold = true;
  lblWebAddress.Font.Underline = true;
  lblWebAddress.Cursor = TCursor::kHandPoint;
  lblWebAddress.OnDblClick = Handler(&TAboutVorelOmbrix::lblWebAddressDblClick);

  btnOk.Default = true;
  btnOk.Cancel = true;
  btnOk.ModalResult = mrOk;
  SetActiveControl(&btnOk);
}

// Whether a browser started is not the box's concern: nothing is reported either way.
void TAboutVorelOmbrix::lblWebAddressDblClick(TControl&) {
  shell_.ShellExecuteA(Handle(), "open", WebAddress, "", "", SW_SHOWNORMAL);
}

TDrawing CompanyLogo() {
  TDrawing logo;
  logo.Width = 120;
  logo.Height = 96;
  const TColor blue = RgbColor(0, 96, 176);
  logo.Ellipse(32, 4, 88, 60, blue, clWhite, 2);
  // A "V" cut out of the disc.
  logo.Polygon({{44, 16}, {54, 16}, {60, 38}, {66, 16}, {76, 16}, {64, 50}, {56, 50}}, clWhite);
  TFont name;
  name.Name = "Arial";
  name.Size = 11;
  name.Bold = true;
  name.Color = clWhite;
  logo.Text(0, 64, 120, 80, "VOREL", name);
  TFont tagline = name;
  tagline.Size = 7;
  tagline.Bold = false;
  tagline.Color = RgbColor(160, 200, 240);
  logo.Text(0, 80, 120, 94, "SOFTWARE", tagline);
  return logo;
}

TDrawing ProgramLogo() {
  TDrawing logo;
  logo.Width = 188;
  logo.Height = 96;
  // A program window...
  logo.Rectangle(8, 6, 84, 56, RgbColor(224, 224, 224), clWhite);
  logo.Rectangle(8, 6, 84, 16, RgbColor(0, 84, 160));
  logo.Rectangle(14, 22, 60, 26, clGray);
  logo.Rectangle(14, 30, 70, 34, clGray);
  logo.Rectangle(14, 38, 50, 42, clGray);
  // ...going down into the notification area.
  logo.Polygon({{92, 26}, {132, 26}, {132, 16}, {152, 34}, {132, 52}, {132, 42}, {92, 42}}, RgbColor(255, 176, 0));
  logo.Rectangle(112, 58, 180, 72, RgbColor(64, 64, 64), clWhite);
  logo.Rectangle(162, 61, 172, 69, RgbColor(255, 176, 0));
  TFont name;
  name.Name = "Arial";
  name.Size = 16;
  name.Bold = true;
  name.Italic = true;
  name.Color = RgbColor(255, 176, 0);
  logo.Text(0, 72, 112, 96, "Ombrix", name, TAlignment::kLeftJustify);
  return logo;
}

}  // namespace ombrix
