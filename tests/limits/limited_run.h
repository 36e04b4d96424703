// Runs the converter as a child process under limits the ordinary test
// runner does not set: a file size limit (a write that fails part-way, as on
// a full disk), another user (so that file permissions apply even when the
// tests run as root) and a time limit; and measures the child's peak memory.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "child_process_posix.h"

struct Limits {
  long long fileSizeBytes = 0;  // 0: no limit
  long long addressSpaceBytes = 0;  // 0: no limit; allocations past it fail
  bool unprivileged = false;    // run a copy of the converter as a user that permissions stop
  int timeoutSeconds = 120;     // the child is killed after this long
};

// Exit code, output, whether the time limit ended it, peak memory and time.
using LimitedResult = ChildResult;

LimitedResult runLimited(const std::vector<std::string>& args, const std::string& workingDir,
                         const Limits& limits = {});

// Starts the converter with `args` in `workingDir` and returns at once with
// the child's pid (for the test to signal and wait for); its standard output
// goes nowhere, and `signal` has its default action in it (a shell may start
// background jobs with SIGINT ignored, which the run would keep).
// With `output` (a file descriptor) its standard output goes there instead.
int startQuietly(const std::vector<std::string>& args, const std::string& workingDir, int signal,
                 int output = -1);

// Gives everything below `root` to the user that unprivileged runs use, so
// such a run may write where the test allows it. Does nothing when the tests
// do not run as root (the child then runs as the same user).
void handToUnprivilegedUser(const std::filesystem::path& root);

// Empty when unprivileged runs are possible here; otherwise why not, for a
// test to skip with. As root they need uid 65534, which a user namespace that
// maps no such uid lacks; as any other user they run as that user.
std::string whyNoUnprivilegedUser();

// Whether the tests were built with AddressSanitizer, which changes the
// converter's memory use beyond what a bound on it could state.
constexpr bool kSanitized =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif
