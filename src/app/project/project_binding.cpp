#include "app/project/project_binding.h"

#include "app/controls.h"
#include "app/project/editor_stream.h"
#include "app/project/project_file.h"
#include "app/project_state.h"
#include "common/gui.h"
#include "model/project_fields.h"

namespace {

// Rows are added as one text with the columns separated by line feeds.
std::string Row(std::initializer_list<std::string> columns) {
  std::string text;
  for (const std::string& c : columns) {
    if (&c != columns.begin()) text += '\n';
    text += c;
  }
  return text;
}

}  // namespace

void WriteFieldsToControls(const SetupProject& p) {
  for (const ProjectField& f : kProjectFields) {
    switch (f.kind) {
      case FieldKind::Text:
        SetControlText(f.control, p.*f.text);
        break;
      case FieldKind::Number:
      case FieldKind::ValNumber:
        SetControlState(f.control, p.*f.number);
        break;
      // Setting one option does not clear the other: both are set.
      case FieldKind::Option:
        SetControlState(f.control, p.*f.number ? 1 : 0);
        SetControlState(f.otherControl, p.*f.number ? 0 : 1);
        break;
    }
  }
}

SetupProject ReadProjectFromControls() {
  SetupProject p;
  for (const ProjectField& f : kProjectFields) {
    if (f.text)
      p.*f.text = GetControlText(f.control);
    else
      p.*f.number = GetControlState(f.control);
  }

  for (int i = 0, n = CountControlItems(ctl::kLanguages); i < n; ++i)
    if (GetItemState(ctl::kLanguages, i) & kItemChecked) p.checkedLanguages.push_back(i);

  // Column 0 of the files list is the empty zero-width one.
  for (int i = 0, n = CountControlItems(ctl::kFiles); i < n; ++i)
    p.files.push_back({GetItemText(ctl::kFiles, i, 1), GetItemText(ctl::kFiles, i, 2), GetItemText(ctl::kFiles, i, 3)});
  for (int i = 0, n = CountControlItems(ctl::kRegistry); i < n; ++i)
    p.registry.push_back({GetItemText(ctl::kRegistry, i, 0), GetItemText(ctl::kRegistry, i, 1),
                          GetItemText(ctl::kRegistry, i, 2), GetItemText(ctl::kRegistry, i, 3),
                          static_cast<int>(GetItemData(ctl::kRegistry, i))});
  for (int i = 0, n = CountControlItems(ctl::kShortcuts); i < n; ++i)
    p.shortcuts.push_back({GetItemText(ctl::kShortcuts, i, 0), GetItemText(ctl::kShortcuts, i, 1),
                           GetItemText(ctl::kShortcuts, i, 2), GetItemText(ctl::kShortcuts, i, 3)});
  for (int i = 0, n = CountControlItems(ctl::kVariables); i < n; ++i)
    p.variables.push_back({GetItemText(ctl::kVariables, i, 0), GetItemText(ctl::kVariables, i, 1),
                           GetItemText(ctl::kVariables, i, 2), GetItemText(ctl::kVariables, i, 3),
                           GetItemText(ctl::kVariables, i, 4)});
  for (int i = 0, n = CountControlItems(ctl::kCommands); i < n; ++i)
    p.commands.push_back({GetItemText(ctl::kCommands, i, 0), GetItemText(ctl::kCommands, i, 1),
                          GetItemText(ctl::kCommands, i, 2), GetItemText(ctl::kCommands, i, 3)});

  p.licenceRtf = EditorToRtf(ControlHandle(ctl::kLicenceEditor));
  return p;
}

void WriteProjectToControls(const SetupProject& p) {
  WriteFieldsToControls(p);

  // Check marks only; the selection stays where it is.
  int languages = CountControlItems(ctl::kLanguages);
  for (int i = 0; i < languages; ++i)
    SetItemState(ctl::kLanguages, i, GetItemState(ctl::kLanguages, i) & kItemSelected);
  for (int position : p.checkedLanguages)
    if (position >= 0 && position < languages)
      SetItemState(ctl::kLanguages, position, GetItemState(ctl::kLanguages, position) | kItemChecked);

  ClearControlItems(ctl::kFiles);
  for (const FileEntry& e : p.files) AddControlItem(ctl::kFiles, -1, Row({"", e.path, e.size, e.type}));
  ClearControlItems(ctl::kRegistry);
  for (const RegistryEntry& e : p.registry)
    AddControlItem(ctl::kRegistry, -1, Row({e.rootKey, e.subKey, e.valueName, e.valueData}), e.removeFlag);
  ClearControlItems(ctl::kShortcuts);
  for (const ShortcutEntry& e : p.shortcuts)
    AddControlItem(ctl::kShortcuts, -1, Row({e.destination, e.name, e.target, e.arguments}));
  ClearControlItems(ctl::kVariables);
  for (const VariableEntry& e : p.variables)
    AddControlItem(ctl::kVariables, -1, Row({e.name, e.rootKey, e.subKey, e.valueName, e.defaultValue}));
  ClearControlItems(ctl::kCommands);
  for (const CommandEntry& e : p.commands)
    AddControlItem(ctl::kCommands, -1, Row({e.type, e.program, e.parameters, e.options}));

  RtfToEditor(ControlHandle(ctl::kLicenceEditor), p.licenceRtf);
}

int LoadProject(const std::string& path, std::string* error) {
  SetupProject project;
  if (!LoadProjectFile(path, project, error)) return 0;
  WriteProjectToControls(project);
  ProjectPath = path;
  SetWindowTitle(ctl::kMainWindow, "Zendrikolbar - " + path);
  return 1;
}

int SaveProject(const std::string& path, std::string* error) {
  return SaveProjectFile(path, ReadProjectFromControls(), error);
}
