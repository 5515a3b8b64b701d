#include <gtest/gtest.h>

#include "ApplicationZelm.h"

int main(int argc, char **argv) {
  // CMake sets the offscreen platform; this keeps a hand-run binary headless too.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ApplicationZelm app(argc, argv);  // the program's own: exceptions end at its event loop
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
