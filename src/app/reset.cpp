// The New command's reset of every project field.
#include "app/controls.h"
#include "app/mainwindow.h"
#include "app/project/project_binding.h"
#include "app/project_state.h"
#include "common/gui.h"
#include "model/setup_project.h"

using namespace ctl;

// The settings take the values of the field table's New column; the lists are emptied,
// and the languages lose their check marks and their selection.
void ResetProject() {
  WriteFieldsToControls(ProjectAfterNew());
  for (int i = 0, n = CountControlItems(kLanguages); i < n; ++i) SetItemState(kLanguages, i, 0);
  ClearControlItems(kLicenceEditor);
  for (int list : {kFiles, kRegistry, kShortcuts, kVariables, kCommands, kBuildLog}) ClearControlItems(list);
  SetWindowTitle(kMainWindow, "Zendrikolbar");
  ProjectPath.clear();
}
