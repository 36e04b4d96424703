// Win32 implementation of the platform layer. The converter works with 8-bit
// strings, so only the ANSI ("A") entry points are used.
#include "platform/platform.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <utility>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/interrupt_table.h"
#include "text/ascii.h"
#include "text/path.h"

namespace platform {

namespace {

// Reads a string whose length the call reports when the buffer is too small
// (GetCurrentDirectoryA, GetEnvironmentVariableA): ask for the size, read,
// and ask again if it grew in between.
template <typename Read>
bool readSized(Read read, std::string& out) {
  DWORD needed = read(0, nullptr);
  while (needed != 0) {
    std::string buffer(needed, '\0');
    const DWORD written = read(needed, buffer.data());
    if (written == 0) return false;
    if (written < needed) {
      buffer.resize(written);
      out = std::move(buffer);
      return true;
    }
    needed = written;
  }
  return false;
}

EntryType typeOf(DWORD attributes) {
  // A reparse point (symbolic link, junction, mount point) is reported as a
  // link even when it leads to a folder, so the scan never follows it.
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return EntryType::Link;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryType::Folder;
  return EntryType::File;
}

// What a reparse point leads to: open it (which follows it) and ask.
PathKind kindBehindLink(const std::string& path) {
  const HANDLE handle =
      CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return PathKind::Missing;
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!known) return PathKind::Missing;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

}  // namespace

bool currentDirectory(std::string& out) {
  return readSized([](DWORD size, char* buffer) { return GetCurrentDirectoryA(size, buffer); },
                   out);
}

bool driveCurrentDirectory(char drive, std::string& out) {
  if (!ascii::isLetter(drive)) return false;
  const char letter = ascii::upper(drive);

  // The current drive's directory is the process's current directory.
  std::string current;
  if (currentDirectory(current) && path::hasDriveLetter(current) &&
      ascii::upper(current[0]) == letter) {
    out = std::move(current);
    return true;
  }

  // Other drives: the system keeps their directories in the hidden
  // environment entries "=C:", "=D:", ... Reading one changes nothing.
  const std::string name = std::string("=") + letter + ':';
  std::string value;
  if (!readSized(
          [&name](DWORD size, char* buffer) {
            return GetEnvironmentVariableA(name.c_str(), buffer, size);
          },
          value)) {
    return false;
  }
  if (!path::hasDriveLetter(value) || ascii::upper(value[0]) != letter) return false;
  out = std::move(value);
  return true;
}

bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
  // The system ends a path at a zero byte, so it would list another folder.
  if (folder.find('\0') != std::string::npos) return false;
  const std::string pattern = folder + "\\*";
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    entries.push_back({found.cFileName, typeOf(found.dwFileAttributes)});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return true;
}

PathKind pathKind(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return kindBehindLink(path);
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

bool pathExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

MakeFolderResult makeFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return MakeFolderResult::Made;
  return GetLastError() == ERROR_ALREADY_EXISTS ? MakeFolderResult::AlreadyExists
                                                : MakeFolderResult::Failed;
}

bool replaceFile(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

NewFileResult createNewFile(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return NewFileResult::Created;
  }
  const DWORD error = GetLastError();
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? NewFileResult::AlreadyExists
                                                                     : NewFileResult::Failed;
}

namespace {

// A handle on the file under the name itself, for its information only.
HANDLE openForInformation(const std::string& path, bool followLinks) {
  return CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT),
                     nullptr);
}

}  // namespace

NodeKind nodeKind(const std::string& path, bool followLinks) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return NodeKind::Missing;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !followLinks) return NodeKind::Link;
  const HANDLE handle = openForInformation(path, followLinks);
  if (handle == INVALID_HANDLE_VALUE) {
    // Files open elsewhere without sharing still have their attributes.
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? NodeKind::Folder : NodeKind::Regular;
  }
  // Devices such as NUL or CON answer with another type than a disk file.
  const DWORD type = GetFileType(handle);
  BY_HANDLE_FILE_INFORMATION info;
  const bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (type != FILE_TYPE_DISK || !known) return NodeKind::Other;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? NodeKind::Folder : NodeKind::Regular;
}

bool sameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION info[2];
  const std::string* paths[2] = {&a, &b};
  for (int i = 0; i < 2; ++i) {
    const HANDLE handle = openForInformation(*paths[i], true);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const bool known = GetFileInformationByHandle(handle, &info[i]) != 0;
    CloseHandle(handle);
    if (!known) return false;
  }
  return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
         info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
         info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// Access rights of folders are lists that a simple test does not read; the
