#include <gtest/gtest.h>

#include <QGuiApplication>

int main(int argc, char **argv) {
  // CMake sets the offscreen platform; this keeps a hand-run binary headless too.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
