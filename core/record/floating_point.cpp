#include "core/record/floating_point.h"

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace zeva::core {

void flushDenormalsToZero() {
#if defined(__SSE__) || defined(__x86_64__)
  constexpr unsigned kFlushToZero = 0x8000;       // denormal results become 0
  constexpr unsigned kDenormalsAreZero = 0x0040;  // denormal inputs read as 0
  _mm_setcsr(_mm_getcsr() | kFlushToZero | kDenormalsAreZero);
#endif
}

}  // namespace zeva::core
