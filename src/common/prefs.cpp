#include "common/prefs.h"

#include <atomic>
#include <climits>
#include <vector>

#include <windows.h>

#include "common/scoped.h"
#include "common/text.h"
#include "common/whole_file.h"

namespace {

enum class LineKind { Group, Comment, Key };

struct PrefLine {
  LineKind kind;
  std::string name;   // group name, comment text or key name
  std::string value;  // key lines only
};

struct PrefState {
  ScopedHandle file;
  std::wstring path;      // full path of the file, or the kept name after a failed open
  bool keptName = false;  // open failed: writes create the file at close
  bool modified = false;
  bool readOnly = false;
  bool mustEmpty = false;  // created over a non-empty file: rewrite even without writes
  bool utf8 = false;       // the file began with a byte-order mark
  std::vector<PrefLine> lines;
  int currentGroup = -1;  // index of the group line, -1 for the unnamed group
  bool pending = false;   // pendingGroup names a group that does not exist yet
  std::string pendingGroup;
  bool badGroup = false;  // the last selected name cannot be a group: no reads, no writes
};

std::atomic<unsigned> g_codePage{CP_ACP};

// The state is released at thread end without writing: a thread that ends with an open
// file has abandoned its changes. A fiber-local slot's callback runs at the end of every
// thread, however it was started; C++ thread_local destructors here run only for threads
// started through the pthread layer.
void WINAPI ReleaseState(void* data) {
  PrefState* s = static_cast<PrefState*>(data);
  if (!s) return;
  delete s;
}

PrefState& State() {
  static const DWORD slot = FlsAlloc(ReleaseState);
  PrefState* s = static_cast<PrefState*>(FlsGetValue(slot));
  if (!s) {
    s = new PrefState;
    if (!FlsSetValue(slot, s)) {
      // No slot to be had: the state still works, it is just not released at thread end.
      delete s;
      static thread_local PrefState fallback;
      return fallback;
    }
  }
  return *s;
}

bool HasFile(const PrefState& s) { return s.file.valid() || s.keptName; }

void Forget(PrefState& s) { s = PrefState(); }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& t) {
  size_t b = 0, e = t.size();
  while (b < e && IsBlank(t[b])) ++b;
  while (e > b && IsBlank(t[e - 1])) --e;
  return t.substr(b, e - b);
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Texts cross between the caller's code page and the file's encoding here.
std::string ToFileText(const PrefState& s, const std::string& t) {
  unsigned cp = g_codePage;
  if (!s.utf8 || cp == CP_UTF8) return t;
  return FromWide(ToWide(t, cp), CP_UTF8);
}

std::string FromFileText(const PrefState& s, const std::string& t) {
  unsigned cp = g_codePage;
  if (!s.utf8 || cp == CP_UTF8) return t;
  return FromWide(ToWide(t, CP_UTF8), cp);
}

void Parse(PrefState& s, std::string text) {
  if (text.size() > 2 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    s.utf8 = true;
    text.erase(0, 3);
  }
  size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);

  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    size_t start = pos;
    while (start < end && IsBlank(text[start])) ++start;
    std::string line = text.substr(start, end - start);
    pos = end + 1;
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++pos;

    if (line.empty()) continue;  // blank lines are not kept
    if (line[0] == '[') {
      size_t close = line.find(']');
      s.lines.push_back(
          {LineKind::Group, line.substr(1, close == std::string::npos ? std::string::npos : close - 1), {}});
    } else if (line[0] == ';') {
      size_t from = (line.size() > 1 && line[1] == ' ') ? 2 : 1;
      s.lines.push_back({LineKind::Comment, line.substr(from), {}});
    } else {
      size_t eq = line.find('=');
      std::string name = line.substr(0, eq);
      while (!name.empty() && IsBlank(name.back())) name.pop_back();
      std::string value;
      if (eq != std::string::npos) {
        size_t v = eq + 1;
        while (v < line.size() && IsBlank(line[v])) ++v;
        value = line.substr(v);
      }
      s.lines.push_back({LineKind::Key, name, value});
    }
  }
}

