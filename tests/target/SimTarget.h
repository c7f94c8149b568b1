#pragma once
// OmbrixTarget.exe on the simulated desktop: the same command line gives the same windows,
// threads, child programs and timings as the real program. A hand-over (/handover) is not
// played here: the tests of the simulated desktop describe the copy already running with
// programs of their own.

#include <string>

#include "platform/sim/SimProcesses.h"
#include "tests/target/TargetOptions.h"

namespace ombrix::target {

inline sim::SimProgram SimTargetProgram(const TargetOptions& options) {
  sim::SimProgram program;
  auto add = [&](const std::vector<std::string>& captions, int thread) {
    for (unsigned round = 0; round < options.count; ++round) {
      for (const std::string& caption : captions) {
        sim::SimProgramWindow window;
        window.caption = caption;
        window.className = "OmbrixTargetWindow";
        window.appearAfter = options.delay;
        window.thread = thread;
        window.refusesClose = options.refuseClose;
        program.windows.push_back(window);
      }
    }
  };
  add(options.MainWindows(), 0);
  add(options.threadWindows, 1);
  if (options.renameAfter && !options.MainWindows().empty()) {
    program.windows[0].renameAfter = *options.renameAfter;
    program.windows[0].renamedCaption = options.renamedCaption;
  }
  if (options.exitAfter) program.exitAfter = *options.exitAfter;
  for (const std::string& child : options.children)
    program.children.push_back(SimTargetProgram(ParseTargetOptions(child)));
  program.passesStartupOn = options.passShow;
  // An unknown option ends the real program at once, before any window.
  if (!options.error.empty()) {
    program = sim::SimProgram{};
    program.exitAfter = 0;
  }
  return program;
}

// Makes `path` behave as OmbrixTarget.exe does.
inline void DefineSimTarget(sim::SimProcesses& processes, const std::string& path) {
  processes.DefineProgram(
      path, [](const std::string& commandLine) { return SimTargetProgram(ParseTargetCommandLine(commandLine)); });
}

}  // namespace ombrix::target
