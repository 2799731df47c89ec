#pragma once
// What a long calculation keeps between its forward runs: the toolkit through
// which it shows progress and hears the user's interrupt, the latched
// interrupt state and the time mark that decides whether a progress dialog is
// worth showing. The caller owns one per run, so nothing is global and two
// soundings can be processed side by side.

#include <functional>

#include "ui/toolkit/toolkit.h"

namespace zeva::inversion {

class RunMonitor {
 public:
  // `clockSeconds` gives elapsed seconds (double precision); a steady clock
  // when empty. Tests pass their own to make a run look slow.
  explicit RunMonitor(ui::Toolkit& toolkit, std::function<double()> clockSeconds = {});

  ui::Toolkit& toolkit() const { return toolkit_; }

  // With `reset`, clears the interrupt state and returns false. Otherwise
  // takes one pending request from the toolkit without waiting; a request to
  // stop sets the state, which stays set until the next reset. Returns the
  // interrupt state.
  bool PollInterrupt(bool reset = false);
  bool interrupted() const { return interrupted_; }

  // The time mark: taken when the monitor is made and whenever a driver
  // decides to take it again.
  void markTime();
  double secondsSinceMark() const;

 private:
  ui::Toolkit& toolkit_;
  std::function<double()> clock_;
  double mark_ = 0.0;
  bool interrupted_ = false;
};

}  // namespace zeva::inversion
