#include "inversion/worker_pool.h"

#include <algorithm>

namespace zeva::inversion {

namespace {

// Set on the pool's own threads, so that a task that starts a run of its own
// makes it in place instead of waiting for the workers it occupies.
thread_local bool onWorker = false;

}  // namespace

struct WorkerPool::Job {
  int count = 0;
  const std::function<void(int, int)>* task = nullptr;
  int next = 0;          // first task not yet started
  int running = 0;       // tasks started and not finished
  bool dropped = false;  // collect said stop
  std::vector<char> finished;
  std::exception_ptr failure;
};

WorkerPool& WorkerPool::shared() {
  static WorkerPool pool(static_cast<int>(std::max(1u, std::thread::hardware_concurrency())));
  return pool;
}

WorkerPool::WorkerPool(int threads) { resize(threads); }

WorkerPool::~WorkerPool() { resize(1); }

void WorkerPool::resize(int threads) {
  std::lock_guard run(runMutex_);
  for (std::jthread& worker : workers_) worker.request_stop();
  wake_.notify_all();
  workers_.clear();  // joins
  threads_ = std::max(1, threads);
  if (threads_ == 1) return;
  workers_.reserve(static_cast<std::size_t>(threads_));
  for (int w = 0; w < threads_; ++w)
    workers_.emplace_back([this, w](std::stop_token stop) { work(stop, w); });
}

bool WorkerPool::parallel() const { return threads_ > 1 && !onWorker; }

void WorkerPool::runOnCaller(int count, const std::function<void(int, int)>& task,
                             const std::function<bool(int)>& collect) {
  for (int index = 0; index < count; ++index) {
    task(index, 0);
    if (!collect(index)) return;
  }
}

void WorkerPool::run(int count, const std::function<void(int, int)>& task,
                     const std::function<bool(int)>& collect) {
  if (count < 1) return;
  if (!parallel()) return runOnCaller(count, task, collect);
  std::unique_lock running(runMutex_, std::try_to_lock);
  if (!running.owns_lock() || workers_.empty()) return runOnCaller(count, task, collect);

  Job job;
  job.count = count;
  job.task = &task;
  job.finished.assign(static_cast<std::size_t>(count), 0);
  {
    std::lock_guard lock(mutex_);
    job_ = &job;
    stopping_ = false;
  }
  wake_.notify_all();

  std::unique_lock lock(mutex_);
  for (int index = 0; index < count; ++index) {
    done_.wait(lock, [&] {
      return job.finished[static_cast<std::size_t>(index)] != 0 || job.failure != nullptr;
    });
    if (job.failure) break;
    lock.unlock();
    const bool more = collect(index);
    lock.lock();
    if (!more) break;
  }
  job.dropped = true;
  stopping_ = true;
  done_.wait(lock, [&] { return job.running == 0; });
  job_ = nullptr;
  stopping_ = false;
  if (job.failure) std::rethrow_exception(job.failure);
}

void WorkerPool::work(std::stop_token stop, int worker) {
  onWorker = true;
  std::unique_lock lock(mutex_);
  while (true) {
    wake_.wait(lock, stop,
               [&] { return job_ != nullptr && !job_->dropped && job_->next < job_->count; });
    if (stop.stop_requested()) return;
    Job& job = *job_;
    const int index = job.next++;
    ++job.running;
    lock.unlock();
    try {
      (*job.task)(index, worker);
    } catch (...) {
      lock.lock();
      if (!job.failure) job.failure = std::current_exception();
      lock.unlock();
    }
    lock.lock();
    job.finished[static_cast<std::size_t>(index)] = 1;
    --job.running;
    if (job.failure) job.dropped = true;
    done_.notify_all();
  }
}

}  // namespace zeva::inversion
