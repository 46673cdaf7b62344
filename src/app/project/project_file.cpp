#include "app/project/project_file.h"

#include <windows.h>

#include <climits>
#include <cstdint>

#include "common/prefs.h"
#include "common/scoped.h"
#include "common/whole_file.h"
#include "model/project_fields.h"
#include "model/project_format.h"
#include "model/setup_files.h"

namespace {

using namespace zkp;

// Project files keep a command's type as Commands.dat does.
const char* const kExecute = command_types::kExecute.narrow;
const char* const kShellExecute = command_types::kShellExecute.narrow;

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

// ---- checks before saving ------------------------------------------------------------

// Why text cannot be stored in a line of the file so that it reads back the same, or null.
// The preference part refuses the same characters.
const char* Unstorable(const std::string& text) {
  if (text.find_first_of("\r\n") != std::string::npos) return "holds a line break";
  if (text.find('\0') != std::string::npos) return "holds a NUL character";
  return nullptr;
}

// A row text equal to a section marker would end its section early when read back.
const char* UnstorableRowText(const std::string& text) {
  for (const char* marker : kSectionMarkers)
    if (text == marker) return "is a section marker of project files";
  return Unstorable(text);
}

bool CheckField(const std::string& label, const std::string& text, bool rowText, std::string* error) {
  const char* why = rowText ? UnstorableRowText(text) : Unstorable(text);
  if (!why) return true;
  SetError(error, "The project cannot be saved: \"" + label + "\" " + why + ".");
  return false;
}

std::string RowLabel(const char* list, size_t row, const char* column) {
  return std::string(list) + ", row " + std::to_string(row + 1) + ", " + column;
}

bool CheckProject(const SetupProject& p, std::string* error) {
  for (const ProjectField& f : kProjectFields)
    if (f.text && !CheckField(f.label, p.*f.text, false, error)) return false;
  for (size_t i = 0; i < p.files.size(); ++i) {
    const FileEntry& e = p.files[i];
    if (!CheckField(RowLabel("Files", i, "path"), e.path, true, error) ||
        !CheckField(RowLabel("Files", i, "size"), e.size, true, error) ||
        !CheckField(RowLabel("Files", i, "type"), e.type, true, error))
      return false;
  }
  for (size_t i = 0; i < p.registry.size(); ++i) {
    const RegistryEntry& e = p.registry[i];
    if (!CheckField(RowLabel("Registry", i, "root key"), e.rootKey, true, error) ||
        !CheckField(RowLabel("Registry", i, "sub key"), e.subKey, true, error) ||
        !CheckField(RowLabel("Registry", i, "value name"), e.valueName, true, error) ||
        !CheckField(RowLabel("Registry", i, "value data"), e.valueData, true, error))
      return false;
  }
  for (size_t i = 0; i < p.variables.size(); ++i) {
    const VariableEntry& e = p.variables[i];
    if (!CheckField(RowLabel("Variables", i, "variable name"), e.name, true, error) ||
        !CheckField(RowLabel("Variables", i, "root key"), e.rootKey, true, error) ||
        !CheckField(RowLabel("Variables", i, "sub key"), e.subKey, true, error) ||
        !CheckField(RowLabel("Variables", i, "value name"), e.valueName, true, error) ||
        !CheckField(RowLabel("Variables", i, "default value"), e.defaultValue, true, error))
      return false;
  }
  for (size_t i = 0; i < p.shortcuts.size(); ++i) {
    const ShortcutEntry& e = p.shortcuts[i];
    if (!CheckField(RowLabel("Shortcuts", i, "destination"), e.destination, true, error) ||
        !CheckField(RowLabel("Shortcuts", i, "shortcut name"), e.name, true, error) ||
        !CheckField(RowLabel("Shortcuts", i, "target file"), e.target, true, error) ||
        !CheckField(RowLabel("Shortcuts", i, "command line arguments"), e.arguments, true, error))
      return false;
  }
  for (size_t i = 0; i < p.commands.size(); ++i) {
    const CommandEntry& e = p.commands[i];
    // Any other type reads back as "Execute application"; an empty one would end the list.
    if (e.type != kExecute && e.type != kShellExecute) {
      SetError(error, "The project cannot be saved: \"" + RowLabel("Commands", i, "type") + "\" is not \"" + kExecute +
                          "\" or \"" + kShellExecute + "\".");
      return false;
    }
    if (!CheckField(RowLabel("Commands", i, "program"), e.program, true, error) ||
        !CheckField(RowLabel("Commands", i, "parameters"), e.parameters, true, error) ||
        !CheckField(RowLabel("Commands", i, "options"), e.options, true, error))
      return false;
  }
  return true;
}

// ---- writing -----------------------------------------------------------------------------

// Each group is started once, at its first row; the table keeps a group's rows together.
void EnterGroup(const char*& group, const ProjectField& f) {
  if (group && std::string(group) == f.group) return;
  group = f.group;
  PreferenceGroup(group);
}

bool WritePreferencePart(const SetupProject& p) {
  bool ok = true;
  const char* group = nullptr;
  for (const ProjectField& f : kProjectFields) {
    EnterGroup(group, f);
    if (f.copyKey) ok = WritePreferenceString(f.copyKey, std::to_string(p.*f.number)) && ok;
    if (f.text)
      ok = WritePreferenceString(f.key, p.*f.text) && ok;
    else
      ok = WritePreferenceString(f.key, std::to_string(p.*f.number)) && ok;
  }
  return ok;
}

void PutLine(std::string& out, const std::string& text) {
  out += text;
  out += "\r\n";
}

void PutRaw32(std::string& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string Sections(const SetupProject& p) {
  std::string out;
  PutLine(out, kLanguages);
  for (int position : p.checkedLanguages) PutLine(out, std::to_string(position));
  PutLine(out, kFilesDirs);
  for (const FileEntry& e : p.files) {
    PutLine(out, e.path);
    PutLine(out, e.size);
    PutLine(out, e.type);
  }
  PutLine(out, kLicenceBegin);
  PutRaw32(out, static_cast<uint32_t>(p.licenceRtf.size()));
  out += p.licenceRtf;
  PutLine(out, kLicenceEnd);
  PutLine(out, kRegistry);
  for (const RegistryEntry& e : p.registry) {
    PutLine(out, e.rootKey);
    PutLine(out, e.subKey);
    PutLine(out, e.valueName);
    PutLine(out, e.valueData);
    PutRaw32(out, static_cast<uint32_t>(e.removeFlag));
  }
  PutLine(out, kVariables);
  for (const VariableEntry& e : p.variables) {
    PutLine(out, e.name);
    PutLine(out, e.rootKey);
    PutLine(out, e.subKey);
    PutLine(out, e.valueName);
    PutLine(out, e.defaultValue);
  }
  PutLine(out, kShortcuts);
  for (const ShortcutEntry& e : p.shortcuts) {
    PutLine(out, e.destination);
    PutLine(out, e.name);
    PutLine(out, e.target);
    PutLine(out, e.arguments);
  }
  PutLine(out, kEnd);
  PutLine(out, kCommands);
  for (const CommandEntry& e : p.commands) {
    PutLine(out, e.type);
    PutLine(out, e.program);
    PutLine(out, e.parameters);
    PutLine(out, e.options);
  }
  return out;
}

bool AppendToFile(const std::string& path, const std::string& bytes) {
  ScopedHandle h(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!h) return false;
  LARGE_INTEGER zero = {};
  bool ok = SetFilePointerEx(h.get(), zero, nullptr, FILE_END) != 0;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(bytes.size() - done > (1u << 20) ? (1u << 20) : bytes.size() - done);
    DWORD written = 0;
    ok = WriteFile(h.get(), bytes.data() + done, chunk, &written, nullptr) && written == chunk;
    done += written;
  }
  ok = ok && FlushFileBuffers(h.get());
  return h.reset() && ok;
}

// ---- reading -----------------------------------------------------------------------------

// Val: optional blanks, then "$" hexadecimal, "%" binary, or a signed decimal number, up
// to the first other character; out-of-range numbers stop at the nearest 32-bit limit.
int32_t ParseNumber(const std::string& text, bool prefixes) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  int base = 10;
  bool negative = false;
  if (prefixes && i < text.size() && (text[i] == '$' || text[i] == '%')) {
    base = text[i++] == '$' ? 16 : 2;
  } else if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i++] == '-';
  }
  const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : 99;
    if (digit >= base) break;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) magnitude = limit;
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

