#include "e2e/setup_walk.h"

#include "support/environment.h"

namespace {

const DWORD kActMs = 8000;
const char kLanguageTitle[] = "Language selection";
const int kPages[] = {wiz::kWelcome,       wiz::kLicence,    wiz::kAppFolder, wiz::kTasks,
                      wiz::kStartMenuPage, wiz::kInstalling, wiz::kFinish};

// Waits check more often than the driver's own: the install benchmark times the whole
// walk, and a person's reaction time is not what it measures.
const DWORD kPollMs = 10;

bool Until(const std::function<bool()>& condition, DWORD timeoutMs) {
  return DriverPoll(condition, timeoutMs, nullptr, kPollMs);
}

std::string PageName(int page) {
  switch (page) {
    case wiz::kWelcome:
      return "welcome";
    case wiz::kLicence:
      return "licence";
    case wiz::kAppFolder:
      return "application folder";
    case wiz::kTasks:
      return "additional tasks";
    case wiz::kStartMenuPage:
      return "start-menu folder";
    case wiz::kInstalling:
      return "installing";
    case wiz::kFinish:
      return "finish";
    default:
      return "no page";
  }
}

}  // namespace

namespace {
DWORD gLastStartError = 0;
}  // namespace

bool StartWithTemp(const std::string& program, const std::string& args, const std::string& temp, DriverProcess* out) {
  ScopedEnv tempVariable("TEMP", temp), tmpVariable("TMP", temp);
  const bool started = DriverStart(program, args, "", out);
  // Taken before the variables are put back, which may set another code.
  if (!started) gLastStartError = GetLastError();
  return started;
}

DWORD LastStartError() { return gLastStartError; }

std::string ChooseLanguage(DWORD pid, const std::string& language, DWORD timeoutMs) {
  HWND window = nullptr;
  if (!Until([&] { return (window = DriverWaitWindow(kLanguageTitle, pid, 0)) != nullptr; }, timeoutMs))
    return "no language window";
  HWND list = DriverWaitControl(window, wiz::kLanguageList, kActMs);
  int count = DriverComboCount(list);
  int index = -1;
  std::string names;
  for (int i = 0; i < count; ++i) {
    std::string name;
    if (!DriverComboItem(list, i, &name)) return "language list unreadable";
    names += " \"" + name + "\"";
    if (name == language) index = i;
  }
  if (index < 0) return "no \"" + language + "\" in the language list:" + names;
  if (!DriverComboSelect(list, index)) return "could not select the language";
  if (!DriverClick(DriverFindControl(window, wiz::kLanguageOk))) return "could not press OK";
  return "";
}

HWND WaitWizard(DWORD pid, const std::string& title, DWORD timeoutMs) {
  HWND wizard = nullptr;
  Until([&] { return (wizard = DriverWaitWindow(title, pid, 0)) != nullptr; }, timeoutMs);
  return wizard;
}

int ShownPage(HWND wizard) {
  for (int page : kPages)
    if (DriverVisible(DriverFindControl(wizard, page))) return page;
  return 0;
}

std::string WalkToFinish(HWND wizard, const WalkOptions& options, DWORD installTimeoutMs, std::vector<int>* pages) {
  HWND next = DriverWaitControl(wizard, wiz::kNext, kActMs);
  int page = 0;
  if (!Until([&] { return (page = ShownPage(wizard)) != 0; }, kActMs)) return "no wizard page shown";
  pages->push_back(page);
  while (page != wiz::kInstalling && page != wiz::kFinish) {
    if (page == wiz::kLicence && !DriverClick(DriverFindControl(wizard, wiz::kAccept)))
      return "could not accept the licence";
    if (page == wiz::kAppFolder && !options.installFolder.empty() &&
        !DriverSetText(DriverFindControl(wizard, wiz::kInstallFolder), options.installFolder))
      return "could not type the installation folder";
    if (!Until([&] { return DriverEnabled(next); }, kActMs)) return "Next stays disabled on " + PageName(page);
    if (!DriverClick(next)) return "could not press Next on " + PageName(page);
    int from = page;
    if (!Until([&] { return (page = ShownPage(wizard)) != from && page != 0; }, kActMs))
      return "Next did not leave " + PageName(from);
    pages->push_back(page);
  }
  if (page == wiz::kInstalling && !Until([&] { return (page = ShownPage(wizard)) == wiz::kFinish; }, installTimeoutMs))
    return "the installation did not reach the finish page (" + PageName(page) + " shown)";
  if (pages->back() != wiz::kFinish) pages->push_back(wiz::kFinish);
  return "";
}
