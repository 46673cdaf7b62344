#include "updateclient/update_script.h"

namespace {

struct CommandSpec {
  UpdateCommandKind kind;
  const char* name;
  int parameters;
};

const CommandSpec kCommands[] = {
    {UpdateCommandKind::kDownloadFile, "DownloadFile", 2},
    {UpdateCommandKind::kRenameFile, "RenameFile", 2},
    {UpdateCommandKind::kCopyFile, "CopyFile", 2},
    {UpdateCommandKind::kDeleteFile, "DeleteFile", 1},
    {UpdateCommandKind::kDeleteFiles, "DeleteFiles", 2},
    {UpdateCommandKind::kCreateDirectory, "CreateDirectory", 1},
    {UpdateCommandKind::kDeleteDirectory, "DeleteDirectory", 1},
};

const CommandSpec& SpecOf(UpdateCommandKind kind) {
  for (const CommandSpec& spec : kCommands) {
    if (spec.kind == kind) return spec;
  }
  return kCommands[0];
}

// The script is ANSI text; only ASCII letters take part in the case-blind comparisons
// (every keyword is ASCII), so the code page's other letters never match by accident.
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool StartsIgnoringCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && SameIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// Spaces off both ends first, then every TAB wherever it is. The order is part of the
// format: a line that ends in a space and a TAB keeps that space.
std::string Clean(const std::string& line) {
  size_t begin = line.find_first_not_of(' ');
  if (begin == std::string::npos) return std::string();
  size_t end = line.find_last_not_of(' ');
  std::string cleaned;
  for (size_t i = begin; i <= end; ++i) {
    if (line[i] != '\t') cleaned += line[i];
  }
  return cleaned;
}

// CR, LF and CR LF each end a line; a terminator at the very end opens no further line.
std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    if (bytes[i] != '\r' && bytes[i] != '\n') {
      ++i;
      continue;
    }
    lines.push_back(bytes.substr(start, i - start));
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = ++i;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

bool OpensReleasesBlock(const std::string& line) {
  return StartsIgnoringCase(line, "releases") && Clean(line.substr(8)) == "{";
}

bool OpensReleaseBlock(const std::string& line, std::string* name) {
  if (line.size() < 9 || !StartsIgnoringCase(line, "release:") || line.back() != '{') return false;
  *name = Clean(line.substr(8, line.size() - 9));
  return true;
}

// A command line, or false for a line that names no known command.
bool ReadCommand(const std::string& line, UpdateCommand* command) {
  size_t colon = line.find(':');
  if (colon == std::string::npos) return false;
  std::string name = line.substr(0, colon);
  const CommandSpec* spec = nullptr;
  for (const CommandSpec& candidate : kCommands) {
    if (SameIgnoringCase(name, candidate.name)) spec = &candidate;
  }
  if (spec == nullptr) return false;
  std::string rest = line.substr(colon + 1);
  size_t comma = rest.find(',');
  command->kind = spec->kind;
  command->first = Clean(rest.substr(0, comma));
  command->second.clear();
  if (spec->parameters == 2 && comma != std::string::npos) {
    size_t next = rest.find(',', comma + 1);
    size_t length = next == std::string::npos ? std::string::npos : next - comma - 1;
    command->second = Clean(rest.substr(comma + 1, length));
  }
  command->tooLong =
      command->first.size() > kLongestScriptParameter || command->second.size() > kLongestScriptParameter;
  return true;
}

enum class Block { None, Releases, Release, SkippedRelease };

}  // namespace

const char* UpdateCommandName(UpdateCommandKind kind) { return SpecOf(kind).name; }

int UpdateCommandParameterCount(UpdateCommandKind kind) { return SpecOf(kind).parameters; }

UpdateScript ParseUpdateScript(const std::string& bytes) {
  UpdateScript script;
  Block block = Block::None;
  size_t release = 0;  // the entry that receives commands while in Block::Release
  for (const std::string& raw : SplitLines(bytes)) {
    std::string line = Clean(raw);
    if (block != Block::None) {
      if (line == "}") {
        block = Block::None;
      } else if (block == Block::Releases) {
        script.releases.push_back(UpdateRelease{line, {}});
      } else if (block == Block::Release) {
        UpdateCommand command;
        if (ReadCommand(line, &command)) script.releases[release].commands.push_back(command);
      }
      continue;
    }
    std::string name;
    if (OpensReleasesBlock(line)) {
      block = Block::Releases;
    } else if (OpensReleaseBlock(line, &name)) {
      // A name listed twice gets its commands at its first entry only.
      block = Block::SkippedRelease;
      for (size_t i = 0; i < script.releases.size(); ++i) {
        if (script.releases[i].name == name) {
          block = Block::Release;
          release = i;
          break;
        }
      }
    }
  }
  return script;
}

ReleaseSelection SelectPendingReleases(const UpdateScript& script, const std::string& currentVersion) {
  ReleaseSelection selection;
  if (!script.releases.empty()) selection.newest = script.releases.back().name;
  size_t current = 0;
  while (current < script.releases.size() && script.releases[current].name != currentVersion) ++current;
  selection.listed = current < script.releases.size();
  selection.updateAvailable = selection.listed && selection.newest != currentVersion;
  if (selection.updateAvailable) {
    for (size_t i = current + 1; i < script.releases.size(); ++i) selection.pending.push_back(i);
  }
  return selection;
}

std::string NormalizeUpdateAddress(const std::string& address) {
  if (address.empty()) return address;
  std::string normal = address;
  // An address that already names its scheme is kept as written: a second "http://" in
  // front of "https://" would make it unusable.
  if (!StartsIgnoringCase(normal, "http://") && !StartsIgnoringCase(normal, "https://")) normal = "http://" + normal;
  if (normal.back() != '/') normal += '/';
  return normal;
}
