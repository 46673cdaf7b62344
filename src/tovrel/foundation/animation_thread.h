// The toolkit's animation thread: a thread of its own with a message-only window that
// controls post their animation requests to. It runs from the toolkit's start to its
// shutdown.
#ifndef ZK_TOVREL_FOUNDATION_ANIMATION_THREAD_H
#define ZK_TOVREL_FOUNDATION_ANIMATION_THREAD_H

#include <windows.h>

namespace tovrel {

constexpr DWORD kAnimationThreadExitCode = 1337;

// The thread's window; 0 while the thread has none. Read and written under AnimationMutex.
extern HWND AnimationWindow;

// The thread's entry (the argument is not used). It ends, with kAnimationThreadExitCode,
// when WM_CLOSE, WM_DESTROY or WM_QUIT reaches its window, when the window cannot be made,
// or when a stop was asked for before the window existed.
DWORD WINAPI AnimationThreadMain(LPVOID unused);

// Asks the thread to end, under AnimationMutex: WM_CLOSE to its window when it has one,
// otherwise a stop request that the thread honours as soon as its window exists. The
// thread is never killed, so it never dies holding a lock.
void RequestAnimationThreadStop();

// Asks the thread to stop until it has ended, at most 101 times, 10 ms apart; then the
// caller goes on without it. Answers the number of attempts made.
int StopAnimationThread(HANDLE thread);

}  // namespace tovrel

#endif
