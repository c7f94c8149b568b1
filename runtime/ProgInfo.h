#pragma once
// The Program Information dialog: what Ombrix knows about the program it serves. It takes
// its values as plain data, so that it depends on no main window.

#include <string>

#include "controls/Form.h"
#include "help/HelpContexts.h"

namespace ombrix {

struct ProgramInfoValues {
  std::string versionCaption;  // "Version 2.05c build 40"
  std::string fileName;
  std::string parameters;
  std::string windowCaption;
  DWORD processId = 0;
  DWORD threadId = 0;
  HWND mainWindow = nullptr;
  // The process of the main window and its program file: not the started one's when that
  // one handed its window over to another program.
  DWORD windowProcessId = 0;
  std::string windowProgramFile;
  std::string hotKey;  // "Ctrl+Alt+N", or "none"
};

class TfrmProgramInfo : public TForm {
 public:
  static constexpr int HelpContextId = HelpContexts::ProgramInformationDialog;

  TfrmProgramInfo();

  // Fills the version line and the value labels; numbers in plain decimal.
  void ShowValues(const ProgramInfoValues& values);

  TCaptionStrip capProgramInfo{*this, "capProgramInfo", {0, 0, 408, 22}, "Program Information", "", "Vorel Software"};
  TLabel3D lblProgramName{*this, "lblProgramName", nullptr, {12, 30, 220, 32}, "Vorel Ombrix"};
  TLabel lblProgramVersion{*this, "lblProgramVersion", nullptr, {232, 42, 164, 16}, "Version x.xx"};

  TLabel lblFilename{*this, "lblFilename", nullptr, {12, 76, 188, 16}, "Filename:"};
  TLabel valueFilename{*this, "valueFilename", nullptr, {204, 76, 200, 16}, ""};
  TLabel lblParameters{*this, "lblParameters", nullptr, {12, 98, 188, 16}, "Parameters:"};
  TLabel valueParameters{*this, "valueParameters", nullptr, {204, 98, 192, 42}, ""};
  TLabel lblWindowCaption{*this, "lblWindowCaption", nullptr, {12, 146, 188, 16}, "Window caption / Window name:"};
  TLabel valueWindowCaption{*this, "valueWindowCaption", nullptr, {204, 146, 192, 42}, ""};
  TLabel lblPID{*this, "lblPID", nullptr, {12, 194, 188, 16}, "Process ID (pid) :"};
  TLabel valuePID{*this, "valuePID", nullptr, {204, 194, 192, 16}, ""};
  TLabel lblTID{*this, "lblTID", nullptr, {12, 214, 188, 16}, "Main thread ID (tid) :"};
  TLabel valueTID{*this, "valueTID", nullptr, {204, 214, 192, 16}, ""};
  TLabel lblHWND{*this, "lblHWND", nullptr, {12, 234, 188, 16}, "Main window handle:"};
  TLabel valueHWND{*this, "valueHWND", nullptr, {204, 234, 192, 16}, ""};
  TLabel lblWindowPID{*this, "lblWindowPID", nullptr, {12, 254, 188, 16}, "Main window's process ID :"};
  TLabel valueWindowPID{*this, "valueWindowPID", nullptr, {204, 254, 192, 16}, ""};
  TLabel lblWindowFile{*this, "lblWindowFile", nullptr, {12, 274, 188, 16}, "Main window's program file:"};
  TLabel valueWindowFile{*this, "valueWindowFile", nullptr, {204, 274, 192, 42}, ""};
  TLabel lblHotKey{*this, "lblHotKey", nullptr, {12, 322, 188, 16}, "Hot key:"};
  TLabel valueHotKey{*this, "valueHotKey", nullptr, {204, 322, 192, 32}, ""};

  TButton btnOk{*this, "btnOk", nullptr, {166, 360, 75, 25}, "Ok"};
};

}  // namespace ombrix
