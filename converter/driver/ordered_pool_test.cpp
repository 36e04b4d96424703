#include "driver/ordered_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

TEST(OrderedPool, ShownInOrderWhateverFinishesFirst) {
  const struct {
    std::size_t count;
    unsigned jobs;
  } cases[] = {{0, 4}, {1, 4}, {7, 1}, {7, 3}, {7, 16}, {40, 4}};
  for (const auto& c : cases) {
    std::vector<int> results(c.count, -1);
    std::vector<std::size_t> order;
    std::mutex mutex;
    std::set<std::thread::id> threads;
    std::atomic<int> running{0};
    int most = 0;
    runInOrder(
        c.count, c.jobs, false,
        [&](std::size_t i) {
          const int now = ++running;
          // The first ones take longest, so later ones finish before them.
          std::this_thread::sleep_for(std::chrono::milliseconds(i < 3 ? 20 - 5 * int(i) : 1));
          results[i] = static_cast<int>(i) * 2;
          const std::lock_guard<std::mutex> lock(mutex);
          threads.insert(std::this_thread::get_id());
          most = std::max(most, now);
          --running;
        },
        [&](std::size_t i) {
          EXPECT_EQ(results[i], static_cast<int>(i) * 2) << "shown before its work was done";
          order.push_back(i);
        });
    std::vector<std::size_t> expected(c.count);
    for (std::size_t i = 0; i < c.count; ++i) expected[i] = i;
    EXPECT_EQ(order, expected) << c.count << " on " << c.jobs;
    EXPECT_LE(most, static_cast<int>(c.jobs)) << "more at once than the jobs allowed";
    if (c.jobs == 1) {
      EXPECT_LE(threads.size(), 1u);
    }
  }
}

}  // namespace
