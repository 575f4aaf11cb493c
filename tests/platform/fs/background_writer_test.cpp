// Work handed to the background thread runs in the order handed over, wait() returns only
// when all of it has run, and what is queued when the writer goes still runs.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/fs/background_writer.hpp"

namespace vantorel::fs {
namespace {

TEST(BackgroundWriter, RunsEveryTaskInOrderBeforeWaitReturns) {
  BackgroundWriter writer;
  std::vector<int> ran;  // written by the writer's thread only, read after wait()
  // Many more tasks than the queue holds, so that posting waits for room now and then.
  constexpr int kTasks = static_cast<int>(BackgroundWriter::kMaxQueued) * 20;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < kTasks; ++i) {
      writer.post([&ran, i] {
        if (i % 97 == 0) std::this_thread::yield();
        ran.push_back(i);
      });
    }
    writer.wait();
    ASSERT_EQ(ran.size(), static_cast<std::size_t>(kTasks) * (round + 1));
    for (int i = 0; i < kTasks; ++i) EXPECT_EQ(ran[round * kTasks + i], i);
  }
}

TEST(BackgroundWriter, TheDestructorRunsWhatIsQueued) {
  std::atomic<int> ran = 0;
  {
    BackgroundWriter writer;
    for (int i = 0; i < 100; ++i) writer.post([&ran] { ++ran; });
  }
  EXPECT_EQ(ran.load(), 100);
}

TEST(BackgroundWriter, WaitWithNothingPostedReturns) {
  BackgroundWriter writer;
  writer.wait();
  SUCCEED();
}

}  // namespace
}  // namespace vantorel::fs
