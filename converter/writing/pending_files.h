// The files one conversion produces. Each is written under a temporary name
// beside its target and put in place only when the whole conversion has
// succeeded, so a failed run never replaces a good file with a broken one.
#pragma once

#include <fstream>
#include <string>
#include <vector>

class PendingFiles {
 public:
  PendingFiles() = default;
  PendingFiles(const PendingFiles&) = delete;
  PendingFiles& operator=(const PendingFiles&) = delete;
  ~PendingFiles();

  // An empty binary stream that will become `target`. Opening a target again
  // starts its content afresh (the last writer wins). Throws IOERROR kind 2
  // with `target` when it is a folder, when it exists but cannot be written,
  // or when no file can be made beside it; nothing is truncated.
  std::ofstream open(const std::string& target);

  // Renames every temporary file over its target, the first opened last.
  // Throws IOERROR kind 2 with the target that could not be replaced, after
  // removing the temporary files not yet in place.
  void commit();

  // Removes every temporary file; the targets stay as they were.
  void discard();

 private:
  struct Entry {
    std::string target;
    std::string temporary;
  };
  std::string makeTemporary(const std::string& target) const;
  std::vector<Entry> entries;
};
