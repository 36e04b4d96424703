#include "child_process_win32.h"

#include <chrono>

#include "command_line_win32.h"
#include "text_lines.h"

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

bool endsWith(const std::string& text, const std::string& ending) {
  return text.size() >= ending.size() &&
         text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& args,
                           const std::string& workingDir) {
  std::string commandLine = quoteArgument(program);
  for (const auto& arg : args) commandLine += ' ' + quoteArgument(arg);
  HANDLE outWrite = nullptr;
  HANDLE errWrite = nullptr;
  if (!makePipe(outRead, outWrite)) {
    whyNotStarted = GetLastError();
    return;
  }
  if (!makePipe(errRead, errWrite)) {
    whyNotStarted = GetLastError();
    CloseHandle(outWrite);
    return;
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
  PROCESS_INFORMATION info{};
  const BOOL made =
      CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                     workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info);
  // Only the child may hold the write ends now, so the reads end when it does.
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
  if (!made) {
    whyNotStarted = GetLastError();
    return;
  }
  CloseHandle(info.hThread);
  process = info.hProcess;
  errReader = std::thread(readAll, errRead, std::ref(err));
}

ChildProcess::~ChildProcess() {
  if (process != nullptr) {
    if (running()) TerminateProcess(process, 99);
    CloseHandle(process);
  }
  if (errReader.joinable()) errReader.join();
  if (outRead != nullptr) CloseHandle(outRead);
  if (errRead != nullptr) CloseHandle(errRead);
}

void ChildProcess::readUntil(const std::string& ending, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!endsWith(lines(out), ending) && std::chrono::steady_clock::now() < deadline) {
    DWORD available = 0;
    if (!PeekNamedPipe(outRead, nullptr, 0, nullptr, &available, nullptr)) break;
    if (available == 0) {
      Sleep(5);
      continue;
    }
    std::string buffer(available, '\0');
    DWORD n = 0;
    if (!ReadFile(outRead, buffer.data(), available, &n, nullptr)) break;
    out.append(buffer, 0, n);
  }
}

int ChildProcess::finish() {
  readAll(outRead, out);
  if (errReader.joinable()) errReader.join();
  WaitForSingleObject(process, INFINITE);
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code)) return -1;
  return static_cast<int>(code);
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
