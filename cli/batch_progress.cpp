#include "cli/batch_progress.h"

#include <fmt/format.h>
#include <fmt/ostream.h>

namespace zeva::cli {

BatchProgress::BatchProgress(std::ostream& err, int total, bool terminal)
    : err_(err), total_(total), terminal_(terminal) {}

void BatchProgress::finished(const core::BatchOutcome& o) {
  ++done_;
  if (!terminal_) {
    if (o.ok)
      fmt::print(err_, "[{}/{}] {}: ok, {:.2f} % RMS\n", done_, total_, o.station.station,
                 o.fitPercent);
    else
      fmt::print(err_, "[{}/{}] {}: failed, {}\n", done_, total_, o.station.station, o.message);
    err_.flush();
    return;
  }
  if (!o.ok)  // failures stay on the screen above the progress line
    fmt::print(err_, "\r{}: failed, {}\x1b[K\n", o.station.station, o.message);
  const double elapsed =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  const double rate = elapsed > 0.0 ? done_ / elapsed : 0.0;
  const auto left = static_cast<long>(rate > 0.0 ? (total_ - done_) / rate + 0.5 : 0.0);
  // "\r" returns to the start of the line, "\x1b[K" clears what a longer
  // earlier line left.
  fmt::print(err_, "\r[{}/{}] {:.1f} soundings/s, {}:{:02} left\x1b[K", done_, total_, rate,
             left / 60, left % 60);
  err_.flush();
}

void BatchProgress::close() {
  if (terminal_ && done_ > 0) err_ << '\n';
}

}  // namespace zeva::cli
