// The command dialog: adds or edits a row of the commands list. A shell command has only
// its command line, so choosing "Shell execute" empties and locks the other fields.
#include "app/dialogs/dialogs.h"

#include "app/controls.h"
#include "app/dialogs/dialog_events.h"
#include "app/dialogs/row_dialog.h"
#include "common/gui.h"

using namespace ctl;

namespace {

constexpr int kShellExecuteEntry = 1;

RowDialogMode Mode;

void LockShellFields(bool shell) {
  DisableControl(kCommandParameters, shell);
  DisableControl(kCommandOptions, shell);
}

// Only a change of the entry counts: the combo box also reports focus changes, and those
// must not empty a command line typed after choosing "Shell execute".
void TypeChanged() {
  bool shell = GetControlState(kCommandType) == kShellExecuteEntry;
  LockShellFields(shell);
  if (!shell) return;
  SetControlText(kCommandProgram, "");
  SetControlText(kCommandParameters, "");
  SetControlText(kCommandOptions, "");
}

void Ok() {
  // The button is never disabled, so the empty command is caught here, without a word.
  if (!AllFilled({kCommandProgram})) return;
  if (!FieldsStorable({{kCommandProgram, "Command"}, {kCommandParameters, "Parameters"}, {kCommandOptions, "Options"}}))
    return;
  WriteRow(kCommands, Mode,
           {SelectedEntryText(kCommandType), GetControlText(kCommandProgram), GetControlText(kCommandParameters),
            GetControlText(kCommandOptions)},
           0, false);
  CloseCommandDialog();
}

}  // namespace

void OpenCommandDialog(int edit) {
  RowDialogMode mode = ModeFor(kCommands, edit);
  if (mode.edit && mode.row < 0) return;
  if (!OpenRowDialogWindow(kCommandDialog, 258, 268, "Add command", edit)) return;
  Mode = mode;
  CreateLabel(-1, 10, 10, 100, 15, "Type:");
  CreateCombo(kCommandType, 10, 30, 240, 20);
  AddControlItem(kCommandType, -1, "Execute application");
  AddControlItem(kCommandType, -1, "Shell execute");
  SetControlState(kCommandType, 0);
  CreateLabel(-1, 10, 65, 95, 15, "Command:");
  CreateTextField(kCommandProgram, 10, 85, 240, 20, "<installpath>\\");
  CreateLabel(-1, 10, 120, 90, 15, "Parameters:");
  CreateTextField(kCommandParameters, 10, 140, 240, 20, "");
  CreateLabel(-1, 10, 175, 150, 15, "Options:");
  CreateTextField(kCommandOptions, 10, 195, 240, 20, "-wait -hide");
  CreateButton(kCommandOk, 10, 235, 75, 23, "Ok", kButtonDefault);
  CreateButton(kCommandCancel, 95, 235, 75, 23, "Cancel");
  if (Mode.edit) {
    bool shell = GetItemText(kCommands, Mode.row, 0) == "Shell execute";
    SetControlState(kCommandType, shell ? kShellExecuteEntry : 0);
    SetControlText(kCommandProgram, GetItemText(kCommands, Mode.row, 1));
    SetControlText(kCommandParameters, shell ? "" : GetItemText(kCommands, Mode.row, 2));
    SetControlText(kCommandOptions, shell ? "" : GetItemText(kCommands, Mode.row, 3));
    LockShellFields(shell);
  }
  ShowRowDialog(kCommandDialog, kCommandType);
}

void CloseCommandDialog() { CloseRowDialog(kCommandDialog, true); }

void HandleCommandDialogEvent(int control, int type) {
  if (control == kCommandType && type == kEventTypeChange) TypeChanged();
  if (type != kEventTypeLeftClick) return;
  if (control == kCommandOk) Ok();
  if (control == kCommandCancel) CloseCommandDialog();
}
