#pragma once
// The command line of the project's test target program (OmbrixTarget.exe), read the same
// way by the real program and by the simulated desktop's stand-in for it. The syntax is
// described in OmbrixTarget.cpp.

#include <optional>
#include <string>
#include <vector>

namespace ombrix::target {

struct TargetOptions {
  std::vector<std::string> windows;        // main-thread windows, in order
  std::vector<std::string> threadWindows;  // windows of the second thread, in order
  unsigned count = 1;
  unsigned delay = 0;
  bool refuseClose = false;
  std::optional<unsigned> renameAfter;
  std::string renamedCaption;
  std::optional<unsigned> exitAfter;
  std::vector<std::string> children;  // the options of each program started in turn
  bool passShow = false;              // children start with this program's own show command
  std::string handOver;               // the caption asked of a copy already running
  std::string error;                  // not empty when the command line is wrong

  // The main-thread captions when nothing is asked for.
  std::vector<std::string> MainWindows() const {
    return windows.empty() && threadWindows.empty() ? std::vector<std::string>{"OmbrixTarget"} : windows;
  }
};

// Blanks separate arguments; a double quote opens or closes a run in which they do not, and
// is dropped.
inline std::vector<std::string> SplitTargetArguments(const std::string& text) {
  std::vector<std::string> arguments;
  std::string current;
  bool quoted = false;
  bool any = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) arguments.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
      any = true;
    }
  }
  if (any) arguments.push_back(current);
  return arguments;
}

inline bool ParseTargetNumber(const std::string& text, unsigned& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return true;
}

// The options after the program name.
inline TargetOptions ParseTargetOptions(const std::string& arguments) {
  TargetOptions options;
  for (const std::string& argument : SplitTargetArguments(arguments)) {
    const size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : argument.substr(equals + 1);
    unsigned number = 0;
    if (name == "/window" && equals != std::string::npos) {
      options.windows.push_back(value);
    } else if (name == "/thread" && equals != std::string::npos) {
      options.threadWindows.push_back(value);
    } else if (name == "/count" && ParseTargetNumber(value, number) && number > 0) {
      options.count = number;
    } else if (name == "/delay" && ParseTargetNumber(value, number)) {
      options.delay = number;
    } else if (argument == "/refuseclose") {
      options.refuseClose = true;
    } else if (argument == "/passshow") {
      options.passShow = true;
    } else if (name == "/rename" && value.find(':') != std::string::npos &&
               ParseTargetNumber(value.substr(0, value.find(':')), number)) {
      options.renameAfter = number;
      options.renamedCaption = value.substr(value.find(':') + 1);
    } else if (name == "/exit" && ParseTargetNumber(value, number)) {
      options.exitAfter = number;
    } else if (name == "/handover" && equals != std::string::npos) {
      options.handOver = value;
    } else if (name == "/child" && equals != std::string::npos) {
      // Single quotes stand for the double quotes the child's own options need.
      std::string child = value;
      for (char& c : child) {
        if (c == '\'') c = '"';
      }
      options.children.push_back(child);
    } else {
      options.error = "Unknown option: " + argument;
      return options;
    }
  }
  return options;
}

// The options of a whole command line: the program name (a quoted run, or everything up to
// the first blank) is skipped.
inline TargetOptions ParseTargetCommandLine(const std::string& commandLine) {
  size_t start = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    const size_t close = commandLine.find('"', 1);
    start = close == std::string::npos ? commandLine.size() : close + 1;
  } else {
    start = commandLine.find_first_of(" \t");
    if (start == std::string::npos) start = commandLine.size();
  }
  return ParseTargetOptions(commandLine.substr(start));
}

}  // namespace ombrix::target
