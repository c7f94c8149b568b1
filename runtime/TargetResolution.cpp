#include "runtime/TargetResolution.h"

#include <algorithm>

namespace ombrix {

namespace {

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= ' ' && c != '\0'; }

// One argument from `at` on; `at` moves past it.
std::string NextArgument(const std::string& line, size_t& at) {
  while (at < line.size() && IsSeparator(line[at])) ++at;
  std::string argument;
  bool quoted = false;
  while (at < line.size() && line[at] != '\0' && (quoted || !IsSeparator(line[at]))) {
    if (line[at] == '"') {
      quoted = !quoted;
    } else {
      argument += line[at];
    }
    ++at;
  }
  return argument;
}

void ReplaceFirst(std::string& text, const std::string& what, const std::string& with) {
  const size_t at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), with);
}

// Stands for the document while the command's placeholders are removed: control
// characters cannot occur in a file name, so a "%2" inside the document's own name
// survives.
constexpr char DocumentMark = '\x01';

}  // namespace

std::vector<std::string> SplitCommandLineArguments(const std::string& commandLine) {
  size_t at = 0;
  NextArgument(commandLine, at);  // the program's own name
  std::vector<std::string> arguments;
  for (;;) {
    std::string argument = NextArgument(commandLine, at);
    if (argument.empty()) break;
    arguments.push_back(argument);
  }
  return arguments;
}

std::string ArgumentsAfterProgramName(const std::string& commandLine) {
  size_t at = 0;
  NextArgument(commandLine, at);
  while (at < commandLine.size() && IsSeparator(commandLine[at])) ++at;
  return commandLine.substr(at);
}

std::string BuildTargetParams(const std::vector<std::string>& arguments) {
  std::string params;
  for (const std::string& argument : arguments) {
    params += argument.find(' ') == std::string::npos ? argument + " " : "\"" + argument + "\" ";
  }
  return params;
}

std::string UpperExtension(IWindowOps& windows, const std::string& path) {
  const size_t nameStart = path.find_last_of("\\:");
  const std::string name = nameStart == std::string::npos ? path : path.substr(nameStart + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? "" : windows.CharUpperBuffA(name.substr(dot));
}

DocumentCommand ResolveDocumentCommand(IWindowOps& windows, const std::string& document,
                                       const std::string& upperExtension, const ReadClassDefault& readDefault,
                                       const ExpandEnvironment& expand, const DocumentChoice& choice) {
  DocumentCommand result;
  std::string type = upperExtension;
  const std::string typeName = choice.userProgId.empty() ? readDefault(upperExtension) : choice.userProgId;
  if (!typeName.empty()) type = typeName;
  std::string verb = readDefault(type + "\\Shell");
  if (verb.empty()) verb = "Open";
  const std::string verbKey = type + "\\Shell\\" + verb;
  std::string command = readDefault(verbKey + "\\Command");
  if (command.empty() && choice.readValue &&
      (!choice.readValue(verbKey + "\\Command", "DelegateExecute").empty() ||
       !choice.readValue(verbKey, "DelegateExecute").empty())) {
    // A packaged app is started by the shell alone; nothing is started here.
    result.errorText = "\"" + document + "\" opens in a packaged app.\r\n\r\n" + PackagedAppReason;
    return result;
  }
  if (command.empty()) {
    result.errorText = "Unsupported format \"" + type + "\".\r\n\r\nI don't know how to run this\r\nfile...\r\n";
    return result;
  }

  if (command.find("%1") != std::string::npos) {
    ReplaceFirst(command, "%1", std::string(1, DocumentMark));
  } else if (document.find(' ') != std::string::npos) {
    command += std::string(" \"") + DocumentMark + "\"";
  } else {
    command += std::string(" ") + DocumentMark;
  }
  for (int n = 1; n <= 32; ++n) ReplaceFirst(command, "%" + std::to_string(n), "");
  // Windows registers many commands with references such as %SystemRoot% and expands them
  // before running them. Only now, with the placeholders gone: a "%1" before a reference
  // would pair with its opening sign and keep it from expanding.
  if (expand) command = expand(command);
  ReplaceFirst(command, std::string(1, DocumentMark), document);

  const std::string upper = windows.CharUpperBuffA(command);
  size_t position = std::string::npos;
  for (const char* extension : {".EXE", ".COM", ".BAT"}) {
    position = upper.find(extension);
    if (position != std::string::npos) break;
  }
  if (position == std::string::npos) {
    result.errorText =
        "Unable to launch " + command + ".\r\n\r\nThere has been an internal command-line break down error.";
    return result;
  }

  // The program is everything up to the extension and the one character after it.
  const size_t programLength = std::min(position + 5, command.size());
  std::string program = command.substr(0, programLength);
  size_t first = 0;
  while (first < program.size() && (program[first] == ' ' || program[first] == '"')) ++first;
  size_t last = program.size();
  while (last > first && (program[last - 1] == ' ' || program[last - 1] == '"')) --last;
  std::string params = command.substr(programLength);
  const size_t paramsStart = params.find_first_not_of(' ');

  result.resolved = true;
  result.targetFile = program.substr(first, last - first);
  result.targetParams = paramsStart == std::string::npos ? "" : params.substr(paramsStart);
  return result;
}

}  // namespace ombrix
