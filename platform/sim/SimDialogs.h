#pragma once
// Scripted message boxes and file dialogs, with a log of everything shown.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace ombrix::sim {

struct ShownMessageBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};

class SimDialogs : public IDialogs {
 public:
  int MessageBoxA(HWND owner, const std::string& text, const std::string& caption, UINT type) override;
  bool GetOpenFileNameA(const OpenFileRequest& request, std::string& fileName) override;
  bool GetSaveFileNameA(const OpenFileRequest& request, std::string& fileName) override;

  // The next message box answers `button`; `whileOpen` runs first, as the nested message
  // loop of a real box would let other things happen.
  void AnswerNextBox(int button, std::function<void()> whileOpen = {});
  // The next open dialog returns this path, or is cancelled with std::nullopt.
  void AnswerNextOpenDialog(std::optional<std::string> path);
  // The same for the next save dialog.
  void AnswerNextSaveDialog(std::optional<std::string> path);

  const std::vector<ShownMessageBox>& Boxes() const { return boxes_; }
  const std::vector<OpenFileRequest>& OpenDialogs() const { return openDialogs_; }
  const std::vector<OpenFileRequest>& SaveDialogs() const { return saveDialogs_; }
  void ClearLog() {
    boxes_.clear();
    openDialogs_.clear();
    saveDialogs_.clear();
  }

 private:
  struct Answer {
    int button;
    std::function<void()> whileOpen;
  };
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> openAnswers_;
  std::vector<ShownMessageBox> boxes_;
  std::vector<OpenFileRequest> openDialogs_;
  std::deque<std::optional<std::string>> saveAnswers_;
  std::vector<OpenFileRequest> saveDialogs_;
};

}  // namespace ombrix::sim
