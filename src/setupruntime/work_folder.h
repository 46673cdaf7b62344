// The setup's work folder: TEMP + "ZK" + a braced GUID + "\", where the cabinet is copied
// and extracted. It is made fresh for each run and removed on every way out.
#ifndef ZK_SETUPRUNTIME_WORK_FOLDER_H
#define ZK_SETUPRUNTIME_WORK_FOLDER_H

#include <string>

// Composes a new work folder path and creates it (one CreateDirectory: an existing folder
// is never taken over). 1 on success; 0 otherwise, with the system's error as the last
// error. folder receives the path tried (empty when none could be composed).
int CreateWorkFolder(std::wstring* folder);

// Deletes folder (ends with "\") and everything in it. Folder links inside are removed
// but not followed, so nothing outside the tree is touched.
void RemoveWorkFolder(const std::wstring& folder);

// 1 when path exists as a folder afterwards: every missing prefix ending at a backslash
// is created, shortest first.
int CreateFolderPath(const std::wstring& path);

#endif
