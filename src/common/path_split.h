// Splitting and joining Windows paths, narrow and wide alike. "\" and "/" both separate
// components, and so does the colon of a drive ("C:name" is the file "name" on drive C).
#ifndef ZK_COMMON_PATH_SPLIT_H
#define ZK_COMMON_PATH_SPLIT_H

#include <string>

// The last component: what follows the last separator, the whole path when there is
// none, and "" when the path ends with a separator.
std::string PathFileName(const std::string& path);
std::wstring PathFileName(const std::wstring& path);

// Everything up to and including the last separator; "" when there is none.
std::string PathFolder(const std::string& path);
std::wstring PathFolder(const std::wstring& path);

// The text after the last dot of the last component, without the dot; "" when the
// component has no dot.
std::string PathExtension(const std::string& path);
std::wstring PathExtension(const std::wstring& path);

// name appended to folder with one "\" between them; an empty folder gives name alone and
// a folder that already ends with a separator gets none added.
std::string PathJoin(const std::string& folder, const std::string& name);
std::wstring PathJoin(const std::wstring& folder, const std::wstring& name);

#endif
