// The shortcut dialog: adds or edits a row of the shortcuts list.
#include "app/dialogs/dialogs.h"

#include "app/controls.h"
#include "app/dialogs/dialog_events.h"
#include "app/dialogs/row_dialog.h"
#include "common/gui.h"

using namespace ctl;

namespace {

RowDialogMode Mode;

bool RequiredFilled() { return AllFilled({kShortcutName, kShortcutTarget}); }

void Ok() {
  if (!RequiredFilled()) return;
  if (!FieldsStorable({{kShortcutName, "Shortcut name"},
                       {kShortcutTarget, "Target file"},
                       {kShortcutArguments, "Command line arguments"}}))
    return;
  WriteRow(kShortcuts, Mode,
           {SelectedEntryText(kShortcutDestination), GetControlText(kShortcutName), GetControlText(kShortcutTarget),
            GetControlText(kShortcutArguments)},
           0, false);
  CloseRowDialog(kShortcutDialog, false);
}

}  // namespace

void OpenShortcutDialog(int edit) {
  RowDialogMode mode = ModeFor(kShortcuts, edit);
  if (mode.edit && mode.row < 0) return;
  if (!OpenRowDialogWindow(kShortcutDialog, 258, 268, "Add shortcut", edit)) return;
  Mode = mode;
  CreateLabel(kShortcutDestinationLabel, 10, 10, 100, 15, "Destination:");
  CreateCombo(kShortcutDestination, 10, 30, 240, 20);
  AddControlItem(kShortcutDestination, -1, "Desktop");
  AddControlItem(kShortcutDestination, -1, "Startmenu");
  SetControlState(kShortcutDestination, 0);
  CreateLabel(kShortcutNameLabel, 10, 65, 95, 15, "Shortcut name:");
  CreateTextField(kShortcutName, 10, 85, 240, 20, "");
  CreateLabel(kShortcutTargetLabel, 10, 120, 90, 15, "Target file:");
  CreateTextField(kShortcutTarget, 10, 140, 240, 20, "<installpath>\\");
  CreateLabel(-1, 10, 175, 150, 15, "Command line arguments:");
  CreateTextField(kShortcutArguments, 10, 195, 240, 20, "");
  CreateButton(kShortcutOk, 10, 235, 75, 23, "Ok", kButtonDefault);
  CreateButton(kShortcutCancel, 95, 235, 75, 23, "Cancel");
  if (Mode.edit) {
    SetControlState(kShortcutDestination, GetItemText(kShortcuts, Mode.row, 0) == "Startmenu" ? 1 : 0);
    SetControlText(kShortcutName, GetItemText(kShortcuts, Mode.row, 1));
    SetControlText(kShortcutTarget, GetItemText(kShortcuts, Mode.row, 2));
    SetControlText(kShortcutArguments, GetItemText(kShortcuts, Mode.row, 3));
  }
  UpdateShortcutOkButton();
  ShowRowDialog(kShortcutDialog, kShortcutDestination);
}

void UpdateShortcutOkButton() { DisableControl(kShortcutOk, !RequiredFilled()); }

void HandleShortcutDialogEvent(int control, int type) {
  if (type != kEventTypeLeftClick) return;
  if (control == kShortcutOk) Ok();
  if (control == kShortcutCancel) CloseRowDialog(kShortcutDialog, false);
}

void CloseShortcutDialog() { CloseRowDialog(kShortcutDialog, false); }
