#include "run_program.h"

#include <cstdlib>
#include <string>

#include "child_process_win32.h"

std::string plovikProgram() {
  const char* value = std::getenv("PLOVIK_EXE");
  if (value == nullptr) return "Plovik.exe";
  std::string program = value;
  // Under Wine, ctest hands over the build machine's path; its whole file
  // system is drive Z:.
  if (!program.empty() && program[0] == '/') {
    for (char& c : program) {
      if (c == '/') c = '\\';
    }
    program = "Z:" + program;
  }
  return program;
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir) {
  ProgramResult result;
  ChildProcess child(program, args, workingDir);
  if (!child.started()) {
    // Said where a test compares standard error, so a failure shows why.
    result.err =
        "could not start " + program + ": system error " + std::to_string(child.startError());
    return result;
  }
  result.exitCode = child.finish();
  result.out = std::move(child.out);
  result.err = std::move(child.err);
  return result;
}
