// Named image files for the toolkit: the folder they are read from, and a cache that lets
// several holders share one loaded handle.
#ifndef ZK_TOVREL_FOUNDATION_IMAGE_LOADING_H
#define ZK_TOVREL_FOUNDATION_IMAGE_LOADING_H

#include <windows.h>

#include <string>

namespace tovrel {

// The folder LoadToolkitImage reads from: empty at start, otherwise ending in "\".
extern std::string ImageFolder;

// Sets ImageFolder, adding the final "\" when missing. Returns 1.
int SetImageFolder(const std::string& folder);

// Flags of LoadToolkitImage.
constexpr int kLoadAsIcon = 2;
constexpr int kLoadShared = 4;

// Loads ImageFolder + name: as an icon file first, otherwise with the runtime's decoders
// (BMP, PNG, JPEG), scaled to width x height when either is given (a 0 one is the image's
// own). kLoadAsIcon turns a bitmap into an icon. With kLoadShared a name loaded before
// gives the same handle again, and each such load is one more holder to release with
// ReleaseSharedIcon. 0 for a missing or empty file and for one that no decoder accepts.
HANDLE LoadToolkitImage(const std::string& name, int width, int height, int flags);

// Gives back one holder's share of an image. While other holders remain, returns 1 and
// the image stays; the last holder's call (or one for an image that was never shared)
// destroys it, as an icon or as a bitmap, and returns whether that succeeded.
BOOL ReleaseSharedIcon(HANDLE image);

}  // namespace tovrel

#endif
