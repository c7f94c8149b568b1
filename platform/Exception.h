#pragma once
// The base of the system's error classes: an error carrying the message shown to the user.

#include <stdexcept>
#include <string>

namespace ombrix {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

}  // namespace ombrix
