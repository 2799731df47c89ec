// One QApplication for all window tests, on the offscreen platform unless
// the caller chose another (xvfb for screenshots).
#include <gtest/gtest.h>

#include <QApplication>

#include "core/record/floating_point.h"

int main(int argc, char** argv) {
  zeva::core::flushDenormalsToZero();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
