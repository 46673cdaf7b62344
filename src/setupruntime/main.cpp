// The setup runtime: the head of every setup executable. Its payload starts at offset S,
// the size of this program's own image.
#include <windows.h>
#include "common/carried.h"

ZK_IMAGE_SIZE_SLOT(zk_setup_image_size, 'Z', 'K', 'S', 'I', 'Z', 'E', '_', 'S');

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return ImageSizeFromSlot(zk_setup_image_size) == 0 ? 1 : 0;
}
