// The update client. Its settings block starts at offset C, the size of its own image.
#include <windows.h>

#include "common/carried.h"

ZK_IMAGE_SIZE_SLOT(zk_client_image_size, 'Z', 'K', 'S', 'I', 'Z', 'E', '_', 'C');

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) { return ImageSizeFromSlot(zk_client_image_size) == 0 ? 1 : 0; }
