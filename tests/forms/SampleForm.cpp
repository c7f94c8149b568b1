#include "tests/forms/SampleForm.h"

#include "base/Exception.h"

namespace ombrix::testing {

TfrmSample::TfrmSample() : TForm("TfrmSample", "Sample form", 400, 326) {
  HelpContext = FormHelp;
  ebxName.HelpContext = NameHelp;
  lblTitle.Font.Size = 14;
  lblTitle.Font.Bold = true;
  valueKey.Color = clBtnFace;
  cbxCount.SetChecked(true);
  rbFast.SetChecked(true);
  rbLeft.SetChecked(true);
  cbShowState.SetItemIndex(0);
  rgClick.SetItemIndex(1);
  tsHidden.SetVisible(false);
  btnOk.Default = true;
  btnCancel.Cancel = true;
  btnCancel.ModalResult = mrCancel;
  btnApply.SetEnabled(false);
  lbFiles.MultiSelect = true;
  lbFiles.Sorted = true;
  lbFiles.SetItems({"txtfile", ".txt", "Zip", "apple", "co-op", "coop", "_x", "9"});
  cbFruit.Sorted = true;
  cbFruit.SetItems({"pear", "Apple", "kiwi"});
  cbFruit.SetItemIndex(2);
  btnAdd.Flat = true;
  btnAdd.Hint = "Adds a mango to both lists";
  btnBold.Font.Bold = true;

  ebxName.OnChange = Handler(&TfrmSample::ebxNameChange);
  ebxName.OnKeyPress = KeyHandler(&TfrmSample::ebxNameKeyPress);
  ebxCount.OnExit = Handler(&TfrmSample::ebxCountExit);
  cbxCount.OnClick = Handler(&TfrmSample::cbxCountClick);
  rbFast.OnClick = Handler(&TfrmSample::rbModeClick);
  rbSafe.OnClick = Handler(&TfrmSample::rbModeClick);
  rbLeft.OnClick = Handler(&TfrmSample::rbDockClick);
  rbRight.OnClick = Handler(&TfrmSample::rbDockClick);
  cbShowState.OnChange = Handler(&TfrmSample::cbShowStateChange);
  lbItems.OnClick = Handler(&TfrmSample::lbItemsClick);
  lbItems.OnDblClick = Handler(&TfrmSample::lbItemsDblClick);
  rgClick.OnClick = Handler(&TfrmSample::rgClickClick);
  udNumber.OnClick = UpDownHandler(&TfrmSample::udNumberClick);
  pcSample.OnChange = Handler(&TfrmSample::pcSampleChange);
  pcInner.OnChange = Handler(&TfrmSample::pcInnerChange);
  lbFiles.OnClick = Handler(&TfrmSample::lbFilesClick);
  lbFiles.OnKeyPress = KeyHandler(&TfrmSample::lbFilesKeyPress);
  btnAdd.OnClick = Handler(&TfrmSample::btnAddClick);
  btnBold.OnClick = Handler(&TfrmSample::btnBoldClick);
  btnOk.OnClick = Handler(&TfrmSample::btnOkClick);
  btnApply.OnClick = Handler(&TfrmSample::btnApplyClick);
  btnCancel.OnClick = Handler(&TfrmSample::btnCancelClick);
}

void TfrmSample::ShowIcon(IIcons& icons, const std::string& file, int index) {
  imgPreview.Picture.SetIcon(OwnedIcon(icons, icons.ExtractIconA(file, index)));
}

void TfrmSample::ebxNameChange(TControl&) { log.push_back("change " + ebxName.Text()); }

// '!' is refused; everything else is typed as it comes.
void TfrmSample::ebxNameKeyPress(TControl&, char& key) {
  log.push_back(std::string("key ") + key);
  if (key == '!') key = 0;
}

// Keeps the digits only, as the number boxes of the configuration do.
void TfrmSample::ebxCountExit(TControl&) {
  std::string digits;
  for (char c : ebxCount.Text()) {
    if (c >= '0' && c <= '9') digits += c;
  }
  ebxCount.SetText(digits.empty() ? "0" : digits);
  log.push_back("exit count " + ebxCount.Text());
}

void TfrmSample::cbxCountClick(TControl&) {
  ebxCount.SetEnabled(cbxCount.Checked());
  log.push_back(cbxCount.Checked() ? "count on" : "count off");
}

void TfrmSample::rbModeClick(TControl& sender) { log.push_back("mode " + sender.Name()); }
void TfrmSample::rbDockClick(TControl& sender) { log.push_back("dock " + sender.Name()); }
void TfrmSample::cbShowStateChange(TControl&) { log.push_back("state " + cbShowState.Text()); }
void TfrmSample::lbItemsClick(TControl&) { log.push_back("item " + std::to_string(lbItems.ItemIndex())); }
void TfrmSample::lbItemsDblClick(TControl&) { log.push_back("open " + std::to_string(lbItems.ItemIndex())); }
void TfrmSample::rgClickClick(TControl&) { log.push_back("click mode " + std::to_string(rgClick.ItemIndex())); }

void TfrmSample::udNumberClick(TControl&, TUDBtnType button) {
  lblNumber.SetCaption("Current number : " + std::to_string(udNumber.Position()));
  log.push_back(std::string(button == TUDBtnType::kNext ? "up " : "down ") + std::to_string(udNumber.Position()));
}

void TfrmSample::pcSampleChange(TControl&) { log.push_back("page " + std::to_string(pcSample.ActivePageIndex())); }

void TfrmSample::pcInnerChange(TControl&) { log.push_back("inner " + std::to_string(pcInner.ActivePageIndex())); }

void TfrmSample::lbFilesClick(TControl&) {
  std::string entry = "files";
  for (int index : lbFiles.SelectedIndexes()) entry += " " + lbFiles.Items()[static_cast<std::size_t>(index)];
  log.push_back(entry + ", current " + std::to_string(lbFiles.ItemIndex()));
}

// Typed letters are only noted, so that the selection stays what the clicks made it.
void TfrmSample::lbFilesKeyPress(TControl&, char& key) {
  log.push_back(std::string("files key ") + key);
  key = 0;
}

// The hint follows what the button did.
void TfrmSample::btnAddClick(TControl&) {
  log.push_back("mango at " + std::to_string(lbFiles.Add("Mango")) + " and " + std::to_string(cbFruit.Add("Mango")));
  btnAdd.Hint = "Mango added";
}

void TfrmSample::btnBoldClick(TControl&) { log.push_back("bold"); }

void TfrmSample::btnOkClick(TControl&) {
  log.push_back("save");
  if (ebxName.Text().empty()) throw Exception("A name is needed.");
  SetModalResult(mrOk);
}

void TfrmSample::btnApplyClick(TControl&) { log.push_back("apply"); }
void TfrmSample::btnCancelClick(TControl&) { log.push_back("cancel"); }

}  // namespace ombrix::testing
