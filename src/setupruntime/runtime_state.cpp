#include "setupruntime/runtime_state.h"

#include "setupruntime/work_folder.h"

RuntimeState& Runtime() {
  static RuntimeState state;
  return state;
}

void ExitSetup(int code) {
  RuntimeState& r = Runtime();
  if (!r.workFolder.empty()) RemoveWorkFolder(r.workFolder);
  if (r.mutex) {
    // Only the GUI thread owns the mutex; from the install thread the release fails and
    // the close (and the process end) abandons it, which frees it just as well.
    ReleaseMutex(r.mutex);
    CloseHandle(r.mutex);
  }
  ExitProcess(static_cast<UINT>(code));
}

int SetupMessage(const std::wstring& title, const std::wstring& text, unsigned flags) {
  return MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), flags);
}
