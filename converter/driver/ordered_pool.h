// A bounded pool of threads whose results are shown in a fixed order: the
// projects of a workspace run convert at once, and their lines still come
// out the same whatever finished first.
#pragma once

#include <cstddef>
#include <functional>

// Runs work(0) ... work(count - 1) on up to `jobs` threads, and shown(i) on
// the calling thread in the order of i, each as soon as work(i) and every
// one before it are done. With one job, or when no thread can be had, the
// work runs on the calling thread in turn. `writesFiles`: the work writes
// files that an interrupt must remove, so the interrupt is taken on a
// thread of its own while several run (platform::takeInterruptsOnOwnThread).
// `work` must not throw.
void runInOrder(std::size_t count, unsigned jobs, bool writesFiles,
                const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& shown);

// The number of processors, at least 1: the default number of jobs.
unsigned processorCount();
