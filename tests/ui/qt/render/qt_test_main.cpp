// One QGuiApplication for all Qt tests, on the offscreen platform unless the
// environment names another.

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "core/record/floating_point.h"

int main(int argc, char** argv) {
  zeva::core::flushDenormalsToZero();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
