#include "driver/ordered_pool.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/platform.h"

void runInOrder(std::size_t count, unsigned jobs, bool writesFiles,
                const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& shown) {
  std::mutex mutex;
  std::condition_variable finished;
  std::vector<char> done(count, 0);
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    for (std::size_t i = next++; i < count; i = next++) {
      work(i);
      const std::lock_guard<std::mutex> lock(mutex);
      done[i] = 1;
      finished.notify_all();
    }
  };
  std::vector<std::thread> threads;
  if (jobs > 1 && count > 1) {
    if (writesFiles) platform::takeInterruptsOnOwnThread();
    try {
      while (threads.size() < std::min<std::size_t>(jobs, count)) threads.emplace_back(worker);
    } catch (const std::system_error&) {
      // Fewer threads than asked for still do the work.
    }
  }
  if (threads.empty()) worker();
  for (std::size_t i = 0; i < count; ++i) {
    std::unique_lock<std::mutex> lock(mutex);
    finished.wait(lock, [&] { return done[i] != 0; });
    lock.unlock();
    shown(i);
  }
  for (std::thread& thread : threads) thread.join();
}

unsigned processorCount() { return std::max(1u, std::thread::hardware_concurrency()); }
