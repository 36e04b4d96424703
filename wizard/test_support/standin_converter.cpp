// A stand-in for Plovik in the wizard's tests. It writes each argument it was
// given on a line of its own to "arguments.txt" in its current directory,
// prints two lines (the second with a two-byte character split across two
// writes), then the bytes of the file STANDIN_PRINT names, if any (a form
// feed in them is not printed: it flushes and pauses, so a test can split a
// line between two reads), and ends with the exit status named by
// STANDIN_EXIT (default 0). With STANDIN_WAIT_FOR set, it first waits until
// that file exists, so a test can look at the wizard while a conversion is
// running. With STANDIN_CRASH set, it crashes instead of ending.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// A write through a null pointer, as a real fault would be, so the wizard
// sees the operating system's own report of a crash.
[[noreturn]] void crash() {
#ifdef _WIN32
  // Ended by the fault's code, as Windows ends a program nobody debugs,
  // instead of waiting for Wine's debugger.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter([](EXCEPTION_POINTERS*) -> LONG { return EXCEPTION_EXECUTE_HANDLER; });
#endif
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
  std::abort();  // not reached
}

}  // namespace

int main(int argc, char** argv) {
  {
    std::ofstream record("arguments.txt", std::ios::binary);
    for (int i = 1; i < argc; ++i) record << argv[i] << '\n';
  }

  if (const char* gate = std::getenv("STANDIN_WAIT_FOR")) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!std::filesystem::exists(gate) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  std::fputs("Stand-in converter started\n", stdout);
  std::fputs("Reading \xC3", stdout);
  std::fflush(stdout);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::fputs("\x98sterby\n", stdout);
  std::fflush(stdout);

  if (const char* extra = std::getenv("STANDIN_PRINT")) {
    std::ifstream in(extra, std::ios::binary);
    for (char c; in.get(c);) {
      if (c != '\f') {
        std::fputc(c, stdout);
        continue;
      }
      std::fflush(stdout);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::fflush(stdout);
  }

  if (std::getenv("STANDIN_CRASH")) crash();
  const char* status = std::getenv("STANDIN_EXIT");
  return status ? std::atoi(status) : 0;
}
