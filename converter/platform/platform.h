// The converter's only window on the operating system. Everything that needs a
// system call goes through here; the POSIX and Win32 implementations live in
// posix/ and windows/ and nothing else includes a system header.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace platform {

#ifdef _WIN32
// Names are bytes of the ANSI code page.
inline constexpr bool namesAreUtf8 = false;
#else
inline constexpr bool namesAreUtf8 = true;
#endif

// The process's current directory, of any length. False when it cannot be read
// (for instance because it was removed).
bool currentDirectory(std::string& out);

// The current directory that the system keeps for drive `drive` (a letter),
// read without changing the process's own. False where there are no drives
// or the drive has none.
bool driveCurrentDirectory(char drive, std::string& out);

enum class EntryType { File, Folder, Link, Unknown };

struct FolderEntry {
  std::string name;
  EntryType type;  // as the listing itself reports it
};

// Lists one folder, "." and ".." included, in the order the converter takes
// them: byte order of the names on POSIX, the listing's own order on Windows.
// False, with `entries` unchanged, when the folder cannot be listed (a path
// holding a zero byte included: the system would take it for another one).
bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries);

enum class PathKind { Missing, File, Folder };

// What a path names, following symbolic links.
PathKind pathKind(const std::string& path);

// True when anything, file or folder, exists under the name.
bool pathExists(const std::string& path);

enum class MakeFolderResult { Made, AlreadyExists, Failed };

// Makes one folder level; the parent must exist.
MakeFolderResult makeFolder(const std::string& path);

// Renames `from` to `to`, replacing a file that is already there.
bool replaceFile(const std::string& from, const std::string& to);

enum class NewFileResult { Created, AlreadyExists, Failed };

// Creates an empty file, but only if nothing (not even a dangling link) lies
// under the name yet.
NewFileResult createNewFile(const std::string& path);

enum class NodeKind { Missing, Regular, Folder, Link, Other };

// What lies under the name: a regular file, a folder, a symbolic link (only
// without `followLinks`) or something else (a device, a FIFO, a socket).
// With `followLinks` a dangling link is Missing.
NodeKind nodeKind(const std::string& path, bool followLinks);

// Whether two existing names lead to the same file (the same device and
// file number); false when either cannot be looked at.
bool sameFile(const std::string& a, const std::string& b);

// Whether a file may be created in `folder` (on Windows: whether it is a folder).
bool canCreateIn(const std::string& folder);

enum class ReadStartResult { Read, NotRegular, Failed };

// At most `limit` bytes from the start of the file `path` into `out`, read
// only when the name itself is a regular file: a symbolic link, a FIFO (which
// would wait for a writer) or a device is never opened for reading.
ReadStartResult readRegularFileStart(const std::string& path, std::size_t limit, std::string& out);

// Makes `copy`, a name where nothing lies yet, a second name of the file
// `path` (a hard link, without following a symbolic link), or else a copy of
// its content. AlreadyExists when something lies under `copy`.
NewFileResult keepCopy(const std::string& path, const std::string& copy);

// Gives `replacement` the permissions of `earlier`, the file it is about to
// replace: the permission bits on POSIX; on Windows the attributes hidden,
// system and not-indexed (read-only files are refused before this). False
// when they could not be read or set.
bool keepPermissions(const std::string& earlier, const std::string& replacement);

// A write to a pipe whose reader has gone then fails like any other write,
// instead of ending the process without a word (POSIX's SIGPIPE).
void reportBrokenPipes();

// The user's interrupt: SIGINT, SIGTERM and SIGHUP on POSIX; Ctrl-C,
// Ctrl-Break and closing the console on Windows. Once caught, it removes the
// files named by removeOnInterrupt and ends the process as it would have
// ended it (POSIX: the signal's default action; Windows: exit status
// 0xC000013A). A signal that was ignored when the process started stays so.
void catchInterrupts();
// Names `path` for removal on an interrupt; the slot to forget it by, or -1
// when the table is full (the file is then left, as without this).
int removeOnInterrupt(const std::string& path);
void forgetOnInterrupt(int slot);
// An interrupt that comes between holdInterrupts and the matching
// releaseInterrupts is taken only then, so that a file is never made
// without being named, nor a set of renames left half done. They nest.
void holdInterrupts();
void releaseInterrupts();
// Before a run starts threads that write files: the interrupt is then
// taken on one thread of its own, which waits until no thread holds it, so
// that every thread's files are named or renamed whole. On Windows the
// console's handler runs on a thread of its own already.
void takeInterruptsOnOwnThread();

// The value of environment variable `name`; false when it is not set.
bool environmentVariable(const std::string& name, std::string& value);

// Makes `text`, a name or value as this system's calls give it, UTF-8: on
// POSIX the bytes stay as they are (whether they are UTF-8 is the caller's
// to check), on Windows they are converted from the ANSI code page. False,
// with `text` unchanged, when it cannot be converted.
bool systemTextToUtf8(std::string& text);

}  // namespace platform
