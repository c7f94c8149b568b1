#pragma once
// The rules by which Ombrix turns its command line into a program and its arguments:
// argument splitting, the argument text handed to the target, and the lookup of a
// document's program through its registered file type.

#include <functional>
#include <string>
#include <vector>

#include "platform/WindowOps.h"

namespace ombrix {

// The arguments after the program's own name, split the way the run-time does: blanks and
// control characters separate, a double quote opens or closes a run in which they do not,
// the quotes are dropped, and counting stops at the first empty argument.
std::vector<std::string> SplitCommandLineArguments(const std::string& commandLine);
// The arguments of a whole command line as they stand, the program's own name and the blanks
// after it taken away.
std::string ArgumentsAfterProgramName(const std::string& commandLine);

// The argument text for the target from the arguments after the target itself: each is
// followed by one blank, and one containing a blank is enclosed in double quotes.
std::string BuildTargetParams(const std::vector<std::string>& arguments);

// The extension, upper-cased in the user's locale, of the file-name part (after the last backslash or colon),
// from its last dot on; empty when that part has no dot.
std::string UpperExtension(IWindowOps& windows, const std::string& path);

// Reads the default (unnamed) value of a key below HKEY_CLASSES_ROOT; empty when missing.
using ReadClassDefault = std::function<std::string(const std::string& keyPath)>;

// Expands the environment references (%NAME%) of a text.
using ExpandEnvironment = std::function<std::string(const std::string& text)>;

// Reads a named value of a key below HKEY_CLASSES_ROOT; empty when missing.
using ReadClassValue = std::function<std::string(const std::string& keyPath, const std::string& valueName)>;

// What decides a document's program besides HKEY_CLASSES_ROOT's default for its extension.
struct DocumentChoice {
  // The program (ProgID) the user chose for the extension, which Windows uses since Windows
  // 8; empty when the user chose none.
  std::string userProgId;
  // Reads the "DelegateExecute" of a verb that has no command: a packaged app's.
  ReadClassValue readValue;
};

// Why Ombrix does not keep a packaged app: its windows are frames of the system's, and a
// frame hidden by another program leaves a taskbar button that does nothing.
inline constexpr char PackagedAppReason[] =
    "I can't keep packaged apps in the tray: Windows\r\nwould leave a dead button on the taskbar.\r\n";

struct DocumentCommand {
  bool resolved = false;
  std::string targetFile;    // the program, when resolved
  std::string targetParams;  // its arguments, when resolved
  std::string errorText;     // the message to show, when not
};

// Finds the program registered for a document's file type and builds its argument text.
// The command's environment references are expanded; the document's own name never is.
// The user's choice, when there is one, names the type instead of the extension's default.
DocumentCommand ResolveDocumentCommand(IWindowOps& windows, const std::string& document,
                                       const std::string& upperExtension, const ReadClassDefault& readDefault,
                                       const ExpandEnvironment& expand, const DocumentChoice& choice = {});

}  // namespace ombrix
