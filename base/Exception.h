#pragma once
// The system's error classes. Each carries its text in a string of its own: the standard
// library's error classes (std::runtime_error, std::logic_error) hold theirs in a second,
// older string implementation, which would come into each static program with them.

#include <exception>
#include <string>
#include <utility>

namespace ombrix {

class ErrorWithText : public std::exception {
 public:
  explicit ErrorWithText(std::string text) : text_(std::move(text)) {}
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  std::string text_;
};

// The base of the errors the user is told about: an error carrying the message shown.
class Exception : public ErrorWithText {
 public:
  explicit Exception(const std::string& message) : ErrorWithText(message) {}
  std::string Message() const { return what(); }
};

// A fault of the program itself (a form declared wrongly, a test that scripted too little):
// not the user's business, so the forms' error box lets it pass on.
class EProgramError : public ErrorWithText {
 public:
  using ErrorWithText::ErrorWithText;
};

}  // namespace ombrix
