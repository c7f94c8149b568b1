#include "runtime/ProgInfo.h"

namespace ombrix {

namespace {

// Identifiers and handles are unsigned: written through a signed conversion, one above
// 2147483647 would show as a negative number.
std::string Decimal(ULONG_PTR value) { return std::to_string(static_cast<unsigned long long>(value)); }

}  // namespace

TfrmProgramInfo::TfrmProgramInfo() : TForm("TfrmProgramInfo", "Program Information", 408, 396) {
  BorderStyle = TFormBorderStyle::kToolWindow;
  Position = TPosition::kScreenCenter;
  HelpContext = HelpContextId;

  lblProgramName.Font.Size = 18;
  lblProgramName.Font.Bold = true;
  lblProgramName.Font.Color = clNavy;
  lblProgramVersion.Alignment = TAlignment::kRightJustify;

  // The values show data: an ampersand in a file name is a character, not an accelerator.
  for (TLabel* value : {&valueFilename, &valueParameters, &valueWindowCaption, &valuePID, &valueTID, &valueHWND,
                        &valueWindowPID, &valueWindowFile, &valueHotKey}) {
    value->Font.Bold = true;
    value->ShowAccelChar = false;
  }
  valueParameters.WordWrap = true;
  valueWindowCaption.WordWrap = true;
  valueWindowFile.WordWrap = true;
  valueHotKey.WordWrap = true;

  btnOk.Default = true;
  btnOk.Cancel = true;
  btnOk.ModalResult = mrOk;
  SetActiveControl(&btnOk);
}

void TfrmProgramInfo::ShowValues(const ProgramInfoValues& values) {
  lblProgramVersion.SetCaption(values.versionCaption);
  valueFilename.SetCaption(values.fileName);
  valueParameters.SetCaption(values.parameters);
  valueWindowCaption.SetCaption(values.windowCaption);
  valuePID.SetCaption(Decimal(values.processId));
  valueTID.SetCaption(Decimal(values.threadId));
  valueHWND.SetCaption(Decimal(reinterpret_cast<ULONG_PTR>(values.mainWindow)));
  valueWindowPID.SetCaption(Decimal(values.windowProcessId));
  valueWindowFile.SetCaption(values.windowProgramFile);
  valueHotKey.SetCaption(values.hotKey);
}

}  // namespace ombrix
