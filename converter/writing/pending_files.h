// The files one conversion produces. Each is written under a temporary name
// beside its target and put in place only when the whole conversion has
// succeeded, so a failed run never replaces a good file with a broken one.
#pragma once

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

class PendingFiles {
 public:
  // Puts a temporary file in place of its target; the system's rename unless
  // a test gives another.
  using Replace = std::function<bool(const std::string& from, const std::string& to)>;

  explicit PendingFiles(Replace replace = nullptr);
  PendingFiles(const PendingFiles&) = delete;
  PendingFiles& operator=(const PendingFiles&) = delete;
  ~PendingFiles();

  // An empty binary stream that will become `target`. Opening a target again
  // starts its content afresh (the last writer wins). Files that earlier
  // runs left under the target's temporary names (its name followed by
  // ".tmp" and up to two digits) are passed over, or removed first when too
  // few names are free; the targets opened before it are never taken or
  // removed (a target that may be another's temporary name is opened first).
  // The temporary file is removed should the user interrupt the run
  // (platform::catchInterrupts). Throws Failure, nothing truncated:
  // CannotWriteFile with `target` when it is a folder (or a link to one),
  // exists but cannot be written, or no file can be made beside it;
  // NotRegularFile when it is a symbolic link, a device, a FIFO or the
  // like; NoTemporaryName when every temporary name is taken by something
  // that is not a file.
  std::ofstream open(const std::string& target);

  // Checks every target again, then renames every temporary file over its
  // target, the first opened last. The earlier version of each target is
  // kept under a temporary name until all are in place: when a rename fails,
  // the targets already replaced get their earlier versions back. Throws
  // CannotWriteFile (or NotRegularFile) with the target that failed, after
  // removing every temporary file. A replaced target's permissions pass to
  // its new content; an interrupt waits until the commit is over. After a
  // commit the files earlier runs left under the targets' temporary names,
  // none of them a target, are removed.
  void commit();

  // Removes every temporary file; the targets stay as they were.
  void discard();

  // What open() and commit() would refuse for `target`, told without making
  // or removing anything: the same Failure. `others`, the run's other
  // outputs, are never taken for temporary names.
  static void check(const std::string& target, const std::vector<std::string>& others);

 private:
  struct Entry {
    std::string target;
    std::string temporary;
    std::string earlier;  // the target's earlier version while committing
    bool replaced = false;
    int temporarySlot = -1;  // their places among the files an interrupt removes
    int earlierSlot = -1;
  };
  using MakeName = std::function<platform::NewFileResult(const std::string&)>;
  std::vector<std::string> targets() const;
  std::string freeName(const std::string& target, int& slot, const MakeName& make) const;
  void keepEarlier(Entry& entry) const;
  void restore();
  Replace replace;
  std::vector<Entry> entries;
};
