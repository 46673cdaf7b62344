// What the four row edit dialogs share: opening and closing their window, the root key
// entries, the checks on OK and writing the row back.
#ifndef ZK_APP_DIALOGS_ROW_DIALOG_H
#define ZK_APP_DIALOGS_ROW_DIALOG_H

#include <initializer_list>
#include <stdint.h>
#include <string>
#include <vector>

// How a dialog was opened: to add a row, or to edit row `row` of its list.
struct RowDialogMode {
  int edit = 0;
  int row = -1;
};

// The mode for `edit` on `list`: an edit needs a selected row, so without one the
// result has row -1 and the dialog must not open.
RowDialogMode ModeFor(int list, int edit);
// Opens `window` hidden, owned by and centred on the main window, titled `addTitle`
// (or "Edit" when editing). False when the window could not be made.
bool OpenRowDialogWindow(int window, int width, int height, const std::string& addTitle, int edit);
// Shows a filled dialog and disables the main window behind it.
void ShowRowDialog(int window, int firstControl);
// Enables the main window, then hides the dialog (`destroy` false) or closes it.
void CloseRowDialog(int window, bool destroy);

// The five root key names as combo entries 0-4, entry 0 selected.
void AddRootKeyEntries(int combo);
// The entry of a root key name; anything unknown is entry 0.
int RootKeyEntry(const std::string& name);

// The selected entry's text of a combo box.
std::string SelectedEntryText(int combo);
// True when every control's text is non-empty.
bool AllFilled(std::initializer_list<int> controls);

// A text field and the name it has in messages.
struct CheckedField {
  int control;
  const char* name;
};
// Refuses texts that a project file would not read back as one row field: line breaks,
// and texts equal to a section marker. Tells the user about the first such field, puts
// the focus there and returns false.
bool FieldsStorable(std::initializer_list<CheckedField> fields);

// Writes `columns` to row mode.row of `list` in place when editing, else appends them as
// a new row. The row's item data becomes `data` when `setData` is true.
void WriteRow(int list, const RowDialogMode& mode, const std::vector<std::string>& columns, intptr_t data,
              bool setData);

#endif
