#include <gtest/gtest.h>

#include "engine/engine_setup.hpp"
#include "platform/sys/folders.hpp"
#include "support/temp_home.hpp"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // No test may touch the developer's own settings store.
  vantorel::test::isolateHome();
  vantorel::sys::publishDataFolder();
  vantorel::installEngineOperations();
  return RUN_ALL_TESTS();
}
