#include "child_process_posix.h"

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

std::string plovikProgram() {
  const char* value = std::getenv("PLOVIK_EXE");
  return value != nullptr ? value : "Plovik";
}

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void becomeChild(const std::string& program, const std::vector<std::string>& args,
                              const std::string& workingDir, const ChildOptions& options,
                              int outFd, int errFd) {
  dup2(outFd, STDOUT_FILENO);
  dup2(errFd, STDERR_FILENO);
  const int devNull = open("/dev/null", O_RDONLY);
  if (devNull >= 0) dup2(devNull, STDIN_FILENO);
  if (options.setUpChild) options.setUpChild();
  if (!workingDir.empty() && chdir(workingDir.c_str()) != 0) _exit(127);
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execvp(program.c_str(), argv.data());
  _exit(127);
}

// Reads both pipes until the child closes them, so neither can fill up, or
// until the deadline; false when the deadline came first.
bool drain(int outFd, int errFd, ProgramResult& result, Clock::time_point deadline) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  char buffer[65536];
  while (open > 0) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    const int ready = poll(fds, 2, static_cast<int>(std::min<long long>(left, 1 << 30)));
    if (ready < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
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
  return true;
}

}  // namespace

ChildResult runChild(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workingDir, const ChildOptions& options) {
  ChildResult result;
  int outPipe[2];
  int errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0) return result;
  if (pipe2(errPipe, O_CLOEXEC) != 0) {
    close(outPipe[0]);
    close(outPipe[1]);
    return result;
  }
  const auto start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) becomeChild(program, args, workingDir, options, outPipe[1], errPipe[1]);
  close(outPipe[1]);
  close(errPipe[1]);
  if (pid > 0) {
    const auto deadline = options.timeoutSeconds > 0
                              ? start + std::chrono::seconds(options.timeoutSeconds)
                              : Clock::time_point::max();
    if (!drain(outPipe[0], errPipe[0], result, deadline)) {
      result.timedOut = true;
      kill(pid, SIGKILL);
    }
  }
  close(outPipe[0]);
  close(errPipe[0]);
  if (pid < 0) return result;

  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  result.peakRssKb = usage.ru_maxrss;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir) {
  return runChild(program, args, workingDir, {});
}
