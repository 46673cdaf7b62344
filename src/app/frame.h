// The frame of the main window: menu bar, tool bar, rebar, status bar and task pane.
#ifndef ZK_APP_FRAME_H
#define ZK_APP_FRAME_H

#include "app/builtin_images.h"

void BuildFrame(const BuiltinImages& images);
int MainRebarHeight();
void SetRunMenuItemEnabled(bool enabled);

#endif