// A language line that holds no number names no language (read as 0 it would check the
// first one); such lines come from damaged files, such as one cut inside a marker line.
bool IsDecimal(const std::string& text) {
  size_t i = text.find_first_not_of(" \t");
  if (i != std::string::npos && (text[i] == '+' || text[i] == '-')) ++i;
  return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

void ReadPreferencePart(SetupProject& p) {
  const char* group = nullptr;
  for (const ProjectField& f : kProjectFields) {
    EnterGroup(group, f);
    switch (f.kind) {
      case FieldKind::Text:
        p.*f.text = ReadPreferenceString(f.key, "");
        break;
      case FieldKind::Number:
        p.*f.number = ReadPreferenceLong(f.key, 0);
        break;
      case FieldKind::ValNumber:
        p.*f.number = ParseNumber(ReadPreferenceString(f.key, ""), true);
        break;
      // The copy key is for older readers: 1 under the key itself selects the first
      // option, anything else the second.
      case FieldKind::Option:
        p.*f.number = ReadPreferenceLong(f.key, 0) == 1 ? 1 : 0;
        break;
    }
  }
}

// Nothing near this size is a project: the licence count itself is 32 bits.
constexpr uint64_t kMaxProjectBytes = (uint64_t{1} << 31) - 1;

// The appended sections read as lines (CR, LF or CR LF end a line; NUL bytes are skipped),
// with raw little-endian numbers where the format has them.
struct SectionReader {
  const std::string& bytes;
  size_t pos = 0;

  size_t Left() const { return bytes.size() - pos; }

  // False at the end of the file, with line empty: the end reads as an empty line.
  bool Line(std::string& line) {
    line.clear();
    if (pos >= bytes.size()) return false;
    while (pos < bytes.size()) {
      char c = bytes[pos++];
      if (c == '\r') {
        if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
        break;
      }
      if (c == '\n') break;
      if (c != '\0') line += c;
    }
    return true;
  }

  bool Raw32(uint32_t& value) {
    if (Left() < 4) {
      pos = bytes.size();
      return false;
    }
    value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[pos + i])) << (8 * i);
    pos += 4;
    return true;
  }

  // True when the next line is exactly text (and leaves it unread).
  bool NextLineIs(const char* text) const {
    size_t n = std::char_traits<char>::length(text);
    if (bytes.compare(pos, n, text) != 0) return false;
    return pos + n == bytes.size() || bytes[pos + n] == '\r' || bytes[pos + n] == '\n';
  }
};

