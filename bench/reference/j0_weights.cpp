// The J0 filter table of the program handed to the C reference, so that both
// programs sum the same weights.

#include "forward/hankel_filters.h"

extern "C" const float* zeva_reference_j0_weights() { return zeva::forward::kJ0Weights.data(); }
