#include <gtest/gtest.h>
TEST(Prefs, Placeholder) {}
