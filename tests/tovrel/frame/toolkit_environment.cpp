// The toolkit starts once per test program, as in the tool.
#include <gtest/gtest.h>

#include "tovrel/foundation/start_up.h"

namespace {

class ToolkitStart : public ::testing::Environment {
 public:
  void SetUp() override {
    InitToolkit();
    StartToolkit();
  }
};
const ::testing::Environment* const kToolkitStart = ::testing::AddGlobalTestEnvironment(new ToolkitStart);

}  // namespace
