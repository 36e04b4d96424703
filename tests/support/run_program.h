// Runs a program as a child process and collects what it printed, for the
// end-to-end tests.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
  int exitCode = -1;  // -1 when the program could not be started or did not exit normally
  std::string out;    // standard output, byte for byte
  std::string err;    // standard error, byte for byte
};

// Runs `program` with `args` (not including the program name) in `workingDir`.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir);

// The converter under test, from the PLOVIK_EXE environment variable.
std::string plovikProgram();

// Runs the converter in `workingDir` with `args`.
inline ProgramResult runPlovik(const std::vector<std::string>& args, const std::string& workingDir) {
  return runProgram(plovikProgram(), args, workingDir);
}
