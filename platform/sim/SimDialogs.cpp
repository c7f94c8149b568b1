#include "platform/sim/SimDialogs.h"

#include <stdexcept>

namespace ombrix::sim {

int SimDialogs::MessageBoxA(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  boxes_.push_back({owner, text, caption, type});
  if (answers_.empty()) {
    // A box with only OK needs no script; any question must have been expected by the test.
    if ((type & MB_TYPEMASK) == MB_OK) return IDOK;
    throw std::logic_error("unexpected message box: " + caption + ": " + text);
  }
  Answer answer = std::move(answers_.front());
  answers_.pop_front();
  if (answer.whileOpen) answer.whileOpen();
  return answer.button;
}

bool SimDialogs::GetOpenFileNameA(const OpenFileRequest& request, std::string& fileName) {
  openDialogs_.push_back(request);
  if (openAnswers_.empty()) throw std::logic_error("unexpected open dialog: " + request.title);
  std::optional<std::string> answer = openAnswers_.front();
  openAnswers_.pop_front();
  if (!answer) return false;
  fileName = *answer;
  return true;
}

void SimDialogs::AnswerNextBox(int button, std::function<void()> whileOpen) {
  answers_.push_back({button, std::move(whileOpen)});
}

void SimDialogs::AnswerNextOpenDialog(std::optional<std::string> path) { openAnswers_.push_back(std::move(path)); }

}  // namespace ombrix::sim
