#include "model/setup_project.h"

#include <tuple>

#include "model/project_fields.h"

namespace {

SetupProject FromTable(bool afterNew) {
  SetupProject p;
  for (const ProjectField& f : kProjectFields) {
    bool useNew = afterNew && f.newDiffers;
    if (f.text)
      p.*f.text = useNew ? f.newText : f.initialText;
    else
      p.*f.number = useNew ? f.newNumber : f.initialNumber;
  }
  return p;
}

// The members the field table leaves out: the lists, the languages and the licence.
auto ListMembers(const SetupProject& p) {
  return std::tie(p.checkedLanguages, p.files, p.registry, p.shortcuts, p.variables, p.commands, p.licenceRtf);
}

}  // namespace

SetupProject DefaultProject() { return FromTable(false); }

SetupProject ProjectAfterNew() { return FromTable(true); }

bool SameField(const ProjectField& f, const SetupProject& a, const SetupProject& b) {
  return f.text ? a.*f.text == b.*f.text : a.*f.number == b.*f.number;
}

bool operator==(const FileEntry& a, const FileEntry& b) {
  return std::tie(a.path, a.size, a.type) == std::tie(b.path, b.size, b.type);
}

bool operator==(const RegistryEntry& a, const RegistryEntry& b) {
  return std::tie(a.rootKey, a.subKey, a.valueName, a.valueData, a.removeFlag) ==
         std::tie(b.rootKey, b.subKey, b.valueName, b.valueData, b.removeFlag);
}

bool operator==(const ShortcutEntry& a, const ShortcutEntry& b) {
  return std::tie(a.destination, a.name, a.target, a.arguments) ==
         std::tie(b.destination, b.name, b.target, b.arguments);
}

bool operator==(const VariableEntry& a, const VariableEntry& b) {
  return std::tie(a.name, a.rootKey, a.subKey, a.valueName, a.defaultValue) ==
         std::tie(b.name, b.rootKey, b.subKey, b.valueName, b.defaultValue);
}

bool operator==(const CommandEntry& a, const CommandEntry& b) {
  return std::tie(a.type, a.program, a.parameters, a.options) == std::tie(b.type, b.program, b.parameters, b.options);
}

bool operator==(const SetupProject& a, const SetupProject& b) {
  for (const ProjectField& f : kProjectFields)
    if (!SameField(f, a, b)) return false;
  return ListMembers(a) == ListMembers(b);
}
