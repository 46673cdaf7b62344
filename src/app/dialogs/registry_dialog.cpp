// The registry dialog: adds or edits a row of the registry list. The row's item data is
// its remove-when-uninstalling flag.
#include "app/dialogs/dialogs.h"
#include "app/dialogs/dialog_events.h"

#include "app/controls.h"
#include "app/dialogs/row_dialog.h"
#include "common/gui.h"

using namespace ctl;

namespace {

RowDialogMode Mode;

bool RequiredFilled() { return AllFilled({kRegistrySubKey, kRegistryValueName}); }

void Ok() {
  if (!RequiredFilled()) return;
  if (!FieldsStorable(
          {{kRegistrySubKey, "Sub key"}, {kRegistryValueName, "Value name"}, {kRegistryValueData, "Value data"}}))
    return;
  WriteRow(kRegistry, Mode,
           {SelectedEntryText(kRegistryRootKey), GetControlText(kRegistrySubKey), GetControlText(kRegistryValueName),
            GetControlText(kRegistryValueData)},
           GetControlState(kRegistryRemoveOnUninstall), true);
  CloseRowDialog(kRegistryDialog, false);
}

}  // namespace

void OpenRegistryDialog(int edit) {
  RowDialogMode mode = ModeFor(kRegistry, edit);
  if (mode.edit && mode.row < 0) return;
  if (!OpenRowDialogWindow(kRegistryDialog, 346, 308, "Add registry value", edit)) return;
  Mode = mode;
  CreateLabel(kRegistryRootKeyLabel, 10, 15, 120, 15, "Root key:");
  CreateCombo(kRegistryRootKey, 10, 35, 325, 20);
  AddRootKeyEntries(kRegistryRootKey);
  CreateLabel(kRegistrySubKeyLabel, 10, 75, 120, 15, "Sub key:");
  CreateTextField(kRegistrySubKey, 10, 95, 325, 20, "");
  CreateLabel(kRegistryValueNameLabel, 10, 135, 115, 15, "Value name:");
  CreateTextField(kRegistryValueName, 10, 155, 325, 20, "");
  CreateLabel(kRegistryValueDataLabel, 10, 195, 115, 15, "Value data:");
  CreateTextField(kRegistryValueData, 10, 215, 325, 20, "");
  // 200 wide, not 150, so that the caption fits in the dialog font.
  CreateCheckBox(kRegistryRemoveOnUninstall, 10, 240, 200, 20, "Remove when uninstalling");
  CreateButton(kRegistryOk, 10, 275, 80, 23, "Ok", kButtonDefault);
  CreateButton(kRegistryCancel, 100, 275, 80, 23, "Cancel");
  if (Mode.edit) {
    SetControlState(kRegistryRootKey, RootKeyEntry(GetItemText(kRegistry, Mode.row, 0)));
    SetControlText(kRegistrySubKey, GetItemText(kRegistry, Mode.row, 1));
    SetControlText(kRegistryValueName, GetItemText(kRegistry, Mode.row, 2));
    SetControlText(kRegistryValueData, GetItemText(kRegistry, Mode.row, 3));
    SetControlState(kRegistryRemoveOnUninstall, GetItemData(kRegistry, Mode.row) ? 1 : 0);
  }
  // Without an uninstaller nothing is removed, but an edited row keeps its flag.
  DisableControl(kRegistryRemoveOnUninstall, GetControlState(kIncludeUninstaller) != 1);
  UpdateRegistryOkButton();
  ShowRowDialog(kRegistryDialog, kRegistryRootKey);
}

void UpdateRegistryOkButton() { DisableControl(kRegistryOk, !RequiredFilled()); }

void HandleRegistryDialogEvent(int control, int type) {
  if (type != kEventTypeLeftClick) return;
  if (control == kRegistryOk) Ok();
  if (control == kRegistryCancel) CloseRowDialog(kRegistryDialog, false);
}

void CloseRegistryDialog() { CloseRowDialog(kRegistryDialog, false); }
