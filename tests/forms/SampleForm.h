#pragma once
// A form with every kind of control and event, for the tests of both form hosts. Its
// handlers write what they see into a log, so that tests can check what ran and in which
// order.

#include <string>
#include <vector>

#include "controls/Form.h"
#include "platform/Icons.h"

namespace ombrix::testing {

class TfrmSample : public TForm {
 public:
  static constexpr int FormHelp = 50;
  static constexpr int NameHelp = 51;

  TfrmSample();

  // Shows an icon of a file in the preview; the image owns it from then on.
  void ShowIcon(IIcons& icons, const std::string& file, int index);

  std::vector<std::string> log;

  TCaptionStrip capSample{*this, "capSample", {0, 0, 400, 22}, "Sample form", " ", "Vorel Software"};
  TLabel3D lblTitle{*this, "lblTitle", nullptr, {10, 28, 240, 26}, "Vorel Sample"};
  TPageControl pcSample{*this, "pcSample", nullptr, {8, 60, 384, 224}};
  TTabSheet tsGeneral{*this, "tsGeneral", pcSample, "General"};
  TTabSheet tsChoices{*this, "tsChoices", pcSample, "Choices"};
  TTabSheet tsHidden{*this, "tsHidden", pcSample, "Hidden"};
  TTabSheet tsLists{*this, "tsLists", pcSample, "Lists"};

  // Page "General".
  TLabel lblName{*this, "lblName", &tsGeneral, {8, 12, 80, 16}, "&Name:"};
  TEdit ebxName{*this, "ebxName", &tsGeneral, {96, 10, 180, 21}, "Sample"};
  TLabel lblCount{*this, "lblCount", &tsGeneral, {8, 40, 80, 16}, "Count:"};
  TEdit ebxCount{*this, "ebxCount", &tsGeneral, {96, 38, 60, 21}, "3"};
  TCheckBox cbxCount{*this, "cbxCount", &tsGeneral, {168, 38, 190, 20}, "&Use the count"};
  TLabel lblKey{*this, "lblKey", &tsGeneral, {8, 68, 80, 16}, "Key:"};
  TEdit valueKey{*this, "valueKey", &tsGeneral, {96, 66, 260, 21}, "C:\\Tools\\sample.exe", true};
  TGroupBox gbMode{*this, "gbMode", &tsGeneral, {8, 96, 172, 92}, "Mode"};
  TRadioButton rbFast{*this, "rbFast", &gbMode, {10, 22, 150, 20}, "&Fast"};
  TRadioButton rbSafe{*this, "rbSafe", &gbMode, {10, 46, 150, 20}, "Sa&fe"};
  TRadioButton rbLeft{*this, "rbLeft", &tsGeneral, {196, 104, 150, 20}, "Dock &left"};
  TRadioButton rbRight{*this, "rbRight", &tsGeneral, {196, 128, 150, 20}, "Dock &right"};

  // Page "Choices".
  TLabel lblShowState{*this, "lblShowState", &tsChoices, {8, 12, 120, 16}, "Show state:"};
  TComboBox cbShowState{
      *this, "cbShowState", &tsChoices, {136, 10, 200, 21}, {"Don't override", "Normal (shown)", "Minimized (hidden)"}};
  TListBox lbItems{*this, "lbItems", &tsChoices, {8, 40, 150, 80}, {"alpha", "beta", "gamma"}};
  TRadioGroup rgClick{*this,
                      "rgClick",
                      &tsChoices,
                      {168, 40, 200, 80},
                      "Tray behavior, minimize app on:",
                      {"Single click", "Double click"}};
  TImage imgPreview{*this, "imgPreview", &tsChoices, {8, 130, 40, 40}};
  TUpDown udNumber{*this, "udNumber", &tsChoices, {56, 134, 17, 32}, 0, 4, 0};
  TLabel lblNumber{*this, "lblNumber", &tsChoices, {84, 142, 180, 16}, "Current number : 0"};

  TLabel lblHidden{*this, "lblHidden", &tsHidden, {8, 8, 100, 16}, "Never seen"};

  // Page "Lists": a page control of its own, a sorted multi-select list and a sorted
  // drop-down list that a flat button adds to, and a bold button.
  TPageControl pcInner{*this, "pcInner", &tsLists, {4, 4, 244, 188}};
  TTabSheet tsFiles{*this, "tsFiles", pcInner, "Files"};
  TTabSheet tsMore{*this, "tsMore", pcInner, "More"};
  TListBox lbFiles{*this, "lbFiles", &tsFiles, {4, 4, 224, 148}};
  TComboBox cbFruit{*this, "cbFruit", &tsMore, {8, 8, 150, 21}};
  TCheckBox cbxRipe{*this, "cbxRipe", &tsMore, {8, 40, 150, 20}, "Ripe only"};
  TButton btnAdd{*this, "btnAdd", &tsLists, {260, 8, 100, 25}, "Add Mango"};
  TButton btnBold{*this, "btnBold", &tsLists, {260, 40, 100, 25}, "Bold"};

  TButton btnOk{*this, "btnOk", nullptr, {152, 292, 75, 25}, "&Save"};
  TButton btnApply{*this, "btnApply", nullptr, {234, 292, 75, 25}, "&Apply"};
  TButton btnCancel{*this, "btnCancel", nullptr, {316, 292, 75, 25}, "&Cancel"};

 private:
  void ebxNameChange(TControl& sender);
  void ebxNameKeyPress(TControl& sender, char& key);
  void ebxCountExit(TControl& sender);
  void cbxCountClick(TControl& sender);
  void rbModeClick(TControl& sender);
  void rbDockClick(TControl& sender);
  void cbShowStateChange(TControl& sender);
  void lbItemsClick(TControl& sender);
  void lbItemsDblClick(TControl& sender);
  void rgClickClick(TControl& sender);
  void udNumberClick(TControl& sender, TUDBtnType button);
  void pcSampleChange(TControl& sender);
  void pcInnerChange(TControl& sender);
  void lbFilesClick(TControl& sender);
  void lbFilesKeyPress(TControl& sender, char& key);
  void btnAddClick(TControl& sender);
  void btnBoldClick(TControl& sender);
  void btnOkClick(TControl& sender);
  void btnApplyClick(TControl& sender);
  void btnCancelClick(TControl& sender);
};

}  // namespace ombrix::testing
