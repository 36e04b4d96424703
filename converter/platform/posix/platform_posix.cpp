#include "platform/platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
  // give the same project file everywhere.
  std::sort(found.begin(), found.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  entries.insert(entries.end(), std::make_move_iterator(found.begin()),
                 std::make_move_iterator(found.end()));
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

bool environmentVariable(const std::string& name, std::string& value) {
  const char* found = std::getenv(name.c_str());
  if (found == nullptr) return false;
  value = found;
  return true;
}

bool systemTextToUtf8(std::string&) { return true; }

}  // namespace platform
