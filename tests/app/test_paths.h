// Files and folders of whole-program tests.
#ifndef ZK_TESTS_APP_TEST_PATHS_H
#define ZK_TESTS_APP_TEST_PATHS_H

#include <string>

#include "support/folders.h"

bool IsFile(const std::string& path);

#endif
