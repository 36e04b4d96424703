#include "platform/platform.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <thread>
#include <string_view>
#include <unistd.h>
#include <unordered_map>

#include "platform/interrupt_table.h"

namespace platform {

bool currentDirectory(std::string& out) {
  // getcwd has no way to ask for the length, so grow until it fits.
  std::string buffer(256, '\0');
  for (;;) {
    if (getcwd(buffer.data(), buffer.size()) != nullptr) {
      buffer.resize(std::char_traits<char>::length(buffer.c_str()));
      out = std::move(buffer);
      return true;
    }
    if (errno != ERANGE) return false;
    buffer.resize(buffer.size() * 2);
  }
}

bool driveCurrentDirectory(char, std::string&) { return false; }

static EntryType typeOf(const dirent& entry) {
#ifdef DT_DIR
  switch (entry.d_type) {
    case DT_DIR: return EntryType::Folder;
    case DT_LNK: return EntryType::Link;
    case DT_UNKNOWN: return EntryType::Unknown;
    default: return EntryType::File;
  }
#else
  (void)entry;
  return EntryType::Unknown;
#endif
}

// The first 8 bytes of `name` (fewer padded with zeros) as a number that
// orders as the names do: names hold no zero byte, and compare as unsigned
// bytes.
static std::uint64_t firstBytes(const std::string& name) {
  std::uint64_t start = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    start = start << 8 | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0);
  }
  return start;
}

bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  // The system ends a path at a zero byte, so it would list another folder.
  if (folder.find('\0') != std::string::npos) return false;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return false;
  std::vector<FolderEntry> found;
  while (const dirent* entry = readdir(dir)) {
    found.push_back({entry->d_name, typeOf(*entry)});
  }
  closedir(dir);
  // readdir's order depends on the file system; sorting makes the same tree
  // give the same project file everywhere. The entries are sorted by
  // reference: a folder of tens of thousands would move every name a
  // dozen times over; and by their first 8 bytes as a number before the
  // whole names, since those nearly always differ there.
  struct Sorted {
    std::uint64_t start;
    FolderEntry* entry;
  };
  std::vector<Sorted> order(found.size());
  for (std::size_t i = 0; i < found.size(); ++i) order[i] = {firstBytes(found[i].name), &found[i]};
  std::sort(order.begin(), order.end(), [](const Sorted& a, const Sorted& b) {
    return a.start != b.start ? a.start < b.start : a.entry->name < b.entry->name;
  });
  for (const Sorted& one : order) entries.push_back(std::move(*one.entry));
  return true;
}

PathKind pathKind(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return PathKind::Missing;
  return S_ISDIR(status.st_mode) ? PathKind::Folder : PathKind::File;
}

bool pathExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

MakeFolderResult makeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0777) == 0) return MakeFolderResult::Made;
  return errno == EEXIST ? MakeFolderResult::AlreadyExists : MakeFolderResult::Failed;
}

bool replaceFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

NewFileResult createNewFile(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (fd >= 0) {
    close(fd);
    return NewFileResult::Created;
  }
  return errno == EEXIST ? NewFileResult::AlreadyExists : NewFileResult::Failed;
}

