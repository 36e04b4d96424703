// The paths an interrupt removes, shared by both platforms' handlers. The
// handler only reads the slots, each a lock-free atomic pointer, so it may
// run inside a signal handler (POSIX) or beside the main thread (Windows).
// The texts stay allocated until the process ends: a handler on another
// thread may still be reading one that was just forgotten. Several threads
// of a workspace run add their files at once; adding takes a lock, which
// the handler never does.
#pragma once

#include <atomic>
#include <forward_list>
#include <mutex>
#include <string>

namespace platform::detail {

class InterruptTable {
 public:
  int add(const std::string& path) {
    const std::lock_guard<std::mutex> lock(adding);
    for (int slot = 0; slot < kSlots; ++slot) {
      if (slots[slot].load() != nullptr) continue;
      texts.push_front(path);
      slots[slot].store(texts.front().c_str());
      return slot;
    }
    return -1;
  }

  void forget(int slot) {
    if (slot >= 0 && slot < kSlots) slots[slot].store(nullptr);
  }

  template <typename Remove>
  void removeAll(Remove remove) {
    for (auto& slot : slots) {
      if (const char* path = slot.exchange(nullptr)) remove(path);
    }
  }

 private:
  // A run names a few files at a time: its outputs' temporary names and
  // their earlier versions; a workspace run that many for each thread.
  static constexpr int kSlots = 1024;
  std::atomic<const char*> slots[kSlots] = {};
  std::forward_list<std::string> texts;  // written under `adding` only
  std::mutex adding;
  static_assert(std::atomic<const char*>::is_always_lock_free);
};

}  // namespace platform::detail
