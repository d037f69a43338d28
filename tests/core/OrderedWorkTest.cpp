#include "core/OrderedWork.h"

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace pictavo {
namespace {

using namespace std::chrono_literals;

// Earlier jobs take longest, so later ones finish first; results must still come in order.
TEST(OrderedWorkTest, ResultsComeInSubmissionOrderWhateverFinishesFirst) {
  OrderedWork<int> work(4, 8);
  std::vector<int> taken;
  const auto take = [&](int result) { taken.push_back(result); };
  for (int i = 0; i < 40; ++i) {
    work.Submit(
        [i] {
          std::this_thread::sleep_for(std::chrono::microseconds(400 * (8 - i % 8)));
          return i;
        },
        take);
    EXPECT_LE(i + 1 - static_cast<int>(taken.size()), 8) << "the window must bound what is held";
  }
  work.Drain(take);
  EXPECT_TRUE(work.IsEmpty());
  std::vector<int> expected(40);
  for (int i = 0; i < 40; ++i) expected[i] = i;
  EXPECT_EQ(taken, expected);
}

// The job can only end after the waiting thread has pumped: a take that waits without calling
// the hook never returns.
TEST(OrderedWorkTest, AWaitingTakeKeepsCallingItsHookUntilTheResultComes) {
  OrderedWork<int> work(1, 1);
  std::atomic<bool> pumped{false};
  int waits = 0;
  work.SetWhileWaiting(
      [&] {
        ++waits;
        pumped = true;
      },
      1ms);
  work.Submit([&] {
    while (!pumped) std::this_thread::sleep_for(1ms);
    return 7;
  });
  EXPECT_EQ(work.TakeNext(), 7);
  EXPECT_GE(waits, 1);
}

TEST(OrderedWorkTest, TheWindowBoundsTheJobsInFlight) {
  std::atomic<int> running{0};
  std::atomic<int> most{0};
  OrderedWork<int> work(3, 5);
  int submitted = 0;
  for (int i = 0; i < 30; ++i) {
    work.Submit([&] {
      const int now = ++running;
      for (int seen = most.load(); now > seen && !most.compare_exchange_weak(seen, now);) {
      }
      std::this_thread::sleep_for(1ms);
      --running;
      return 0;
    });
    ++submitted;
    EXPECT_LE(submitted, 5);
    if (work.IsFull()) {
      work.TakeNext();
      --submitted;
    }
  }
  while (!work.IsEmpty()) work.TakeNext();
  EXPECT_LE(most.load(), 3) << "more jobs ran at once than there are workers";
  EXPECT_GE(most.load(), 1);
}

TEST(OrderedWorkTest, AJobsExceptionComesOutWhereItsResultWouldAndLaterJobsStillRun) {
  OrderedWork<std::string> work(2);
  work.Submit([] { return std::string("a"); });
  work.Submit([]() -> std::string { throw std::runtime_error("broken"); });
  work.Submit([] { return std::string("c"); });
  EXPECT_EQ(work.TakeNext(), "a");
  EXPECT_THROW(work.TakeNext(), std::runtime_error);
  EXPECT_EQ(work.TakeNext(), "c");
}

TEST(OrderedWorkTest, EveryWorkerRunsTheExitHookAndDroppedJobsNeverRun) {
  std::atomic<int> exits{0};
  std::atomic<int> ran{0};
  {
    OrderedWork<int> work(2, 100, [&] { ++exits; });
    std::promise<void> release;
    std::shared_future<void> gate = release.get_future().share();
    // Both workers block on the gate, so the other jobs are still queued when we drop them.
    for (int i = 0; i < 2; ++i) {
      work.Submit([&, gate] {
        gate.wait();
        ++ran;
        return 0;
      });
    }
    for (int i = 0; i < 20; ++i) {
      work.Submit([&] {
        ++ran;
        return 0;
      });
    }
    work.DropPending();
    EXPECT_TRUE(work.IsEmpty());
    release.set_value();
  }
  EXPECT_EQ(exits.load(), 2);
  EXPECT_LE(ran.load(), 2) << "jobs dropped before they started must not run";
}

TEST(OrderedWorkTest, TheThreadCountIsTheOneAskedForOrOnePerCore) {
  EXPECT_EQ(GetWorkerThreadCount(3), 3u);
  EXPECT_GE(GetWorkerThreadCount(0), 1u);
}

}  // namespace
}  // namespace pictavo
