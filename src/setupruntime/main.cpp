// The setup runtime: the head of every setup executable. Its payload starts at offset S,
// the size of this program's own image (see payload.h).
#include <windows.h>

#include "setupruntime/payload.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return SetupImageSize() == 0 ? 1 : 0; }
