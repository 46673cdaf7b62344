// Requesters and message boxes: the common dialogs, hooks for in-process tests and the
// answer script for whole-program tests.
#include "common/requesters.h"

#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "common/path_split.h"
#include "common/scoped.h"

namespace {

std::mutex g_lock;
RequesterHooks g_hooks;
// The answer script in use and how many of its lines have been taken; another script
// starts from its first line.
std::string g_scriptName;
size_t g_scriptAnswersUsed = 0;

RequesterHooks Hooks() {
  std::lock_guard<std::mutex> g(g_lock);
  return g_hooks;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The dialogs belong to the window the user is working in, so that it cannot take input
// while they are up.
HWND Owner() { return GetActiveWindow(); }

// When ZK_TEST_REQUESTERS names a file: true with the next unused answer in *line (empty
// once the file has none left). False when no script is in use.
bool NextScriptAnswer(std::string* line) {
  char name[MAX_PATH * 2];
  DWORD n = GetEnvironmentVariableA("ZK_TEST_REQUESTERS", name, sizeof(name));
  if (n == 0 || n >= sizeof(name)) return false;
  line->clear();
  ScopedHandle h(CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string bytes;
  if (h) {
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h.get(), buf, sizeof(buf), &got, nullptr) && got > 0) bytes.append(buf, got);
    h.reset();
  }
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    std::string l = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!l.empty() && l.back() == '\r') l.pop_back();
    lines.push_back(l);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  std::lock_guard<std::mutex> g(g_lock);
  if (g_scriptName != name) {
    g_scriptName = name;
    g_scriptAnswersUsed = 0;
  }
  if (g_scriptAnswersUsed < lines.size()) *line = lines[g_scriptAnswersUsed++];
  return true;
}

// What the system's file dialogs do after a choice; the tool must not depend on it.
void EnterFolderOf(const std::string& path) {
  std::string folder = PathFolder(path);
  if (!folder.empty()) SetCurrentDirectoryA(folder.c_str());
}

std::string WithTrailingSlash(const std::string& folder) {
  if (folder.empty() || folder.back() == '\\' || folder.back() == '/') return folder;
  return folder + "\\";
}

struct FileStart {
  std::string folder;  // where the dialog starts; empty: where the system puts it
  std::string name;    // the proposed file name
};

FileStart SplitDefaultFile(const std::string& defaultFile) {
  return {PathFolder(defaultFile), PathFileName(defaultFile)};
}

OPENFILENAMEA FileDialogRecord(const std::string& title, const FileStart& start, const std::string& filter,
                               int patternIndex, std::vector<char>& buffer) {
  if (start.name.size() < buffer.size()) std::memcpy(buffer.data(), start.name.c_str(), start.name.size() + 1);
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = Owner();
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(patternIndex < 0 ? 1 : patternIndex + 1);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = start.folder.empty() ? nullptr : start.folder.c_str();
  ofn.lpstrTitle = title.c_str();
  return ofn;
}

std::string DialogOpenFile(const std::string& title, const std::string& defaultFile, const std::string& patterns,
                           int patternIndex, std::vector<std::string>* multiple) {
  std::string filter = BuildRequesterFilter(patterns);
  FileStart start = SplitDefaultFile(defaultFile);
  // A multiple selection returns the folder and every name in one buffer.
  std::vector<char> buffer(multiple ? 256 * 1024 : MAX_PATH * 4, '\0');
  OPENFILENAMEA ofn = FileDialogRecord(title, start, filter, patternIndex, buffer);
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  if (multiple) ofn.Flags |= OFN_ALLOWMULTISELECT;
  if (!GetOpenFileNameA(&ofn)) return "";
  if (!multiple) return buffer.data();
  *multiple = SplitMultipleSelection(buffer.data(), buffer.size());
  return multiple->empty() ? std::string() : multiple->front();
}

