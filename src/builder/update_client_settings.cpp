#include "builder/update_client_settings.h"

namespace {

std::string ReplaceEvery(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

}  // namespace

UpdaterSettingsBlock UpdateClientSettingsFor(const SetupProject& project) {
  UpdaterSettingsBlock s;
  s.version = ReplaceEvery(project.productVersion, "<appversion>", project.programVersion);
  s.mainAddress = project.mainAddress;
  s.alternativeAddress1 = project.altAddress1;
  s.alternativeAddress2 = project.altAddress2;
  s.language = project.updaterLanguage == 1 ? 1 : 0;
  s.productName = ReplaceEvery(project.productName, "<appname>", project.programName);
  s.programFile = project.updaterProgramFile;
  s.windowTitle = s.productName + " Update";
  s.terminateFlag = project.updaterTerminate;
  s.runFlag = project.updaterRunProgram;
  return s;
}
