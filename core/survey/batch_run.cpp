#include "core/survey/batch_run.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "core/record/floating_point.h"
#include "inversion/worker_pool.h"

namespace zeva::core {

int batchJobs(int requested, std::size_t soundings) {
  const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  const int count = static_cast<int>(std::max<std::size_t>(soundings, 1));
  return std::min(requested > 0 ? requested : cores, count);
}

BatchRun runBatch(const std::filesystem::path& folder, const std::vector<SurveyStation>& stations,
                  const BatchSteps& steps, int jobs,
                  const std::function<void(const BatchOutcome&)>& finished,
                  const std::function<bool()>& stopRequested) {
  BatchRun run;
  run.outcomes.resize(stations.size());
  for (std::size_t k = 0; k < stations.size(); ++k) {
    run.outcomes[k].station = stations[k];
    run.outcomes[k].message = kNotRunMessage;
  }
  const int count = static_cast<int>(stations.size());
  jobs = std::clamp(jobs, 1, std::max(count, 1));
  if (jobs > 1) inversion::WorkerPool::shared().resize(1);

  std::atomic<int> next{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::size_t> done;
  int active = jobs;
  const auto work = [&] {
    flushDenormalsToZero();
    for (int i = next++; i < count && !stop; i = next++) {
      const auto k = static_cast<std::size_t>(i);
      BatchOutcome outcome;
      try {
        outcome = runBatchSounding(folder, stations[k], steps);
      } catch (const std::exception& error) {
        outcome.station = stations[k];
        outcome.message = error.what();
      }
      std::lock_guard lock(mutex);
      run.outcomes[k] = std::move(outcome);
      done.push_back(k);
      changed.notify_one();
    }
    std::lock_guard lock(mutex);
    --active;
    changed.notify_one();
  };
  {
    std::vector<std::jthread> threads;
    for (int j = 0; j < jobs; ++j) threads.emplace_back(work);
    std::unique_lock lock(mutex);
    while (active > 0 || !done.empty()) {
      changed.wait_for(lock, std::chrono::milliseconds(200));
      std::deque<std::size_t> ready;
      ready.swap(done);
      lock.unlock();  // the caller may take its time drawing the progress
      for (const std::size_t k : ready) finished(run.outcomes[k]);
      if (!stop && stopRequested()) stop = true;
      lock.lock();
    }
  }
  run.interrupted = stop;
  run.failed = static_cast<int>(
      std::ranges::count_if(run.outcomes, [](const BatchOutcome& outcome) { return !outcome.ok; }));
  return run;
}

}  // namespace zeva::core
