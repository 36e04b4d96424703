#include "limited_run.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "run_program.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kUnprivileged = 65534;  // "nobody" on Debian; no entry in passwd is needed

// Sets up the child's side and runs the converter; never returns.
[[noreturn]] void becomeConverter(const std::vector<std::string>& args,
                                  const std::string& workingDir, const Limits& limits,
                                  int outFd, int errFd) {
  dup2(outFd, STDOUT_FILENO);
  dup2(errFd, STDERR_FILENO);
  const int devNull = open("/dev/null", O_RDONLY);
  if (devNull >= 0) dup2(devNull, STDIN_FILENO);
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
  if (chdir(workingDir.c_str()) != 0) _exit(127);
  const std::string program = plovikProgram();
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execvp(program.c_str(), argv.data());
  _exit(127);
}

}  // namespace

LimitedResult runLimited(const std::vector<std::string>& args, const std::string& workingDir,
                         const Limits& limits) {
  LimitedResult result;
  int outPipe[2];
  int errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0) return result;
  if (pipe2(errPipe, O_CLOEXEC) != 0) {
    close(outPipe[0]);
    close(outPipe[1]);
    return result;
  }
  const auto start = std::chrono::steady_clock::now();
  const auto deadline = start + std::chrono::seconds(limits.timeoutSeconds);
  const pid_t pid = fork();
  if (pid == 0) becomeConverter(args, workingDir, limits, outPipe[1], errPipe[1]);
  close(outPipe[1]);
  close(errPipe[1]);

  // Read both pipes until the child closes them or its time is up.
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = pid > 0 ? 2 : 0;
  char buffer[65536];
  while (open > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      result.timedOut = true;
      kill(pid, SIGKILL);
      break;
    }
    const int ready = poll(fds, 2, static_cast<int>(left.count()));
    if (ready < 0 && errno != EINTR) break;
    for (int i = 0; i < 2 && ready > 0; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        fds[i].fd = -1;
        --open;
      }
    }
  }
  close(outPipe[0]);
  close(errPipe[0]);
  if (pid < 0) return result;

  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  result.peakRssKb = usage.ru_maxrss;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

void handToUnprivilegedUser(const fs::path& root) {
  if (geteuid() != 0) return;
  lchown(root.c_str(), kUnprivileged, kUnprivileged);
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    lchown(entry.path().c_str(), kUnprivileged, kUnprivileged);
  }
}
