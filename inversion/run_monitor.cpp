// The interrupt state and time mark of one calculation.

#include "inversion/run_monitor.h"

#include <chrono>

namespace zeva::inversion {

RunMonitor::RunMonitor(ui::Toolkit& toolkit, std::function<double()> clockSeconds)
    : toolkit_(toolkit), clock_(std::move(clockSeconds)) {
  if (!clock_) {
    clock_ = [] {
      using Seconds = std::chrono::duration<double>;
      return std::chrono::duration_cast<Seconds>(
                 std::chrono::steady_clock::now().time_since_epoch())
          .count();
    };
  }
  markTime();
}

bool RunMonitor::PollInterrupt(bool reset) {
  if (reset) {
    interrupted_ = false;
    return false;
  }
  if (toolkit_.pollInterrupt()) interrupted_ = true;
  return interrupted_;
}

void RunMonitor::markTime() { mark_ = clock_(); }

double RunMonitor::secondsSinceMark() const { return clock_() - mark_; }

}  // namespace zeva::inversion