std::string Serialize(const PrefState& s) {
  std::string out;
  if (s.utf8) out = "\xEF\xBB\xBF\r\n";
  for (const PrefLine& l : s.lines) {
    switch (l.kind) {
      case LineKind::Group:
        out += "[" + l.name + "]";
        break;
      case LineKind::Comment:
        out += "; " + l.name;
        break;
      case LineKind::Key:
        out += l.name + " = " + l.value;
        break;
    }
    out += "\r\n";
  }
  return out;
}

bool ReadWhole(HANDLE h, std::string& out) {
  char buf[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h, buf, sizeof buf, &got, nullptr)) return false;
    if (got == 0) return true;
    out.append(buf, got);
  }
}

// The new content goes to a temporary file beside the target, which then replaces the
// target in one step, so a failure at any point leaves the old file whole.
bool SaveReplacing(PrefState& s, const std::string& bytes) {
  return WriteReplacing(s.path, L"zkp", [&](const std::wstring& temp) {
    bool ok = WriteWholeFile(temp, bytes);
    // Our own handle denies writers; it has to go before the target can be replaced.
    s.file.reset();
    return ok;
  });
}

std::wstring FullPath(const std::string& path) {
  std::wstring wide = ToWide(path, g_codePage);
  if (wide.empty()) return {};
  DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return wide;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(wide.c_str(), n, &full[0], nullptr);
  if (n == 0 || n >= full.size()) return wide;
  full.resize(n);
  return full;
}

// A key must read back as the same key, a value as the same value.
bool UsableKey(const std::string& key) {
  if (key.empty() || key[0] == '[' || key[0] == ';') return false;
  if (IsBlank(key.front()) || IsBlank(key.back())) return false;
  return key.find_first_of(std::string("\r\n=\0", 4)) == std::string::npos;
}

bool UsableValue(const std::string& value) {
  return value.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

bool UsableGroup(const std::string& name) { return name.find_first_of(std::string("\r\n]\0", 4)) == std::string::npos; }

// Index of the first key line called key (in file text) in the current group, or -1.
int FindKey(const PrefState& s, const std::string& key) {
  for (size_t i = static_cast<size_t>(s.currentGroup + 1); i < s.lines.size(); ++i) {
    const PrefLine& l = s.lines[i];
    if (l.kind == LineKind::Group) break;
    if (l.kind == LineKind::Key && SameName(l.name, key)) return static_cast<int>(i);
  }
  return -1;
}

// The raw value of key in the current group, or false when there is none to read.
bool FindValue(const std::string& key, std::string& value) {
  PrefState& s = State();
  if (!HasFile(s) || s.pending || s.badGroup) return false;
  int i = FindKey(s, ToFileText(s, key));
  if (i < 0) return false;
  value = s.lines[static_cast<size_t>(i)].value;
  return true;
}

}  // namespace

void SetPreferenceCodePage(unsigned codePage) { g_codePage = codePage; }

