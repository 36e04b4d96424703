#include "limited_run.h"

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr uid_t kUnprivileged = 65534;  // "nobody" on Debian; no entry in passwd is needed

// Runs in the child, between fork and exec.
void applyLimits(const Limits& limits) {
  if (limits.fileSizeBytes > 0) {
    // A write past the limit then fails with EFBIG, as one on a full disk
    // fails with ENOSPC, instead of the signal ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit size{static_cast<rlim_t>(limits.fileSizeBytes),
                      static_cast<rlim_t>(limits.fileSizeBytes)};
    if (setrlimit(RLIMIT_FSIZE, &size) != 0) _exit(125);
  }
  if (limits.unprivileged && geteuid() == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(kUnprivileged) != 0 || setuid(kUnprivileged) != 0) {
      _exit(126);
    }
  }
}

}  // namespace

LimitedResult runLimited(const std::vector<std::string>& args, const std::string& workingDir,
                         const Limits& limits) {
  ChildOptions options;
  options.setUpChild = [&limits] { applyLimits(limits); };
  options.timeoutSeconds = limits.timeoutSeconds;
  return runChild(plovikProgram(), args, workingDir, options);
}

void handToUnprivilegedUser(const fs::path& root) {
  if (geteuid() != 0) return;
  lchown(root.c_str(), kUnprivileged, kUnprivileged);
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    lchown(entry.path().c_str(), kUnprivileged, kUnprivileged);
  }
}
