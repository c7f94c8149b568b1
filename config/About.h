#pragma once
// The about box of both programs: the maker's and the program's logos, the version line
// and the maker's web address, which a double click opens.

#include "controls/Form.h"
#include "help/HelpContexts.h"
#include "platform/Shell.h"

namespace ombrix {

class TAboutVorelOmbrix : public TForm {
 public:
  static constexpr int HelpContextId = HelpContexts::AboutBox;
  static constexpr const char* WebAddress = "http://www.vorel-software.example/";

  explicit TAboutVorelOmbrix(IShell& shell);

  void lblWebAddressDblClick(TControl& sender);

  TCaptionStrip capAbout{*this, "capAbout", {0, 0, 344, 22}, " About Vorel Ombrix...", "- ", "Vorel Software"};
  TImage imgCompanyLogo{*this, "imgCompanyLogo", nullptr, {12, 32, 120, 96}};
  TImage imgProgramLogo{*this, "imgProgramLogo", nullptr, {144, 32, 188, 96}};
  TLabel lblProgramVersion{*this, "lblProgramVersion", nullptr, {12, 140, 320, 18}, "Version x.xx"};
  TLabel lblWebAddress{*this, "lblWebAddress", nullptr, {12, 168, 320, 18}, WebAddress};
  TButton btnOk{*this, "btnOk", nullptr, {134, 204, 75, 25}, "Ok"};

 private:
  IShell& shell_;
};

// The pictures stored with the about box, drawn at run time.
TDrawing CompanyLogo();
TDrawing ProgramLogo();

}  // namespace ombrix
