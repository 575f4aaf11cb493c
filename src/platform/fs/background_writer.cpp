#include "platform/fs/background_writer.hpp"

#include <system_error>
#include <utility>

namespace vantorel::fs {

BackgroundWriter::~BackgroundWriter() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void BackgroundWriter::post(std::function<void()> task) {
  std::unique_lock lock(mutex_);
  if (!thread_.joinable()) {
    try {
      thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
      // No thread to be had: the work runs here, still in order, as nothing is queued.
      lock.unlock();
      task();
      return;
    }
  }
  changed_.wait(lock, [this] { return queue_.size() < kMaxQueued; });
  queue_.push_back(std::move(task));
  lock.unlock();
  changed_.notify_all();
}

void BackgroundWriter::wait() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.empty() && !running_; });
}

void BackgroundWriter::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
    if (queue_.empty()) return;  // stopping, with nothing left to run
    std::function<void()> task = std::move(queue_.front());
    queue_.pop_front();
    running_ = true;
    lock.unlock();
    changed_.notify_all();  // room in the queue
    task();
    lock.lock();
    running_ = false;
    changed_.notify_all();  // perhaps idle now
  }
}

}  // namespace vantorel::fs