// Each block ends at the next block's marker, which the checks after it then see as the
// current line: languages run into files, files into the licence, registry into variables,
// variables into shortcuts. A block cut off by the end of the file leaves an empty current
// line, which matches nothing; a row it cut short is dropped.
bool ReadSections(const std::string& bytes, SetupProject& p, std::string* error) {
  SectionReader r{bytes};
  std::string line;
  while (r.Line(line)) {
    if (line == kLanguages) {
      while (r.Line(line) && line != kFilesDirs)
        if (IsDecimal(line)) p.checkedLanguages.push_back(ParseNumber(line, false));
    }
    if (line == kFilesDirs) {
      while (r.Line(line) && line != kLicenceBegin) {
        FileEntry e;
        e.path = line;
        if (!r.Line(e.size) || !r.Line(e.type)) {
          line.clear();
          break;
        }
        p.files.push_back(e);
      }
    }
    if (line == kRegistry) {
      while (r.Line(line) && line != kVariables) {
        RegistryEntry e;
        e.rootKey = line;
        uint32_t flag = 0;
        if (!r.Line(e.subKey) || !r.Line(e.valueName) || !r.Line(e.valueData) || !r.Raw32(flag)) {
          line.clear();
          break;
        }
        e.removeFlag = static_cast<int>(flag);
        p.registry.push_back(e);
      }
    }
    if (line == kVariables) {
      while (r.Line(line) && line != kShortcuts) {
        VariableEntry e;
        e.name = line;
        if (!r.Line(e.rootKey) || !r.Line(e.subKey) || !r.Line(e.valueName) || !r.Line(e.defaultValue)) {
          line.clear();
          break;
        }
        p.variables.push_back(e);
      }
    }
    if (line == kShortcuts) {
      while (r.Line(line) && line != kEnd) {
        ShortcutEntry e;
        e.destination = line;
        if (!r.Line(e.name) || !r.Line(e.target) || !r.Line(e.arguments)) {
          line.clear();
          break;
        }
        p.shortcuts.push_back(e);
      }
    }
    if (line == kLicenceBegin) {
      uint32_t count = 0;
      if (r.NextLineIs(kLicenceEnd)) {
        // Written when the text could not be produced: no count, no text.
        p.licenceRtf.clear();
      } else if (!r.Raw32(count)) {
        SetError(error, "The project file is damaged: it ends inside its licence text.");
        return false;
      } else if (count > r.Left()) {
        SetError(error, "The project file is damaged: its licence text is longer than the rest of the file.");
        return false;
      } else {
        p.licenceRtf.assign(bytes, r.pos, count);
        r.pos += count;
      }
    }
    if (line == kCommands) {
      for (;;) {
        r.Line(line);
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos) break;  // an empty line or the end of the file
        CommandEntry e;
        std::string type = line.substr(start);
        e.type = type == kShellExecute ? kShellExecute : kExecute;
        if (!r.Line(e.program) || !r.Line(e.parameters) || !r.Line(e.options)) break;
        p.commands.push_back(e);
      }
    }
  }
  return true;
}

}  // namespace

