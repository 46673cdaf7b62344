// Containers: plain child windows that group controls, optionally on a background colour
// of their own. Runtime controls are made in the window as usual and then moved in; the
// container hands their notifications and colour questions on to its parent, so events
// still arrive as events of the runtime window.
//
// The class is the application's own. It is no runtime control, so the control colouriser
// never records one; the runtime's containers (CreateContainer of common/gui.h) are another
// class.
#ifndef ZK_APP_WINDOWS_CONTAINER_H
#define ZK_APP_WINDOWS_CONTAINER_H

#include <windows.h>

constexpr const wchar_t* kContainerClass = L"ZkAppContainer";

// A container with control ID `id` at x, y (client coordinates of `parent`) in layout
// units, like the runtime's controls; nullptr on failure. It is destroyed with its parent.
HWND CreateContainer(HWND parent, int id, int x, int y, int width, int height);
// Paints the container's background in `colour` instead of the class background.
void SetContainerBackground(HWND container, COLORREF colour);
// Moves runtime control `control` into the container; its position numbers stay the same
// and are from then on relative to the container.
bool MoveIntoContainer(int control, HWND container);

#endif
