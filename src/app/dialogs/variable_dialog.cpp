// The variable dialog: adds or edits a row of the variables list.
#include "app/dialogs/dialogs.h"

#include "app/controls.h"
#include "app/dialogs/dialog_events.h"
#include "app/dialogs/row_dialog.h"
#include "common/gui.h"

using namespace ctl;

namespace {

RowDialogMode Mode;

bool RequiredFilled() { return AllFilled({kVariableName, kVariableSubKey, kVariableValueName, kVariableDefault}); }

void Ok() {
  if (!RequiredFilled()) return;
  if (!FieldsStorable({{kVariableName, "Variable name"},
                       {kVariableSubKey, "Sub key"},
                       {kVariableValueName, "Value name"},
                       {kVariableDefault, "Default value"}}))
    return;
  WriteRow(kVariables, Mode,
           {GetControlText(kVariableName), SelectedEntryText(kVariableRootKey), GetControlText(kVariableSubKey),
            GetControlText(kVariableValueName), GetControlText(kVariableDefault)},
           0, false);
  CloseVariableDialog();
}

}  // namespace

void OpenVariableDialog(int edit) {
  RowDialogMode mode = ModeFor(kVariables, edit);
  if (mode.edit && mode.row < 0) return;
  if (!OpenRowDialogWindow(kVariableDialog, 346, 348, "Add variables", edit)) return;
  Mode = mode;
  CreateLabel(-1, 10, 15, 120, 15, "Variable name:");
  CreateTextField(kVariableName, 10, 35, 325, 20, "");
  CreateLabel(-1, 10, 75, 120, 15, "Root key:");
  CreateCombo(kVariableRootKey, 10, 95, 325, 20);
  AddRootKeyEntries(kVariableRootKey);
  CreateLabel(-1, 10, 135, 120, 15, "Sub key:");
  CreateTextField(kVariableSubKey, 10, 155, 325, 20, "");
  CreateLabel(-1, 10, 195, 175, 15, "Value name:");
  CreateTextField(kVariableValueName, 10, 215, 325, 20, "");
  CreateLabel(-1, 10, 255, 115, 15, "Default value:");
  CreateTextField(kVariableDefault, 10, 275, 325, 20, "");
  CreateButton(kVariableOk, 10, 315, 80, 23, "Ok", kButtonDefault);
  CreateButton(kVariableCancel, 100, 315, 80, 23, "Cancel");
  if (Mode.edit) {
    SetControlText(kVariableName, GetItemText(kVariables, Mode.row, 0));
    SetControlState(kVariableRootKey, RootKeyEntry(GetItemText(kVariables, Mode.row, 1)));
    SetControlText(kVariableSubKey, GetItemText(kVariables, Mode.row, 2));
    SetControlText(kVariableValueName, GetItemText(kVariables, Mode.row, 3));
    SetControlText(kVariableDefault, GetItemText(kVariables, Mode.row, 4));
  }
  UpdateVariableOkButton();
  ShowRowDialog(kVariableDialog, kVariableName);
}

void CloseVariableDialog() { CloseRowDialog(kVariableDialog, true); }

void UpdateVariableOkButton() { DisableControl(kVariableOk, !RequiredFilled()); }

void HandleVariableDialogEvent(int control, int type) {
  if (type != kEventTypeLeftClick) return;
  if (control == kVariableOk) Ok();
  if (control == kVariableCancel) CloseVariableDialog();
}