// temporary file made beside each target has shown that it can be written.
bool canCreateIn(const std::string& folder) {
  const DWORD attributes = GetFileAttributesA(folder.empty() ? "." : folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

ReadStartResult readRegularFileStart(const std::string& path, std::size_t limit,
                                     std::string& out) {
  if (nodeKind(path, false) != NodeKind::Regular) return ReadStartResult::NotRegular;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return ReadStartResult::Failed;
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return ReadStartResult::NotRegular;
  }
  // Sized by the file rather than by the limit: clearing a megabyte for
  // each small .project of a workspace of a thousand projects adds up.
  LARGE_INTEGER size{};
  const std::size_t known =
      GetFileSizeEx(file, &size) ? static_cast<std::size_t>(size.QuadPart) : std::size_t{0};
  out.resize(std::min<std::size_t>(limit, known + 1));
  std::size_t got = 0;
  while (got < limit) {
    if (got == out.size()) out.resize(std::min(limit, 2 * out.size()));  // it grew
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(out.size() - got, 1 << 20));
    DWORD n = 0;
    if (!ReadFile(file, out.data() + got, want, &n, nullptr) || n == 0) break;
    got += n;
  }
  CloseHandle(file);
  out.resize(got);
  return ReadStartResult::Read;
}

NewFileResult keepCopy(const std::string& path, const std::string& copy) {
  if (CreateHardLinkA(copy.c_str(), path.c_str(), nullptr)) return NewFileResult::Created;
  DWORD error = GetLastError();
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return NewFileResult::AlreadyExists;
  // A file system without hard links (FAT): a copy, never over another file.
  if (CopyFileA(path.c_str(), copy.c_str(), TRUE)) return NewFileResult::Created;
  error = GetLastError();
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? NewFileResult::AlreadyExists
                                                                     : NewFileResult::Failed;
}

bool keepPermissions(const std::string& earlier, const std::string& replacement) {
  // Access lists are the folder's, as for any new file; these attributes
  // are the ones a user sets on a file by hand.
  constexpr DWORD kept =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  const DWORD from = GetFileAttributesA(earlier.c_str());
  const DWORD to = GetFileAttributesA(replacement.c_str());
  if (from == INVALID_FILE_ATTRIBUTES || to == INVALID_FILE_ATTRIBUTES) return false;
  if ((from & kept) == (to & kept)) return true;
  DWORD attributes = (to & ~kept & ~FILE_ATTRIBUTE_NORMAL) | (from & kept);
  if (attributes == 0) attributes = FILE_ATTRIBUTE_NORMAL;
  return SetFileAttributesA(replacement.c_str(), attributes) != 0;
}

// Writes to a closed pipe fail with an error on Windows; there is no signal.
void reportBrokenPipes() {}

namespace {

detail::InterruptTable interruptFiles;
std::atomic<int> holds{0};
// Set once the handler has begun to remove the files: a hold begun after
// that waits for the process to end.
std::atomic<bool> removing{false};
thread_local int ownHolds = 0;  // this thread's share of `holds`

// Runs on a thread of its own, beside the main thread.
BOOL WINAPI onConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  removing.store(true);
  while (holds.load() > 0) Sleep(1);
  interruptFiles.removeAll([](const char* path) { DeleteFileA(path); });
  ExitProcess(0xC000013A);  // STATUS_CONTROL_C_EXIT, as the default handler ends it
}

}  // namespace

void catchInterrupts() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

int removeOnInterrupt(const std::string& path) { return interruptFiles.add(path); }

void forgetOnInterrupt(int slot) { interruptFiles.forget(slot); }

void holdInterrupts() {
  ++holds;
  // A thread inside a hold of its own goes on: the removal waits for it.
  if (ownHolds++ > 0 || !removing.load()) return;
  --holds;
  for (;;) Sleep(1000);
}

void releaseInterrupts() {
  if (ownHolds == 0) return;
  --ownHolds;
  --holds;
}

// The console's handler runs on a thread of its own already.
void takeInterruptsOnOwnThread() {}

bool environmentVariable(const std::string& name, std::string& value) {
  const DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) return false;
  std::string buffer(size, '\0');
  const DWORD length = GetEnvironmentVariableA(name.c_str(), buffer.data(), size);
  if (length == 0 || length >= size) return false;
  buffer.resize(length);
  value = std::move(buffer);
  return true;
}

bool systemTextToUtf8(std::string& text) {
  if (text.empty()) return true;
  if (text.size() > static_cast<std::size_t>(INT_MAX)) return false;
  const int length = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (wide <= 0) return false;
  std::wstring units(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), length, units.data(), wide);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, units.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return false;
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, units.data(), wide, utf8.data(), bytes, nullptr, nullptr);
  text = std::move(utf8);
  return true;
}

}  // namespace platform
