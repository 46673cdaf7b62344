#include "builder/update_client_settings.h"

namespace {

std::string ReplaceEvery(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

}  // namespace

UpdateClientSettings UpdateClientSettingsFor(const SetupProject& project) {
  UpdateClientSettings s;
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

UpdaterSettings UpdaterRecord(const UpdateClientSettings& s) {
  UpdaterSettings r{};
  r.version = s.version.c_str();
  r.mainAddress = s.mainAddress.c_str();
  r.alternativeAddress1 = s.alternativeAddress1.c_str();
  r.alternativeAddress2 = s.alternativeAddress2.c_str();
  r.language = s.language;
  r.productName = s.productName.c_str();
  r.programFile = s.programFile.c_str();
  r.windowTitle = s.windowTitle.c_str();
  r.terminateFlag = s.terminateFlag;
  r.runFlag = s.runFlag;
  r.runGuard = nullptr;
  return r;
}
