#include "updateclient/run_client.h"

#include <windows.h>
#include <shellapi.h>

#include "common/guid_text.h"
#include "common/images.h"
#include "common/path_split.h"
#include "common/text.h"
#include "updateclient/client_file.h"
#include "updateclient/pictures.h"
#include "updateclient/resources.h"
#include "updateclient/wizard.h"

namespace {

std::wstring OwnFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  if (n == 0 || n > MAX_PATH) return std::wstring();
  std::wstring folder(buffer, n);
  if (folder.back() != L'\\') folder += L'\\';
  return folder;
}

// A new folder TEMP + GUID + "\"; empty when it cannot be made.
std::wstring NewTempFolder() {
  std::wstring temp = TempFolder();
  if (temp.empty()) return std::wstring();
  std::wstring folder = temp + NewGuidText() + L"\\";
  return CreateDirectoryW(folder.c_str(), nullptr) ? folder : std::wstring();
}

std::wstring Lower(std::wstring s) {
  if (!s.empty()) CharLowerBuffW(&s[0], static_cast<DWORD>(s.size()));
  return s;
}

// "/getversion": the client's own version and the product version it considers
// installed. Into the output it was given when there is one, else into a console of its
// own that stays until Enter.
void ShowVersion(const std::wstring& ownFile) {
  UpdaterSettingsBlock settings;
  ReadUpdaterSettings(ownFile, ClientImageSize(), &settings);
  std::string rule(40, '=');
  std::string text = rule + "\r\n\r\nPellucast\r\nVersion: 1.0.1\r\nMade with Zendrikolbar\r\n\r\n" + rule + "\r\n" +
                     settings.version + "\r\n";
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  bool own = false;
  if (!out || out == INVALID_HANDLE_VALUE) {
    if (!AllocConsole()) return;
    own = true;
    out = GetStdHandle(STD_OUTPUT_HANDLE);
  }
  DWORD written = 0;
  WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  if (in && in != INVALID_HANDLE_VALUE) {
    char c = 0;
    DWORD got = 0;
    while (ReadFile(in, &c, 1, &got, nullptr) && got == 1 && c != '\n' && c != '\r') {
    }
  }
  if (own) FreeConsole();
}

}  // namespace

std::vector<std::wstring> CommandArguments() {
  std::vector<std::wstring> args;
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!list) return args;
  for (int i = 1; i < count; ++i) args.push_back(list[i]);
  LocalFree(list);
  return args;
}

bool RunGuardAllows(const std::string& runGuard, const std::wstring& firstArgument) {
  return runGuard.empty() || AnsiToWide(runGuard) == firstArgument;
}

int RunUpdateClient() {
  std::vector<std::wstring> args = CommandArguments();
  std::wstring first = args.empty() ? std::wstring() : args[0];
  std::wstring ownFile = OwnFile();
  if (Lower(first) == L"/updateversion") {
    TakeOldClientsPlace(ownFile, args.size() > 1 ? args[1] : std::wstring(), kOldClientWaitMs);
    return 0;
  }
  if (Lower(first) == L"/getversion") {
    ShowVersion(ownFile);
    return 0;
  }

  ClientState state;
  state.firstArgument = first;
  state.clientFile = ownFile;
  state.clientFolder = PathFolder(ownFile);
  // A client without a block of its own runs with empty settings and finds no server.
  ReadUpdaterSettings(ownFile, ClientImageSize(), &state.settings);
  // Before anything is made in TEMP: a guarded client that is not to run leaves nothing.
  if (!RunGuardAllows(state.settings.runGuard, first)) return 0;

  RegisterPngDecoder();
  // A relative program file in the settings names a file beside the client.
  SetCurrentDirectoryW(state.clientFolder.c_str());
  state.animationFolder = NewTempFolder();
  if (state.animationFolder.empty()) return 0;
  WriteResourceFile(ZK_RES_CLIENT_LOADING_GIF, state.animationFolder + L"loading.gif");
  state.scriptFolder = NewTempFolder();
  if (state.scriptFolder.empty()) {
    RemoveDirectoryW(state.animationFolder.c_str());
    return 0;
  }
  state.commands.clientFolder = state.clientFolder;
  state.commands.clientFile = ownFile;
  state.commands.folders = CurrentSpecialFolders();
  return RunWizard(state);
}