intptr_t OpenPreferences(const std::string& path) {
  ClosePreferences();
  PrefState& s = State();
  s.path = FullPath(path);
  const DWORD share[] = {FILE_SHARE_READ, FILE_SHARE_READ, FILE_SHARE_READ | FILE_SHARE_WRITE};
  const DWORD access[] = {GENERIC_READ | GENERIC_WRITE, GENERIC_READ, GENERIC_READ};
  for (int i = 0; i < 3 && !s.file && !s.path.empty(); ++i) {
    s.file.reset(
        CreateFileW(s.path.c_str(), access[i], share[i], nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    s.readOnly = i > 0;
  }
  if (!s.file) {
    s.readOnly = false;
    s.keptName = true;
    return 0;
  }
  std::string text;
  if (!ReadWhole(s.file.get(), text)) {
    // Keeping the name here would let a later close overwrite a file we never read.
    Forget(s);
    return 0;
  }
  Parse(s, std::move(text));
  return reinterpret_cast<intptr_t>(s.file.get());
}

intptr_t CreatePreferences(const std::string& path) {
  ClosePreferences();
  PrefState& s = State();
  s.path = FullPath(path);
  if (s.path.empty()) {
    Forget(s);
    return 0;
  }
  // The old content stays until the close replaces it, so a failed close loses nothing.
  s.file.reset(CreateFileW(s.path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!s.file) {
    Forget(s);
    return 0;
  }
  LARGE_INTEGER size;
  s.mustEmpty = !GetFileSizeEx(s.file.get(), &size) || size.QuadPart != 0;
  return reinterpret_cast<intptr_t>(s.file.get());
}

int ClosePreferences() {
  PrefState& s = State();
  int result = 1;
  if (HasFile(s) && (s.modified || s.mustEmpty)) {
    // Changes to a file we could only read are lost; say so.
    if (s.readOnly || !SaveReplacing(s, Serialize(s))) result = 0;
  }
  Forget(s);
  return result;
}

int PreferenceGroup(const std::string& name) {
  PrefState& s = State();
  if (!HasFile(s)) return 0;
  s.pending = false;
  s.pendingGroup.clear();
  s.badGroup = false;
  if (name.empty()) {
    s.currentGroup = -1;
    return 1;
  }
  if (!UsableGroup(name)) {
    s.badGroup = true;
    return 0;
  }
  std::string fileName = ToFileText(s, name);
  for (size_t i = 0; i < s.lines.size(); ++i) {
    if (s.lines[i].kind == LineKind::Group && SameName(s.lines[i].name, fileName)) {
      s.currentGroup = static_cast<int>(i);
      return 1;
    }
  }
  s.pending = true;
  s.pendingGroup = fileName;
  return 0;
}

std::string ReadPreferenceString(const std::string& key, const std::string& defaultValue) {
  std::string value;
  if (!FindValue(key, value)) return defaultValue;
  return FromFileText(State(), Trim(value));
}

int32_t ReadPreferenceLong(const std::string& key, int32_t defaultValue) {
  std::string value;
  if (!FindValue(key, value)) return defaultValue;
  // Read like atoi, but out-of-range numbers stop at the nearest 32-bit limit.
  size_t i = 0;
  while (i < value.size() && (value[i] == ' ' || (value[i] >= '\t' && value[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
  int64_t magnitude = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    magnitude = magnitude * 10 + (value[i] - '0');
    if (magnitude > limit) magnitude = limit;
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

int WritePreferenceString(const std::string& key, const std::string& value) {
  PrefState& s = State();
  if (!HasFile(s) || s.badGroup || !UsableKey(key) || !UsableValue(value)) return 0;
  if (s.pending) {
    s.lines.push_back({LineKind::Group, s.pendingGroup, {}});
    s.currentGroup = static_cast<int>(s.lines.size() - 1);
    s.pending = false;
    s.pendingGroup.clear();
  }
  std::string fileKey = ToFileText(s, key);
  std::string fileValue = ToFileText(s, value);
  int found = FindKey(s, fileKey);
  if (found >= 0) {
    s.lines[static_cast<size_t>(found)].name = fileKey;
    s.lines[static_cast<size_t>(found)].value = fileValue;
  } else {
    // A new key ends its group: just before the next group line, or at the end.
    size_t at = static_cast<size_t>(s.currentGroup + 1);
    while (at < s.lines.size() && s.lines[at].kind != LineKind::Group) ++at;
    s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), PrefLine{LineKind::Key, fileKey, fileValue});
  }
  s.modified = true;
  return 1;
}

int WritePreferenceLong(const std::string& key, int32_t value) {
  return WritePreferenceString(key, std::to_string(value));
}
