// The main function of the test programs without Qt: they compute in floating
// point as the executables do.

#include <gtest/gtest.h>

#include "core/record/floating_point.h"

int main(int argc, char** argv) {
  zeva::core::flushDenormalsToZero();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