int SaveProjectFile(const std::string& path, const SetupProject& project, std::string* error) {
  if (!CheckProject(project, error)) return 0;

  // The preferences part and the sections go to a temporary file that replaces the project
  // only when both were written whole, so a failed save leaves the old project as it was.
  bool wrote = false;
  bool ok = WriteReplacing(path, "zkp", [&](const std::string& temp) {
    wrote = true;
    bool done = CreatePreferences(temp) != 0;
    done = done && WritePreferencePart(project);
    done = ClosePreferences() && done;
    return done && AppendToFile(temp, Sections(project));
  });
  if (!ok) {
    SetError(error, wrote ? "The project cannot be saved: writing \"" + path + "\" failed."
                          : "The project cannot be saved: cannot write to the folder of \"" + path + "\".");
    return 0;
  }
  return 1;
}

int LoadProjectFile(const std::string& path, SetupProject& out, std::string* error) {
  if (!OpenPreferences(path)) {
    ClosePreferences();
    SetError(error, "The project file \"" + path + "\" cannot be opened.");
    return 0;
  }
  // Starting from an empty record keeps nothing of the project loaded before.
  SetupProject p;
  ReadPreferencePart(p);
  ClosePreferences();

  std::string bytes;
  if (!ReadWholeFile(path, kMaxProjectBytes, &bytes)) {
    SetError(error, "The project file \"" + path + "\" cannot be read.");
    return 0;
  }
  if (!ReadSections(bytes, p, error)) return 0;
  out = std::move(p);
  return 1;
}
