// POSIX only: a child process with a set-up step of the caller's between fork
// and exec (limits, another user), an optional time limit, and the child's
// resource use. runProgram is this without the extras.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "run_program.h"

struct ChildOptions {
  std::function<void()> setUpChild;  // runs in the child before it changes folder; may _exit
  int timeoutSeconds = 0;            // the child is killed after this long; 0: no limit
};

struct ChildResult : ProgramResult {
  bool timedOut = false;
  long peakRssKb = 0;  // the child's maximum resident set size
  double seconds = 0;
};

ChildResult runChild(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workingDir, const ChildOptions& options);
