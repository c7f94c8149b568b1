#pragma once
// Console programs on a system that shows them in Windows Terminal: the program's own
// console window is then not the window on the screen, and Terminal's window holds other
// programs' tabs too, so neither can be kept in the tray.

#include <string>

#include "platform/Platform.h"

namespace ombrix {

// True for a batch file, an MS-DOS program, or a program built for the console subsystem.
bool IsConsoleProgram(IFiles& files, const std::string& program, const std::string& upperExtension);

// True when Windows shows console programs in Windows Terminal rather than in a console
// window of their own.
bool ConsolesGoToTerminal(Platform& platform);

// What Ombrix says, before starting anything, when it cannot keep a console program.
std::string ConsoleInTerminalText(const std::string& program);

}  // namespace ombrix
