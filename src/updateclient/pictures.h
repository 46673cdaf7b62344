// The client's pictures, decoded from its resources.
#ifndef ZK_UPDATECLIENT_PICTURES_H
#define ZK_UPDATECLIENT_PICTURES_H

#include <windows.h>

#include <string>

// A PNG resource as a 32-bit bitmap with alpha, or nullptr. The caller frees it.
HBITMAP DecodePictureResource(int resource);

// An opaque copy of a bitmap with alpha, blended over `background`: a picture control
// copies pixels as they are, so transparent parts would show their raw colour.
HBITMAP FlattenOnto(HBITMAP picture, COLORREF background);

// Writes an RCDATA resource of this program to `path`.
bool WriteResourceFile(int resource, const std::wstring& path);

#endif
