#include "run_program.h"

#include "command_line_win32.h"

#include <cstdlib>
#include <thread>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

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

// Backslashes are literal except before a double quote, where they and the
// quote are escaped.
std::string quoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string::npos) return arg;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      quoted.append(backslashes * 2 + 1, '\\');
    } else {
      quoted.append(backslashes, '\\');
    }
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  quoted += '"';
  return quoted;
}

namespace {

void readAll(HANDLE pipe, std::string& sink) {
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0) sink.append(buffer, n);
}

// A pipe whose write end the child inherits and whose read end stays here.
bool makePipe(HANDLE& readEnd, HANDLE& writeEnd) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return false;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  return true;
}

}  // namespace

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir) {
  ProgramResult result;
  std::string commandLine = quoteArgument(program);
  for (const auto& arg : args) commandLine += ' ' + quoteArgument(arg);

  HANDLE outRead, outWrite, errRead, errWrite;
  if (!makePipe(outRead, outWrite)) return result;
  if (!makePipe(errRead, errWrite)) {
    CloseHandle(outRead);
    CloseHandle(outWrite);
    return result;
  }
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  const HANDLE input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherit, OPEN_EXISTING, 0, nullptr);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;
  PROCESS_INFORMATION process{};
  const BOOL started =
      CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &process);
  // Only the child may hold the write ends now, so the reads below end when it does.
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
  if (started) {
    // One reader per pipe, so a child that fills one of them cannot stall.
    std::thread errReader(readAll, errRead, std::ref(result.err));
    readAll(outRead, result.out);
    errReader.join();
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(process.hProcess, &code)) result.exitCode = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(outRead);
  CloseHandle(errRead);
  return result;
}
