// Start-up and the event loop of the authoring tool.
#ifndef ZK_APP_APPLICATION_H
#define ZK_APP_APPLICATION_H

// The program's whole life on the GUI thread; ends the process.
[[noreturn]] void RunApplication();
// 1 when another instance holds the named mutex (or it cannot be created).
int IsInstanceRunning(const char* name);
void ReleaseInstanceMutex();

// The enable rules of the event loop.
void UpdateControlStatesBeforeDispatch(int eventWindow);
void UpdateControlStatesAfterDispatch();
void UpdateLanguageDeleteState();
void UpdateRunMenuItem();
// Shows the page of a task-pane item (1-based group and item numbers).
void HandleExBarClick(int group, int item);
// Places the pages and the task pane below the rebar when its height changed.
void LayoutPages();

#endif
