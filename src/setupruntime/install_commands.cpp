// The author's commands, run after everything else is in place.
#include "setupruntime/install_steps.h"
#include "setupruntime/program_start.h"
#include "setupruntime/resources.h"

void RunInstallCommands(const InstallRun& run) {
  for (const CommandRow& command : run.in->commands) {
    std::wstring program = Resolve(run, command.program);
    if (command.type == 1) {
      RunCommandLine(program);
      continue;
    }
    int options = 0;
    if (command.options.find(L"-wait") != std::wstring::npos) options |= kStartWait;
    if (command.options.find(L"-hide") != std::wstring::npos) options |= kStartHidden;
    StartProgram(program, Resolve(run, command.parameters), FolderPart(program), options);
  }
}
