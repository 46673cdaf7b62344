// The GUI thread: the one thread that creates, changes and reads the runtime's windows
// and controls.
//
// The registry of windows and controls has no lock: a lock held while a message is sent
// into a window procedure that needs the registry again deadlocks as soon as a second
// thread takes part. Worker threads therefore never touch a control; they hand the change
// to the GUI thread with PostToGuiThread, and it is applied when that thread next takes
// its messages (WaitWindowEvent, a message box, any message loop).
//
// Builds with ZK_CHECK_THREADS defined (debug builds, and the tests of this library)
// check the thread in every operation on a window or control: off the GUI thread the
// failure handler is called and the operation does nothing, as for a number that names
// nothing. The default handler ends the program with a message naming the operation.
#ifndef ZK_COMMON_GUI_THREAD_H
#define ZK_COMMON_GUI_THREAD_H

#include <utility>

// Makes the calling thread the GUI thread. Opening the runtime's first window does it
// when nothing has; a program calls it itself only to post before its first window.
void SetGuiThread();
// True on the GUI thread, and on any thread while there is none yet.
bool OnGuiThread();

// Called with the name of the operation that ran off the GUI thread.
using WrongThreadHandler = void (*)(const char* operation);
// Replaces the failure handler (nullptr restores the default) and returns the one before.
WrongThreadHandler SetWrongThreadHandler(WrongThreadHandler handler);
// True on the GUI thread; otherwise calls the failure handler and answers false.
bool CheckGuiThread(const char* operation);

// An action waiting for the GUI thread; PostToGuiThread makes them from lambdas.
struct GuiAction {
  GuiAction* next = nullptr;
  virtual ~GuiAction() = default;
  virtual void Run() = 0;
};

// Queues action (which the queue then owns) to run on the GUI thread. Any thread.
bool PostGuiAction(GuiAction* action);

// Runs action on the GUI thread, in order with the other posted actions, when that thread
// next takes its messages. Any thread; does not wait. False when there is no GUI thread
// yet (the action is then dropped).
template <typename F>
bool PostToGuiThread(F action) {
  struct Of : GuiAction {
    explicit Of(F&& f) : f(std::move(f)) {}
    void Run() override { f(); }
    F f;
  };
  return PostGuiAction(new Of(std::move(action)));
}

#endif
