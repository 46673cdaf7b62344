// Running a program to its end with a time limit.
#ifndef ZK_TESTS_SUPPORT_PROCESSES_H
#define ZK_TESTS_SUPPORT_PROCESSES_H

#include <windows.h>

#include <string>

// Runs a command line (UTF-8) without a window, with its standard output and error caught
// in output; false when it did not start or did not end within timeoutMs (it is ended
// then). exitCode, when given, receives the code it ended with.
bool RunCaptured(const std::string& commandLine, DWORD timeoutMs, std::string* output, DWORD* exitCode = nullptr);

#endif
