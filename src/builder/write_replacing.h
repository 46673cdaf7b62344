// Files the builder writes whole (resource files, the setup executable) go through a
// temporary file beside their target, so that a failed or interrupted write never leaves a
// half-made file where a complete one was, or where the setup runtime would read it.
#ifndef ZK_BUILDER_WRITE_REPLACING_H
#define ZK_BUILDER_WRITE_REPLACING_H

#include <functional>
#include <string>

// Makes a temporary file (name starting with `prefix`) in path's folder, lets write() fill
// it, and moves it over path only when write() answers true. On any failure the temporary
// file goes and whatever was at path stays.
bool WriteReplacing(const std::string& path, const char* prefix,
                    const std::function<bool(const std::string& temp)>& write);

#endif
