// The libraries a program file imports, read from its import tables as the loader would.
#ifndef ZK_TESTS_SUPPORT_PE_IMPORTS_H
#define ZK_TESTS_SUPPORT_PE_IMPORTS_H

#include <string>
#include <vector>

// Lower-case names of the libraries in the file's import and delay-import tables; empty
// when the file cannot be read or is no 64-bit program.
std::vector<std::string> ImportedLibraries(const std::string& path);

#endif
