#include "common/gui_thread.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <atomic>
#include <deque>
#include <mutex>

namespace {

using Action = std::function<void()>;

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
std::mutex g_queueLock;
std::deque<Action> g_queue;
bool g_wakePending = false;

bool PostWake(HWND target) {
  if (PostMessageW(target, kMsgRunActions, 0, 0)) return true;
  // The queue is full: the next post tries again, and the actions wait meanwhile.
  std::lock_guard<std::mutex> g(g_queueLock);
  g_wakePending = false;
  return false;
}

void RunQueuedActions(HWND self) {
  std::deque<Action> batch;
  bool more;
  {
    std::lock_guard<std::mutex> g(g_queueLock);
    size_t n = g_queue.size() < kBatch ? g_queue.size() : kBatch;
    for (size_t i = 0; i < n; ++i) {
      batch.push_back(std::move(g_queue.front()));
      g_queue.pop_front();
    }
    more = !g_queue.empty();
    g_wakePending = more;
  }
  if (more) PostWake(self);
  for (Action& action : batch)
    if (action) action();
}

void AbortOnWrongThread(const char* operation) {
  char text[256];
  snprintf(text, sizeof(text),
           "Runtime error: %s was called on thread %lu, but windows and controls belong to the GUI thread %lu.\n",
           operation ? operation : "?", GetCurrentThreadId(), static_cast<unsigned long>(g_guiThread.load()));
  OutputDebugStringA(text);
  fputs(text, stderr);
  fflush(stderr);
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

bool PostToGuiThread(std::function<void()> action) {
  HWND target = g_postWindow.load();
  if (!target) return false;
  {
    std::lock_guard<std::mutex> g(g_queueLock);
    g_queue.push_back(std::move(action));
    if (g_wakePending) return true;
    g_wakePending = true;
  }
  PostWake(target);
  return true;
}
