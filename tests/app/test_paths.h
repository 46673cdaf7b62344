// Files and folders of whole-program tests.
#ifndef ZK_TESTS_APP_TEST_PATHS_H
#define ZK_TESTS_APP_TEST_PATHS_H

#include <string>

bool IsFile(const std::string& path);
// Deletes folder (ending in "\") and everything below it.
void RemoveTree(const std::string& folder);

#endif
