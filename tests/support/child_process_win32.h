// Windows only: a program started as a child with its standard output and
// error in pipes of this process, its arguments quoted so that the child's C
// runtime splits them back exactly. Standard error is read all along, so the
// child never stalls on it; standard output is read by the caller, all at
// once or as it arrives.
#pragma once

#include <string>
#include <thread>
#include <vector>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& args,
               const std::string& workingDir);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();  // ends a child still running

  bool started() const { return process != nullptr; }
  // Why the child could not be started (GetLastError), when it could not.
  DWORD startError() const { return whyNotStarted; }
  bool running() const { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }
  HANDLE handle() const { return process; }

  // Reads standard output, without blocking, until it ends with `ending`
  // (carriage returns left out) or `seconds` have passed.
  void readUntil(const std::string& ending, int seconds);

  // Reads both outputs to their end and gives the exit status.
  int finish();

  std::string out;  // standard output so far, byte for byte
  std::string err;

 private:
  HANDLE process = nullptr;
  DWORD whyNotStarted = 0;
  HANDLE outRead = nullptr;
  HANDLE errRead = nullptr;
  std::thread errReader;
};
