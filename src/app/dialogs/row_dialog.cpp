// The parts the row edit dialogs share.
#include "app/dialogs/row_dialog.h"

#include <windows.h>

#include "app/controls.h"
#include "common/gui.h"
#include "common/requesters.h"
#include "model/project_format.h"

using namespace ctl;

namespace {

const char* const kRootKeys[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                 "HKEY_CURRENT_CONFIG"};

void Refuse(const CheckedField& field, const std::string& text) {
  MessageRequester("Zendrikolbar", text, MB_OK | MB_ICONWARNING);
  ActivateControl(field.control);
}

}  // namespace

RowDialogMode ModeFor(int list, int edit) {
  RowDialogMode mode;
  mode.edit = edit ? 1 : 0;
  mode.row = edit ? GetControlState(list) : -1;
  return mode;
}

bool OpenRowDialogWindow(int window, int width, int height, const std::string& addTitle, int edit) {
  return OpenRuntimeWindow(window, 0, 0, width, height, edit ? "Edit" : addTitle,
                           kWindowSystemMenu | kWindowTitleBar | kWindowParentCentered | kWindowInvisible,
                           kMainWindow) != 0;
}

void ShowRowDialog(int window, int firstControl) {
  ShowRuntimeWindow(window, true);
  EnableRuntimeWindow(kMainWindow, false);
  ActivateControl(firstControl);
}

void CloseRowDialog(int window, bool destroy) {
  // The main window is enabled first so that it, not some other program, becomes active
  // when the dialog goes.
  EnableRuntimeWindow(kMainWindow, true);
  if (destroy)
    CloseRuntimeWindow(window);
  else
    ShowRuntimeWindow(window, false);
}

void AddRootKeyEntries(int combo) {
  for (const char* name : kRootKeys) AddControlItem(combo, -1, name);
  SetControlState(combo, 0);
}

int RootKeyEntry(const std::string& name) {
  for (int i = 1; i < 5; ++i)
    if (name == kRootKeys[i]) return i;
  return 0;
}

std::string SelectedEntryText(int combo) { return GetItemText(combo, GetControlState(combo)); }

bool AllFilled(std::initializer_list<int> controls) {
  for (int control : controls)
    if (GetControlText(control).empty()) return false;
  return true;
}

bool FieldsStorable(std::initializer_list<CheckedField> fields) {
  for (const CheckedField& field : fields) {
    std::string text = GetControlText(field.control);
    if (text.find_first_of("\r\n") != std::string::npos) {
      Refuse(field, std::string("\"") + field.name +
                        "\" holds a line break, which a project file cannot keep. Please remove it.");
      return false;
    }
    for (const char* marker : zkp::kSectionMarkers) {
      if (text == marker) {
        Refuse(field, std::string("\"") + field.name + "\" cannot be \"" + marker +
                          "\": project files use that text to start a section.");
        return false;
      }
    }
  }
  return true;
}

void WriteRow(int list, const RowDialogMode& mode, const std::vector<std::string>& columns, intptr_t data,
              bool setData) {
  if (mode.edit) {
    if (mode.row < 0 || mode.row >= CountControlItems(list)) return;
    for (size_t i = 0; i < columns.size(); ++i) SetItemText(list, mode.row, columns[i], static_cast<int>(i));
    if (setData) SetItemData(list, mode.row, data);
    return;
  }
  std::string text;
  for (size_t i = 0; i < columns.size(); ++i) text += (i ? "\n" : "") + columns[i];
  AddControlItem(list, -1, text, setData ? data : 0);
}
