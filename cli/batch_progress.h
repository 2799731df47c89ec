#pragma once
// Progress of a batch on standard error: on a terminal one line, rewritten
// as soundings finish, with the count, the rate and the time left; otherwise
// (a log, a pipe) one line per finished sounding.

#include <chrono>
#include <iosfwd>

#include "core/survey/batch_sounding.h"

namespace zeva::cli {

class BatchProgress {
 public:
  BatchProgress(std::ostream& err, int total, bool terminal);
  void finished(const core::BatchOutcome& outcome);
  // Ends the rewritten line on a terminal.
  void close();

 private:
  std::ostream& err_;
  int total_;
  int done_ = 0;
  bool terminal_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace zeva::cli
