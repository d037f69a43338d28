#pragma once

// Jobs run on a fixed set of worker threads while the calling thread takes their results back
// in the order it submitted them. A loop that submits one job per row and takes the oldest
// result when the window is full sees the same sequence of results, and so shows the same
// messages and writes the same files, as a loop that did each job itself.

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace pictavo {

// The threads a pool asked for `wanted` gets: wanted itself, or one per core for 0.
std::size_t GetWorkerThreadCount(std::size_t wanted);

template <class Result>
class OrderedWork {
 public:
  // window: how many jobs may be submitted and not yet taken; a few per worker keeps every
  // worker busy while the oldest job is still running. atThreadExit runs on each worker just
  // before it ends, for libraries that keep state per thread.
  // workers: 0 for one per core.
  explicit OrderedWork(std::size_t workers = 0, std::size_t window = 0,
                       std::function<void()> atThreadExit = {})
      : m_window(window > 0 ? window : 4 * GetWorkerThreadCount(workers)),
        m_atThreadExit(std::move(atThreadExit)) {
    const std::size_t count = GetWorkerThreadCount(workers);
    m_threads.reserve(count);
    for (std::size_t i = 0; i < count; ++i) m_threads.emplace_back([this] { Work(); });
  }
  OrderedWork(const OrderedWork&) = delete;
  OrderedWork& operator=(const OrderedWork&) = delete;

  // Jobs not started yet are dropped; running ones finish first.
  ~OrderedWork() {
    {
      std::lock_guard lock(m_mutex);
      m_stopping = true;
      m_queue.clear();
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads) thread.join();
  }

  // Called every `interval` while the calling thread waits for a result, so that a loop that
  // waits on a slow job still pumps its messages and sees a Cancel.
  void SetWhileWaiting(std::function<void()> whileWaiting,
                       std::chrono::milliseconds interval = std::chrono::milliseconds(50)) {
    m_whileWaiting = std::move(whileWaiting);
    m_waitInterval = interval;
  }

  bool IsFull() const { return m_pending.size() >= m_window; }
  bool IsEmpty() const { return m_pending.empty(); }

  void Submit(std::function<Result()> job) {
    std::packaged_task<Result()> task(std::move(job));
    m_pending.push_back(task.get_future());
    {
      std::lock_guard lock(m_mutex);
      m_queue.push_back(std::move(task));
    }
    m_wake.notify_one();
  }

  // The result of the oldest job not taken yet, waiting for it; a job's exception comes out
  // here. Only when !IsEmpty().
  Result TakeNext() {
    std::future<Result> next = std::move(m_pending.front());
    m_pending.pop_front();
    if (m_whileWaiting) {
      while (next.wait_for(m_waitInterval) != std::future_status::ready) m_whileWaiting();
    }
    return next.get();
  }

  // The loop's usual shape: submit a job and, when the window is full, hand the oldest result
  // to take; after the loop, Drain hands over the rest, oldest first.
  template <class Take>
  void Submit(std::function<Result()> job, Take&& take) {
    Submit(std::move(job));
    if (IsFull()) take(TakeNext());
  }
  template <class Take>
  void Drain(Take&& take) {
    while (!IsEmpty()) take(TakeNext());
  }

  // Drops the jobs that have not started and hands the results of those that had to take,
  // oldest first: what a Cancel does when the finished work must still be accounted for.
  template <class Take>
  void CancelPending(Take&& take) {
    {
      std::lock_guard lock(m_mutex);
      m_queue.clear();  // their futures now hold a broken promise
    }
    while (!IsEmpty()) {
      try {
        take(TakeNext());
      } catch (const std::future_error& error) {
        if (error.code() != std::future_errc::broken_promise) throw;
      }
    }
  }

  // Drops the jobs that have not started; TakeNext is then only good for the ones that had.
  // The calling thread uses it when it will not look at the remaining results at all.
  void DropPending() {
    {
      std::lock_guard lock(m_mutex);
      m_queue.clear();
    }
    m_pending.clear();
  }

 private:
  void Work() {
    for (;;) {
      std::packaged_task<Result()> task;
      {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty()) break;
        task = std::move(m_queue.front());
        m_queue.pop_front();
      }
      task();
    }
    if (m_atThreadExit) m_atThreadExit();
  }

  const std::size_t m_window;
  const std::function<void()> m_atThreadExit;
  std::function<void()> m_whileWaiting;
  std::chrono::milliseconds m_waitInterval{50};
  std::deque<std::future<Result>> m_pending;  // the calling thread's side, in submission order
  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<std::packaged_task<Result()>> m_queue;  // not started yet
  bool m_stopping = false;
  std::vector<std::thread> m_threads;
};

}  // namespace pictavo
