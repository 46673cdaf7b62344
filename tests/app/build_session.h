// A private Zendrikolbar.exe for build tests and the build benchmark: its own program
// folder (with the language files beside it) and its own TEMP, started on a project file,
// and the helpers to run a build and read what it wrote.
#ifndef ZK_TESTS_APP_BUILD_SESSION_H
#define ZK_TESTS_APP_BUILD_SESSION_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/test_paths.h"
#include "driver/driver.h"
#include "support/file_bytes.h"
#include "support/waits.h"

// A project file's text with the value of `key` in `[section]` replaced. False when the
// key is not there.
bool SetProjectValue(std::string* project, const std::string& section, const std::string& key,
                     const std::string& value);
// Inserts a row at the top of the files list: a file, or a folder ending in "\".
bool AddProjectFileRow(std::string* project, const std::string& path, const std::string& size, const std::string& type);

// The non-empty lines of the build log.
std::vector<std::string> LogLines(HWND log);
bool HasLine(const std::vector<std::string>& lines, const std::string& line);

class BuildSession {
 public:
  ~BuildSession();
  // Makes root (ending in "\") with "prog\" (Zendrikolbar.exe, default.zkl and Languages
  // from the current folder) and "temp\", which becomes the program's TEMP.
  bool Prepare(const std::string& root);
  // Starts the program with the project file and waits for its main window. Its file and
  // folder requesters answer from a script (ZK_TEST_REQUESTERS), empty at first: cancel.
  bool Start(const std::string& project);
  // Appends the answer of the next requester to the script.
  bool Answer(const std::string& line);
  // Closes the program; kills it when it does not end in time.
  void Stop();

  HWND Control(int id) const;
  // Runs Build from the menu; false when the main window never took the command.
  bool Build();
  // Waits for the question after a successful build and answers it (IDYES, IDNO).
  bool AnswerRunQuestion(int button, DWORD timeoutMs, std::string* text = nullptr);
  // Waits until the build has ended: the main window is enabled again.
  bool WaitBuildEnd(DWORD timeoutMs);
  int ProgressPosition() const;

  const std::string& root() const { return root_; }
  const std::string& prog() const { return prog_; }
  const std::string& temp() const { return temp_; }
  HWND main() const { return main_; }
  const DriverProcess& process() const { return p_; }

 private:
  std::string root_, prog_, temp_, answers_;
  DriverProcess p_;
  HWND main_ = nullptr;
};

#endif
