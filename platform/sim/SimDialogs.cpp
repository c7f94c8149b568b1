#include "platform/sim/SimDialogs.h"

#include "base/Exception.h"

namespace ombrix::sim {

int SimDialogs::MessageBoxA(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  boxes_.push_back({owner, text, caption, type});
  if (answers_.empty()) {
    // A box with only OK needs no script; any question must have been expected by the test.
    if ((type & MB_TYPEMASK) == MB_OK) return IDOK;
    throw EProgramError("unexpected message box: " + caption + ": " + text);
  }
  Answer answer = std::move(answers_.front());
  answers_.pop_front();
  if (answer.whileOpen) answer.whileOpen();
  return answer.button;
}

namespace {

bool AnswerFileDialog(const char* kind, const OpenFileRequest& request, std::vector<OpenFileRequest>& log,
                      std::deque<std::optional<std::string>>& answers, std::string& fileName) {
  log.push_back(request);
  if (answers.empty()) throw EProgramError(std::string("unexpected ") + kind + " dialog: " + request.title);
  std::optional<std::string> answer = answers.front();
  answers.pop_front();
  if (!answer) return false;
  fileName = *answer;
  return true;
}

}  // namespace

bool SimDialogs::GetOpenFileNameA(const OpenFileRequest& request, std::string& fileName) {
  return AnswerFileDialog("open", request, openDialogs_, openAnswers_, fileName);
}

bool SimDialogs::GetSaveFileNameA(const OpenFileRequest& request, std::string& fileName) {
  return AnswerFileDialog("save", request, saveDialogs_, saveAnswers_, fileName);
}

void SimDialogs::AnswerNextBox(int button, std::function<void()> whileOpen) {
  answers_.push_back({button, std::move(whileOpen)});
}

void SimDialogs::AnswerNextOpenDialog(std::optional<std::string> path) { openAnswers_.push_back(std::move(path)); }

void SimDialogs::AnswerNextSaveDialog(std::optional<std::string> path) { saveAnswers_.push_back(std::move(path)); }

}  // namespace ombrix::sim
