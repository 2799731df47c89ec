#pragma once
// The worker threads of the calculations: independent forward runs (the
// derivative runs of an inversion iteration, the searches of an equivalence
// analysis) go to a small pool that lives as long as the program. The caller
// stays on its own thread, where it takes the finished work in order, shows
// progress and messages and polls for the user's interrupt; the workers only
// compute. With one thread everything runs on the caller's thread, one task
// after the other, exactly as without a pool.

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace zeva::inversion {

class WorkerPool {
 public:
  // The program's pool, made at first use with as many threads as the
  // hardware runs at a time.
  static WorkerPool& shared();

  explicit WorkerPool(int threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  int threads() const { return threads_; }
  // Sets the number of threads (at least 1). Not during a run.
  void resize(int threads);

  // Runs task(index, worker) for index = 0..count-1, worker being the number
  // (0..threads()-1) of the thread that runs it, so that a task can use that
  // thread's working copies. After each task, in index order, calls
  // collect(index) on the calling thread; when collect returns false, tasks
  // not yet started are dropped, and run returns once the started ones have
  // finished. An exception of a task is thrown again by run. A run from
  // within a task, or while another thread runs one, is made on the calling
  // thread alone (worker 0 then; callers give it its own copies).
  void run(int count, const std::function<void(int index, int worker)>& task,
           const std::function<bool(int index)>& collect);

  // The same on the calling thread alone, whatever the size of the pool:
  // task(0, 0), collect(0), task(1, 0), collect(1), ...
  static void runOnCaller(int count, const std::function<void(int index, int worker)>& task,
                          const std::function<bool(int index)>& collect);

  // True when run would use more than the calling thread.
  bool parallel() const;
  // Raised while a run drops its remaining tasks: a long task may watch it
  // and end early.
  const std::atomic<bool>& stopping() const { return stopping_; }

 private:
  struct Job;
  void work(std::stop_token stop, int worker);

  int threads_ = 1;
  std::vector<std::jthread> workers_;
  std::mutex runMutex_;  // one run at a time uses the workers
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::condition_variable done_;
  Job* job_ = nullptr;
  std::atomic<bool> stopping_{false};
};

}  // namespace zeva::inversion
