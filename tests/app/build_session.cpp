#include "app/build_session.h"

#include <commctrl.h>

#include <algorithm>

#include "app/controls.h"
#include "support/environment.h"

namespace {

const DWORD kStartMs = 20000;  // a first Wine start of a program can be slow
const DWORD kActMs = 8000;
const char kTitle[] = "Zendrikolbar";
// The build clears the log first; this text shows that it has not done so yet.
const char kLogMarker[] = "(before the build)";

bool CopyInto(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

bool SetProjectValue(std::string* project, const std::string& section, const std::string& key,
                     const std::string& value) {
  size_t at = project->find("[" + section + "]\r\n");
  if (at == std::string::npos) return false;
  at = project->find("\r\n" + key + " = ", at);
  if (at == std::string::npos) return false;
  at += 2 + key.size() + 3;
  size_t end = project->find("\r\n", at);
  if (end == std::string::npos) return false;
  project->replace(at, end - at, value);
  return true;
}

bool AddProjectFileRow(std::string* project, const std::string& path, const std::string& size,
                       const std::string& type) {
  const std::string header = "[Files/Dirs]\r\n";
  size_t at = project->find(header);
  if (at == std::string::npos) return false;
  project->insert(at + header.size(), path + "\r\n" + size + "\r\n" + type + "\r\n");
  return true;
}

std::vector<std::string> LogLines(HWND log) {
  std::vector<std::string> lines;
  std::string text = DriverText(log), line;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      if (!line.empty()) lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
  for (const std::string& l : lines)
    if (l == line) return true;
  return false;
}

BuildSession::~BuildSession() { Stop(); }

bool BuildSession::Prepare(const std::string& root) {
  root_ = root;
  prog_ = root + "prog\\";
  temp_ = root + "temp\\";
  if (!CreateDirectoryA(root_.c_str(), nullptr) || !CreateDirectoryA(prog_.c_str(), nullptr) ||
      !CreateDirectoryA(temp_.c_str(), nullptr) || !CreateDirectoryA((prog_ + "Languages").c_str(), nullptr))
    return false;
  if (!CopyInto("Zendrikolbar.exe", prog_ + "Zendrikolbar.exe")) return false;
  // The build packs default.zkl when no language is checked; a stand-in serves when the
  // build folder has none yet.
  if (!CopyInto("default.zkl", prog_ + "default.zkl") && !PutBytes(prog_ + "default.zkl", "[Language]\r\n"))
    return false;
  for (const std::string& name : FolderEntries("Languages\\"))
    if (Lower(name).size() > 4 && Lower(name).substr(name.size() - 4) == ".zkl")
      CopyInto("Languages\\" + name, prog_ + "Languages\\" + name);
  return true;
}

bool BuildSession::Start(const std::string& project) {
  answers_ = root_ + "answers.txt";
  if (!PutBytes(answers_, "")) return false;
  bool started;
  {
    // The program inherits these from here; the test's own stay as they were.
    ScopedEnv temp("TEMP", temp_), tmp("TMP", temp_), answers("ZK_TEST_REQUESTERS", answers_);
    started = DriverStart(prog_ + "Zendrikolbar.exe", "\"" + project + "\"", prog_, &p_);
  }
  if (!started) return false;
  main_ = DriverWaitWindowPrefix(kTitle, p_.id, kStartMs);
  return main_ != nullptr && DriverWaitControl(main_, ctl::kBuildLog, kActMs) != nullptr;
}

bool BuildSession::Answer(const std::string& line) {
  HANDLE h = CreateFileA(answers_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  std::string text = line + "\r\n";
  DWORD written = 0;
  bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
  return CloseHandle(h) && ok;
}

void BuildSession::Stop() {
  if (DriverRunning(p_) && !(main_ && DriverCloseAndWait(main_, p_, kActMs, nullptr))) DriverKill(p_);
  DriverRelease(&p_);
  main_ = nullptr;
}

HWND BuildSession::Control(int id) const { return DriverFindControl(main_, id); }

bool BuildSession::Build() {
  HWND log = Control(ctl::kBuildLog);
  if (!WaitFor([&] { return DriverEnabled(main_); }, kActMs) || !DriverSetText(log, kLogMarker) ||
      !DriverMenuCommand(main_, ctl::kMenuBuild))
    return false;
  // Once the log is cleared, the main window has been disabled in the same step.
  return WaitFor([&] { return DriverText(log) != kLogMarker; }, kActMs);
}

bool BuildSession::AnswerRunQuestion(int button, DWORD timeoutMs, std::string* text) {
  return DriverAnswerMessageBox(p_.id, kTitle, button, timeoutMs, text);
}

bool BuildSession::WaitBuildEnd(DWORD timeoutMs) {
  return WaitFor([&] { return DriverEnabled(main_); }, timeoutMs);
}

int BuildSession::ProgressPosition() const {
  DWORD_PTR pos = 0;
  if (!SendMessageTimeoutW(Control(ctl::kBuildProgress), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kDriverSendTimeoutMs,
                           &pos))
    return -1;
  return static_cast<int>(pos);
}
