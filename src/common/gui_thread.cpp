#include "common/gui_thread.h"

#include <windows.h>

#include <stdlib.h>

#include <atomic>
#include <string>

namespace {

constexpr UINT kMsgRunActions = WM_APP + 0x102;
// Actions run per message: a worker that reports thousands of lines at once still leaves
// the GUI thread free to paint and take input between batches.
constexpr size_t kBatch = 256;
constexpr wchar_t kPostWindowClass[] = L"ZkRuntimePostWindow";

std::atomic<DWORD> g_guiThread{0};
std::atomic<HWND> g_postWindow{nullptr};
std::atomic<WrongThreadHandler> g_handler{nullptr};

// The posted actions wait here rather than in the messages themselves: a thread's message
// queue holds a limited number of posted messages, and a busy worker would lose reports
// past it. One wake-up message is outstanding at a time. The lock is held only to move
// actions in and out, never while one runs.
// A slim reader/writer lock needs no set-up and no thread library.
SRWLOCK g_queueLock = SRWLOCK_INIT;
GuiAction* g_first = nullptr;
GuiAction* g_last = nullptr;
bool g_wakePending = false;

struct QueueHold {
  QueueHold() { AcquireSRWLockExclusive(&g_queueLock); }
  ~QueueHold() { ReleaseSRWLockExclusive(&g_queueLock); }
};

bool PostWake(HWND target) {
  if (PostMessageW(target, kMsgRunActions, 0, 0)) return true;
  // The queue is full: the next post tries again, and the actions wait meanwhile.
  QueueHold hold;
  g_wakePending = false;
  return false;
}

void RunQueuedActions(HWND self) {
  GuiAction* batch = nullptr;
  bool more;
  {
    QueueHold hold;
    batch = g_first;
    GuiAction* end = g_first;
    for (size_t n = 1; end && n < kBatch; ++n) end = end->next;
    if (end) {
      g_first = end->next;
      end->next = nullptr;
    } else {
      g_first = nullptr;
    }
    if (!g_first) g_last = nullptr;
    more = g_first != nullptr;
    g_wakePending = more;
  }
  if (more) PostWake(self);
  while (batch) {
    GuiAction* action = batch;
    batch = batch->next;
    action->Run();
    delete action;
  }
}

// Built without printf (std::to_string does not use it): the library's printf would add
// tens of kilobytes to every program that links the runtime, the setup and the
// uninstaller among them.
void AbortOnWrongThread(const char* operation) {
  std::string text = std::string("Runtime error: ") + (operation ? operation : "?") + " was called on thread " +
                     std::to_string(GetCurrentThreadId()) + ", but windows and controls belong to the GUI thread " +
                     std::to_string(g_guiThread.load()) + ".\n";
  OutputDebugStringA(text.c_str());
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  abort();
}

LRESULT CALLBACK PostWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == kMsgRunActions) {
    RunQueuedActions(w);
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

// A message-only window of the GUI thread: what is posted to it runs on that thread
// whichever loop takes the message.
HWND MakePostWindow() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = PostWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kPostWindowClass;
  RegisterClassExW(&wc);  // fails harmlessly when the class is there already
  return CreateWindowExW(0, kPostWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

}  // namespace

void SetGuiThread() {
  DWORD self = GetCurrentThreadId();
  if (g_guiThread.load() == self && g_postWindow.load()) return;
  g_postWindow = MakePostWindow();
  g_guiThread = self;
}

bool OnGuiThread() {
  DWORD gui = g_guiThread.load();
  return gui == 0 || gui == GetCurrentThreadId();
}

WrongThreadHandler SetWrongThreadHandler(WrongThreadHandler handler) { return g_handler.exchange(handler); }

bool CheckGuiThread(const char* operation) {
  if (OnGuiThread()) return true;
  WrongThreadHandler handler = g_handler.load();
  (handler ? handler : AbortOnWrongThread)(operation);
  return false;
}

bool PostGuiAction(GuiAction* action) {
  HWND target = g_postWindow.load();
  if (!target) {
    delete action;
    return false;
  }
  {
    QueueHold hold;
    action->next = nullptr;
    if (g_last)
      g_last->next = action;
    else
      g_first = action;
    g_last = action;
    if (g_wakePending) return true;
    g_wakePending = true;
  }
  PostWake(target);
  return true;
}