NodeKind nodeKind(const std::string& path, bool followLinks) {
  struct stat status;
  if ((followLinks ? stat(path.c_str(), &status) : lstat(path.c_str(), &status)) != 0) {
    return NodeKind::Missing;
  }
  if (S_ISREG(status.st_mode)) return NodeKind::Regular;
  if (S_ISDIR(status.st_mode)) return NodeKind::Folder;
  if (S_ISLNK(status.st_mode)) return NodeKind::Link;
  return NodeKind::Other;
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat first, second;
  if (stat(a.c_str(), &first) != 0 || stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool canCreateIn(const std::string& folder) {
  return access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

ReadStartResult readRegularFileStart(const std::string& path, std::size_t limit,
                                     std::string& out) {
  if (nodeKind(path, false) != NodeKind::Regular) return ReadStartResult::NotRegular;
  // Looked at again through the open file, in case the name changed in between.
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return ReadStartResult::Failed;
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return ReadStartResult::NotRegular;
  }
  // Sized by the file rather than by the limit: clearing a megabyte for
  // each small .project of a workspace of a thousand projects adds up.
  out.resize(std::min<std::size_t>(limit, static_cast<std::size_t>(status.st_size) + 1));
  std::size_t got = 0;
  while (got < limit) {
    if (got == out.size()) out.resize(std::min(limit, 2 * out.size()));  // it grew
    const ssize_t n = read(fd, out.data() + got, out.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  close(fd);
  out.resize(got);
  return ReadStartResult::Read;
}

NewFileResult keepCopy(const std::string& path, const std::string& copy) {
  if (link(path.c_str(), copy.c_str()) == 0) return NewFileResult::Created;
  if (errno == EEXIST) return NewFileResult::AlreadyExists;
  // A file system without hard links: a copy of the content.
  const NewFileResult made = createNewFile(copy);
  if (made != NewFileResult::Created) return made;
  std::FILE* from = std::fopen(path.c_str(), "rb");
  std::FILE* to = from ? std::fopen(copy.c_str(), "wb") : nullptr;
  bool copied = to != nullptr;
  char buffer[1 << 16];
  while (copied) {
    const std::size_t n = std::fread(buffer, 1, sizeof buffer, from);
    if (n == 0) break;
    copied = std::fwrite(buffer, 1, n, to) == n;
  }
  copied = copied && !std::ferror(from);
  if (to && std::fclose(to) != 0) copied = false;
  if (from) std::fclose(from);
  if (copied) return NewFileResult::Created;
  std::remove(copy.c_str());
  return NewFileResult::Failed;
}

bool keepPermissions(const std::string& earlier, const std::string& replacement) {
  struct stat status;
  if (stat(earlier.c_str(), &status) != 0) return false;
  // The permission bits only: a set-user-ID bit is no output's to take over.
  return chmod(replacement.c_str(), status.st_mode & 0777) == 0;
}

void reportBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

namespace {

constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP};
detail::InterruptTable interruptFiles;
// Each thread blocks the signals for its own holds; the mask it had is
// given back at its last release.
thread_local int holds = 0;
thread_local sigset_t maskBeforeHold;
// Every thread's holds together, and whether the interrupt's own thread has
// begun to remove the files: a hold begun after that waits for the end.
std::atomic<int> holdsAnywhere{0};
std::atomic<bool> removing{false};

extern "C" void onInterrupt(int signal) {
  interruptFiles.removeAll([](const char* path) { unlink(path); });
  // The handler was reset to the default action, and the signal stays
  // blocked until the handler returns: then it ends the process.
  raise(signal);
}

sigset_t interruptSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kInterrupts) sigaddset(&set, signal);
  return set;
}

// The signals onInterrupt was installed for (not those ignored from the start).
sigset_t caughtSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : kInterrupts) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == onInterrupt) {
      sigaddset(&set, signal);
    }
  }
  return set;
}

// Waits for the first caught signal, then for every hold to end, removes
// the files and ends the process with the signal's default action.
void watchInterrupts(sigset_t set) {
  int signal = 0;
  if (sigwait(&set, &signal) != 0) return;
  removing.store(true);
  while (holdsAnywhere.load() > 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  interruptFiles.removeAll([](const char* path) { unlink(path); });
  std::signal(signal, SIG_DFL);
  sigset_t one;
  sigemptyset(&one);
  sigaddset(&one, signal);
  pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
  raise(signal);
}

}  // namespace

void catchInterrupts() {
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  action.sa_mask = interruptSet();
  action.sa_flags = SA_RESETHAND;
  for (const int signal : kInterrupts) {
    struct sigaction earlier {};
    if (sigaction(signal, nullptr, &earlier) == 0 && earlier.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

void takeInterruptsOnOwnThread() {
  // Blocked here, and so in every thread started from here on: only the
  // watching thread takes them.
  const sigset_t set = caughtSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  std::thread(watchInterrupts, set).detach();
}

int removeOnInterrupt(const std::string& path) { return interruptFiles.add(path); }

void forgetOnInterrupt(int slot) { interruptFiles.forget(slot); }

void holdInterrupts() {
  ++holdsAnywhere;
  if (holds == 0 && removing.load()) {
    // The process ends as soon as the files are gone; this thread makes none.
    // (One inside a hold of its own goes on: the removal waits for it.)
    --holdsAnywhere;
    for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
  }
  if (holds++ > 0) return;
  const sigset_t set = interruptSet();
  pthread_sigmask(SIG_BLOCK, &set, &maskBeforeHold);
}

void releaseInterrupts() {
  if (holds == 0) return;
  --holdsAnywhere;
  if (--holds > 0) return;
  pthread_sigmask(SIG_SETMASK, &maskBeforeHold, nullptr);
}

namespace {

// The environment as it was at the first look-up, by name. A build may name
// a hundred thousand variables nothing defines, each looked for here, and
// getenv walks the whole environment each time; nothing in a run sets one.
const std::unordered_map<std::string, std::string>& environmentByName() {
  static const std::unordered_map<std::string, std::string> table = [] {
    std::unordered_map<std::string, std::string> made;
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string_view text(*entry);
      const std::size_t equals = text.find('=');
      if (equals == std::string_view::npos) continue;
      // The first of a name wins, as for getenv.
      made.try_emplace(std::string(text.substr(0, equals)), text.substr(equals + 1));
    }
    return made;
  }();
  return table;
}

}  // namespace

bool environmentVariable(const std::string& name, std::string& value) {
  const auto& table = environmentByName();
  const auto found = table.find(name);
  if (found == table.end()) return false;
  value = found->second;
  return true;
}

bool systemTextToUtf8(std::string&) { return true; }

}  // namespace platform
