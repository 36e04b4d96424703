#include "limited_run.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr uid_t kUnprivileged = 65534;  // "nobody" on Debian; no entry in passwd is needed

bool switchesUser(const Limits& limits) { return limits.unprivileged && geteuid() == 0; }

bool becomeUnprivileged() {
  return setgroups(0, nullptr) == 0 && setgid(kUnprivileged) == 0 && setuid(kUnprivileged) == 0;
}

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
  if (limits.addressSpaceBytes > 0) {
    const rlimit space{static_cast<rlim_t>(limits.addressSpaceBytes),
                       static_cast<rlim_t>(limits.addressSpaceBytes)};
    if (setrlimit(RLIMIT_AS, &space) != 0) _exit(125);
  }
  if (switchesUser(limits) && !becomeUnprivileged()) _exit(126);
}

// The build folder may lie where the other user cannot enter (a clone below
// /root or in a folder made by mktemp -d), so runs as that user start a copy
// of the converter in a folder of its own below the temporary folder, where
// the tests' own folders lie too. One copy per test program, removed at exit.
class UnprivilegedCopy {
 public:
  UnprivilegedCopy() {
    const std::string original = plovikProgram();
    folder = fs::temp_directory_path() / ("plovik-for-uid-65534-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directory(folder);
    constexpr fs::perms everyoneReadsAndRuns = fs::perms::owner_all | fs::perms::group_read |
        fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(folder, everyoneReadsAndRuns);
    program = (folder / fs::path(original).filename()).string();
    fs::copy_file(original, program);
    fs::permissions(program, everyoneReadsAndRuns);
    std::printf("Runs as uid 65534 start a copy of %s: %s (the build folder may be out of "
                "that user's reach)\n", original.c_str(), program.c_str());
    std::fflush(stdout);
    // Without arguments the converter prints its usage and exits with 0.
    ChildOptions options;
    options.setUpChild = [] { applyLimits({.unprivileged = true}); };
    options.timeoutSeconds = 60;
    const ChildResult usage = runChild(program, {}, folder.string(), options);
    if (usage.exitCode != 0) {
      throw std::runtime_error("uid 65534 cannot run " + program + " (exit status " +
                               std::to_string(usage.exitCode) +
                               "); the temporary folder must be one that user can enter (TMPDIR)");
    }
  }
  ~UnprivilegedCopy() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  UnprivilegedCopy(const UnprivilegedCopy&) = delete;
  UnprivilegedCopy& operator=(const UnprivilegedCopy&) = delete;

  fs::path folder;
  std::string program;
};

const std::string& unprivilegedProgram() {
  static const UnprivilegedCopy copy;
  return copy.program;
}

}  // namespace

LimitedResult runLimited(const std::vector<std::string>& args, const std::string& workingDir,
                         const Limits& limits) {
  ChildOptions options;
  options.setUpChild = [&limits] { applyLimits(limits); };
  options.timeoutSeconds = limits.timeoutSeconds;
  return runChild(switchesUser(limits) ? unprivilegedProgram() : plovikProgram(), args, workingDir,
                  options);
}

int startQuietly(const std::vector<std::string>& args, const std::string& workingDir, int signal,
                 int output) {
  const std::string program = plovikProgram();
  std::vector<std::string> all = args;
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (auto& arg : all) argv.push_back(arg.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    std::signal(signal, SIG_DFL);
    dup2(output >= 0 ? output : open("/dev/null", O_WRONLY), STDOUT_FILENO);
    if (chdir(workingDir.c_str()) == 0) execv(program.c_str(), argv.data());
    _exit(127);
  }
  return pid;
}

void handToUnprivilegedUser(const fs::path& root) {
  if (geteuid() != 0) return;
  lchown(root.c_str(), kUnprivileged, kUnprivileged);
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    lchown(entry.path().c_str(), kUnprivileged, kUnprivileged);
  }
}

std::string whyNoUnprivilegedUser() {
  static const std::string why = [] {
    if (geteuid() != 0) return std::string();
    const pid_t pid = fork();
    if (pid == 0) _exit(becomeUnprivileged() ? 0 : errno);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) {
      return std::string("could not start a process to try uid 65534");
    }
    if (WEXITSTATUS(status) == 0) return std::string();
    return "no uid 65534 to switch to here (" + std::string(std::strerror(WEXITSTATUS(status))) +
           "; a user namespace that maps no such user?), so permissions cannot be tried on a "
           "user they stop";
  }();
  return why;
}
