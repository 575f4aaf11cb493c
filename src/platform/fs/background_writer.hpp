#pragma once
// One thread that runs file work handed to it, in the order it was handed over, while the
// thread that hands it over goes on: creating and writing a file costs the kernel about as much
// as a generated page costs the script that makes it, and the two need not wait on each other.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace vantorel::fs {

class BackgroundWriter {
 public:
  BackgroundWriter() = default;
  // Runs what is still queued, then ends the thread.
  ~BackgroundWriter();
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Queues the task; waits while kMaxQueued tasks are queued, so that the bytes they hold stay
  // bounded. The task must not throw.
  void post(std::function<void()> task);
  // Returns once every task posted so far has run.
  void wait();

  static constexpr std::size_t kMaxQueued = 64;

 private:
  void run();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
  bool running_ = false;  // a task is out of the queue and not yet done
  bool stopping_ = false;
  std::thread thread_;  // started by the first post
};

}  // namespace vantorel::fs
