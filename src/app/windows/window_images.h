// The secondary windows' built-in pictures, carried in Zendrikolbar.exe (app.rc). A
// program without them (a test program) gets 0 and shows the windows without pictures.
#ifndef ZK_APP_WINDOWS_WINDOW_IMAGES_H
#define ZK_APP_WINDOWS_WINDOW_IMAGES_H

#include <windows.h>

// The About icon centred on a white 55 x 55 bitmap, made once; 0 when not carried.
HBITMAP AboutPicture();
// The built-in wizard image (164 x 314) as a new runtime image; its number, or 0.
int LoadBuiltinWizardImage();
// The label strip (497 x 2), decoded once; 0 when not carried.
HBITMAP LabelStripPicture();

#endif
