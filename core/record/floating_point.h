#pragma once
// How every executable of the program computes in floating point.

namespace zeva::core {

// Flushes denormal results to zero and reads denormal inputs as zero on this
// thread and the threads it starts afterwards: the forward models underflow
// deep in the layer recursions, where denormals would only cost time. Called
// once at start-up by the desktop program, zeva-cli and the test programs, so
// that all of them compute alike.
void flushDenormalsToZero();

}  // namespace zeva::core