std::string DialogSaveFile(const std::string& title, const std::string& defaultFile, const std::string& patterns,
                           int patternIndex, int* chosenPattern) {
  std::string filter = BuildRequesterFilter(patterns);
  FileStart start = SplitDefaultFile(defaultFile);
  std::vector<char> buffer(MAX_PATH * 4, '\0');
  OPENFILENAMEA ofn = FileDialogRecord(title, start, filter, patternIndex, buffer);
  // The callers ask about overwriting themselves.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  if (!GetSaveFileNameA(&ofn)) return "";
  if (chosenPattern) *chosenPattern = ofn.nFilterIndex > 0 ? static_cast<int>(ofn.nFilterIndex) - 1 : 0;
  return buffer.data();
}

int CALLBACK BrowseCallback(HWND w, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data) SendMessageA(w, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

std::string DialogPath(const std::string& title, const std::string& initialPath) {
  // The folder browser selects "C:\x" but not always "C:\x\"; a drive root keeps its "\".
  std::string initial = initialPath;
  while (initial.size() > 3 && (initial.back() == '\\' || initial.back() == '/')) initial.pop_back();
  char display[MAX_PATH] = "";
  BROWSEINFOA bi = {};
  bi.hwndOwner = Owner();
  bi.pszDisplayName = display;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  bi.lpfn = BrowseCallback;
  bi.lParam = initial.empty() ? 0 : reinterpret_cast<LPARAM>(initial.c_str());
  PIDLIST_ABSOLUTE pidl = SHBrowseForFolderA(&bi);
  if (!pidl) return "";
  char path[MAX_PATH] = "";
  BOOL ok = SHGetPathFromIDListA(pidl, path);
  CoTaskMemFree(pidl);
  return ok && path[0] ? WithTrailingSlash(path) : std::string();
}

bool DialogFont(FontChoice& inOut) {
  int dpi = 96;
  {
    ScopedWindowDc screen(nullptr);
    if (screen) dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  LOGFONTA lf = {};
  lstrcpynA(lf.lfFaceName, inOut.name.c_str(), LF_FACESIZE);
  if (inOut.size > 0) lf.lfHeight = -MulDiv(inOut.size, dpi, 72);
  lf.lfWeight = (inOut.style & kFontBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (inOut.style & kFontItalic) ? TRUE : FALSE;
  lf.lfUnderline = (inOut.style & kFontUnderline) ? TRUE : FALSE;
  lf.lfStrikeOut = (inOut.style & kFontStrikeOut) ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  CHOOSEFONTA cf = {};
  cf.lStructSize = sizeof(cf);
  cf.hwndOwner = Owner();
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  cf.rgbColors = inOut.colour;
  if (!ChooseFontA(&cf)) return false;
  inOut.name = lf.lfFaceName;
  inOut.size = cf.iPointSize / 10;
  inOut.colour = cf.rgbColors;
  inOut.style = (lf.lfWeight >= FW_BOLD ? kFontBold : 0) | (lf.lfItalic ? kFontItalic : 0) |
                (lf.lfUnderline ? kFontUnderline : 0) | (lf.lfStrikeOut ? kFontStrikeOut : 0);
  return true;
}

}  // namespace

std::string BuildRequesterFilter(const std::string& patterns) {
  if (patterns.empty()) return "";
  std::vector<std::string> parts = Split(patterns, '|');
  // A description without its pattern cannot be offered.
  if (parts.size() % 2) parts.pop_back();
  if (parts.empty()) return "";
  std::string filter;
  for (const std::string& p : parts) {
    filter += p;
    filter += '\0';
  }
  filter += '\0';
  return filter;
}

std::vector<std::string> SplitMultipleSelection(const char* buffer, size_t size) {
  std::vector<std::string> strings;
  size_t pos = 0;
  while (pos < size && buffer[pos]) {
    size_t end = pos;
    while (end < size && buffer[end]) ++end;
    strings.emplace_back(buffer + pos, end - pos);
    pos = end + 1;
  }
  if (strings.size() <= 1) return strings;
  std::string folder = WithTrailingSlash(strings.front());
  std::vector<std::string> paths;
  for (size_t i = 1; i < strings.size(); ++i) paths.push_back(folder + strings[i]);
  return paths;
}

std::vector<std::string> ParseFileAnswer(const std::string& line) {
  std::vector<std::string> paths;
  for (const std::string& p : Split(line, '|'))
    if (!p.empty()) paths.push_back(p);
  return paths;
}

bool ParseFontAnswer(const std::string& line, FontChoice* out) {
  std::vector<std::string> f = Split(line, '|');
  if (f.size() != 4 || f[0].empty()) return false;
  char* end = nullptr;
  long size = std::strtol(f[1].c_str(), &end, 10);
  if (f[1].empty() || *end || size <= 0) return false;
  unsigned long colour = std::strtoul(f[2].c_str(), &end, 0);
  if (f[2].empty() || *end || colour > 0xFFFFFFul) return false;
  long style = std::strtol(f[3].c_str(), &end, 10);
  if (f[3].empty() || *end || style < 0 || style > 15) return false;
  out->name = f[0];
  out->size = static_cast<int>(size);
  out->colour = static_cast<COLORREF>(colour);
  out->style = static_cast<int>(style);
  return true;
}

int PatternIndexForPath(const std::string& patterns, const std::string& path) {
  std::string extension = PathExtension(path);
  if (extension.empty()) return -1;
  std::string wanted = "*." + Lower(extension);
  std::vector<std::string> parts = Split(patterns, '|');
  for (size_t i = 1; i < parts.size(); i += 2) {
    for (std::string p : Split(parts[i], ';')) {
      size_t first = p.find_first_not_of(' ');
      size_t last = p.find_last_not_of(' ');
      if (first == std::string::npos) continue;
      if (Lower(p.substr(first, last - first + 1)) == wanted) return static_cast<int>(i / 2);
    }
  }
  return -1;
}

void SetRequesterHooks(const RequesterHooks& hooks) {
  std::lock_guard<std::mutex> g(g_lock);
  g_hooks = hooks;
}

std::string OpenFileRequester(const std::string& title, const std::string& defaultFile, const std::string& patterns,
                              int patternIndex, std::vector<std::string>* multiple) {
  RequesterHooks hooks = Hooks();
  if (hooks.openFile) return hooks.openFile(title, defaultFile, patterns, patternIndex, multiple);
  if (multiple) multiple->clear();
  std::string line;
  if (!NextScriptAnswer(&line)) return DialogOpenFile(title, defaultFile, patterns, patternIndex, multiple);
  std::vector<std::string> paths = ParseFileAnswer(line);
  if (paths.empty()) return "";
  if (multiple) *multiple = paths;
  EnterFolderOf(paths.front());
  return paths.front();
}

std::string SaveFileRequester(const std::string& title, const std::string& defaultFile, const std::string& patterns,
                              int patternIndex, int* chosenPattern) {
  RequesterHooks hooks = Hooks();
  if (hooks.saveFile) return hooks.saveFile(title, defaultFile, patterns, patternIndex, chosenPattern);
  std::string line;
  if (!NextScriptAnswer(&line)) return DialogSaveFile(title, defaultFile, patterns, patternIndex, chosenPattern);
  std::vector<std::string> paths = ParseFileAnswer(line);
  if (paths.empty()) return "";
  if (chosenPattern) {
    int index = PatternIndexForPath(patterns, paths.front());
    *chosenPattern = index >= 0 ? index : patternIndex;
  }
  EnterFolderOf(paths.front());
  return paths.front();
}

std::string PathRequester(const std::string& title, const std::string& initialPath) {
  RequesterHooks hooks = Hooks();
  if (hooks.path) return hooks.path(title, initialPath);
  std::string line;
  if (!NextScriptAnswer(&line)) return DialogPath(title, initialPath);
  return WithTrailingSlash(line);
}

bool FontRequester(FontChoice& inOut) {
  RequesterHooks hooks = Hooks();
  if (hooks.font) return hooks.font(inOut);
  std::string line;
  if (!NextScriptAnswer(&line)) return DialogFont(inOut);
  return ParseFontAnswer(line, &inOut);
}

int MessageRequester(const std::string& title, const std::string& text, unsigned mbFlags) {
  RequesterHooks hooks = Hooks();
  if (hooks.message) return hooks.message(title, text, mbFlags);
  HWND owner = Owner();
  // Without an owner the box still keeps every window of the thread from taking input.
  return MessageBoxA(owner, text.c_str(), title.c_str(), mbFlags | (owner ? 0u : static_cast<unsigned>(MB_TASKMODAL)));
}
