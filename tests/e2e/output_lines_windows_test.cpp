// The converter's standard output as a reading process on Windows sees it:
// every line arrives as soon as it is printed, and standard error stays empty.
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <thread>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "run_program.h"
#include "temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string withoutCarriageReturns(const std::string& text) {
  std::string result;
  for (char c : text) {
    if (c != '\r') result += c;
  }
  return result;
}

// The converter as a child process whose output pipes this test reads itself.
class Child {
 public:
  Child(const std::vector<std::string>& args, const std::string& workingDir) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outWrite = nullptr;
    HANDLE errWrite = nullptr;
    CreatePipe(&outRead, &outWrite, &inherit, 0);
    CreatePipe(&errRead, &errWrite, &inherit, 0);
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    // Plain arguments only: none holds a space or a quote.
    std::string commandLine = "\"" + plovikProgram() + "\"";
    for (const auto& arg : args) commandLine += " " + arg;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    PROCESS_INFORMATION info{};
    started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             workingDir.c_str(), &startup, &info) != 0;
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (started) {
      CloseHandle(info.hThread);
      process = info.hProcess;
      errReader = std::thread([this] {
        char buffer[4096];
        DWORD n = 0;
        while (ReadFile(errRead, buffer, sizeof buffer, &n, nullptr) && n > 0) err.append(buffer, n);
      });
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (process != nullptr) {
      if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) TerminateProcess(process, 99);
      CloseHandle(process);
    }
    if (errReader.joinable()) errReader.join();
    CloseHandle(outRead);
    CloseHandle(errRead);
  }

  bool running() const { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

  // Reads standard output, without blocking, until it ends with `ending` or
  // `seconds` have passed; gives everything read so far.
  std::string readUntil(const std::string& ending, int seconds) {
    const auto deadline = Clock::now() + std::chrono::seconds(seconds);
    while (!endsWith(withoutCarriageReturns(out), ending) && Clock::now() < deadline) {
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
    return withoutCarriageReturns(out);
  }

  // Reads to the end of both outputs and gives the exit status.
  int finish() {
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(outRead, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
    errReader.join();
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
  }

  bool started = false;
  HANDLE process = nullptr;
  std::string out;
  std::string err;

 private:
  static bool endsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
  }
  HANDLE outRead = nullptr;
  HANDLE errRead = nullptr;
  std::thread errReader;
};

// A named pipe that the converter opens as the given analyser personality:
// it reads the personality after printing its first three lines and then
// waits until this test writes, so those lines must already have arrived.
class PersonalityPipe {
 public:
  PersonalityPipe()
      : name("\\\\.\\pipe\\plovik-lines-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(GetTickCount())) {
    handle = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED,
                              PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    connected.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  }
  PersonalityPipe(const PersonalityPipe&) = delete;
  PersonalityPipe& operator=(const PersonalityPipe&) = delete;
  ~PersonalityPipe() {
    CloseHandle(handle);
    CloseHandle(connected.hEvent);
  }
  bool made() const { return handle != INVALID_HANDLE_VALUE; }

  // Waits until `child` has opened the pipe; false when it ended first.
  bool waitForReader(const Child& child) {
    if (ConnectNamedPipe(handle, &connected)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_PIPE_CONNECTED) return true;
    if (error != ERROR_IO_PENDING) return false;
    const HANDLE either[2] = {connected.hEvent, child.process};
    return WaitForMultipleObjects(2, either, FALSE, 60000) == WAIT_OBJECT_0;
  }

  // Hands the reader `content` and then the end of the file.
  bool writeAndClose(const std::string& content) {
    OVERLAPPED writing{};
    writing.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD n = 0;
    const bool ok = (WriteFile(handle, content.data(), static_cast<DWORD>(content.size()), nullptr,
                               &writing) ||
                     GetLastError() == ERROR_IO_PENDING) &&
                    GetOverlappedResult(handle, &writing, &n, TRUE) && n == content.size();
    CloseHandle(writing.hEvent);
    FlushFileBuffers(handle);
    CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    return ok;
  }

  const std::string name;

 private:
  HANDLE handle = INVALID_HANDLE_VALUE;
  OVERLAPPED connected{};
};

TEST(OutputLines, EachLineArrivesWhileTheConverterStillRuns) {
  TempDir dir;
  dir.writeFile("proj/.project",
                "<projectDescription><name>App</name><projects></projects></projectDescription>");
  dir.writeFile("proj/.wrproject",
                "<listAttribute key=\"BLD::Info|Incl|gnu\">\n"
                "<stringAttribute value=\"-Iinc\"/>\n"
                "</listAttribute>\n");
  dir.makeFolder("ws");
  dir.makeFolder("out");
  PersonalityPipe personality;
  ASSERT_TRUE(personality.made());

  Child child({"proj\\.project", "proj\\.wrproject", "ws", "out", "-ap", personality.name},
              dir.str());
  ASSERT_TRUE(child.started);
  ASSERT_TRUE(personality.waitForReader(child)) << "the converter never opened the personality";

  const std::string first = "Creating Olvex/Olvex++ Project ...\n"
                            "  Creating Group - App\n"
                            "  Creating Analyser Personality - " +
                            dir.str("out") + "\\person\\App.p_a\n";
  EXPECT_EQ(child.readUntil(first, 20), first);
  EXPECT_TRUE(child.running()) << "the lines came only with the end of the program";

  ASSERT_TRUE(personality.writeAndClose("-DFROM_PIPE\n"));
  EXPECT_EQ(child.finish(), 0);
  EXPECT_EQ(withoutCarriageReturns(child.out), first + "Olvex/Olvex++ Project Completed!\n");
  EXPECT_EQ(child.err, "");
  const std::string analyser = readFile(dir.path() / "out" / "person" / "App.p_a");
  EXPECT_NE(analyser.find("\r\n-DFROM_PIPE\r\n"), std::string::npos) << analyser;
}

}  // namespace
