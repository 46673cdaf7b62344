// Preference files: named groups of "key = value" lines, read and written through one
// current file per thread. A changed file is rewritten whole when it is closed.
//
// Texts and paths are in the program's code page (SetPreferenceCodePage). A file that
// begins with a UTF-8 byte-order mark holds UTF-8 text, converted at every call; a file
// without the mark keeps its bytes as they are.
#ifndef ZK_COMMON_PREFS_H
#define ZK_COMMON_PREFS_H

#include <cstdint>
#include <string>

// Opens an existing file (closing the current one first). Returns a non-zero value on
// success. On failure returns 0 but keeps the path: reads give their defaults and writes
// are collected and create the file at close.
intptr_t OpenPreferences(const std::string& path);

// Starts a new, empty file at path (closing the current one first); an existing file is
// replaced at close. Returns 0 when the file cannot be created or written; later writes
// then do nothing.
intptr_t CreatePreferences(const std::string& path);

// Writes the file back when it changed, then forgets it. Returns 1 when all went well
// (also when there was nothing to write), 0 when the changes could not be written; the
// file on disk is then left exactly as it was.
int ClosePreferences();

// Selects a group; "" is the unnamed group before the first group line. Returns 0 when
// the group does not exist yet (the next write creates it) or the name is not usable.
int PreferenceGroup(const std::string& name);

std::string ReadPreferenceString(const std::string& key, const std::string& defaultValue);
int32_t ReadPreferenceLong(const std::string& key, int32_t defaultValue);

// Return 1 when the value was stored, 0 when there is no file or the key or value cannot
// be stored so that it reads back the same.
int WritePreferenceString(const std::string& key, const std::string& value);
int WritePreferenceLong(const std::string& key, int32_t value);

// The code page of the texts and paths given to and returned by the calls above, for the
// whole process: CP_ACP (the default) or CP_UTF8 for the Unicode programs.
void SetPreferenceCodePage(unsigned codePage);

#endif
