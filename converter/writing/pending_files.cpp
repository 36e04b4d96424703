#include "writing/pending_files.h"

#include <algorithm>
#include <cstdio>

#include "model/failure.h"
#include "platform/platform.h"
#include "text/path.h"

namespace {

// The temporary names of a target: ".tmp", then ".tmp1" to ".tmp99".
constexpr int kTemporaryNames = 100;

std::string temporaryName(const std::string& target, int attempt) {
  return target + ".tmp" + (attempt == 0 ? "" : std::to_string(attempt));
}

[[noreturn]] void cannotWrite(const std::string& target) {
  throw IOERROR(FailureKind::CannotWriteFile, target);
}

// Whether an existing file could be written, tested without cutting it.
bool isWritable(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r+b");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

// The folder a target is made in, with its separator ("a/" of "a/x"), so
// that a file in its place is no folder; empty (the current one) for none.
std::string folderPrefixOf(const std::string& path) {
  return path.substr(0, path::fileNameStart(path, path::native));
}

// What can be told before anything is written or replaced: a folder or an
// unwritable file cannot be replaced, and nothing but a regular file may be
// (a rename would put a plain file where /dev/null or a symbolic link was).
void checkTarget(const std::string& target) {
  switch (platform::nodeKind(target, false)) {
    case platform::NodeKind::Folder: cannotWrite(target);
    case platform::NodeKind::Link:
      if (platform::nodeKind(target, true) == platform::NodeKind::Folder) cannotWrite(target);
      [[fallthrough]];
    case platform::NodeKind::Other: throw IOERROR(FailureKind::NotRegularFile, target);
    case platform::NodeKind::Regular:
      if (!isWritable(target)) cannotWrite(target);
      break;
    case platform::NodeKind::Missing: break;
  }
}

bool isReserved(const std::string& name, const std::vector<std::string>& reserved) {
  return std::find(reserved.begin(), reserved.end(), name) != reserved.end();
}

bool isLeftoverKind(platform::NodeKind kind) {
  return kind == platform::NodeKind::Regular || kind == platform::NodeKind::Link;
}

// A run that was killed (the wizard's Cancel does that) leaves its temporary
// files; they would pile up until no name is free. Only files and links
// under the converter's own names are removed, and never an output of this
// run (`-cdb App.prj.tmp` names a temporary name of the project file).
void removeLeftovers(const std::string& target, const std::vector<std::string>& reserved) {
  for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
    const std::string name = temporaryName(target, attempt);
    if (isLeftoverKind(platform::nodeKind(name, false)) && !isReserved(name, reserved)) {
      std::remove(name.c_str());
    }
  }
}

// Whether `target` has the free temporary names a run needs: one for the new
// content and, where the target exists, one for its earlier version. With
// `takingLeftovers`, a leftover counts as free, for it would be removed.
bool enoughNames(const std::string& target, const std::vector<std::string>& reserved,
                 bool takingLeftovers) {
  int needed = platform::nodeKind(target, false) == platform::NodeKind::Missing ? 1 : 2;
  for (int attempt = 0; attempt < kTemporaryNames && needed > 0; ++attempt) {
    const std::string name = temporaryName(target, attempt);
    if (isReserved(name, reserved)) continue;
    const platform::NodeKind kind = platform::nodeKind(name, false);
    if (kind == platform::NodeKind::Missing || (takingLeftovers && isLeftoverKind(kind))) --needed;
  }
  return needed == 0;
}

// Holds the user's interrupt while a file is made and named for removal,
// or while the targets are replaced.
struct InterruptHold {
  InterruptHold() { platform::holdInterrupts(); }
  ~InterruptHold() { platform::releaseInterrupts(); }
  InterruptHold(const InterruptHold&) = delete;
  InterruptHold& operator=(const InterruptHold&) = delete;
};

}  // namespace

PendingFiles::PendingFiles(Replace replace)
    : replace(replace ? std::move(replace) : Replace(platform::replaceFile)) {}

PendingFiles::~PendingFiles() { discard(); }

void PendingFiles::check(const std::string& target, const std::vector<std::string>& others) {
  checkTarget(target);
  if (!enoughNames(target, others, true)) throw IOERROR(FailureKind::NoTemporaryName, target);
}

std::vector<std::string> PendingFiles::targets() const {
  std::vector<std::string> names;
  for (const Entry& entry : entries) names.push_back(entry.target);
  return names;
}

// A free name beside `target` made by `make`, and named for removal on an
// interrupt. The targets of this run are never taken.
std::string PendingFiles::freeName(const std::string& target, int& slot, const MakeName& make) const {
  const std::vector<std::string> reserved = targets();
  for (int attempt = 0; attempt < kTemporaryNames; ++attempt) {
    std::string name = temporaryName(target, attempt);
    if (isReserved(name, reserved)) continue;
    const InterruptHold hold;
    switch (make(name)) {
      case platform::NewFileResult::Created:
        slot = platform::removeOnInterrupt(name);
        return name;
      case platform::NewFileResult::AlreadyExists: continue;
      case platform::NewFileResult::Failed: cannotWrite(target);
    }
  }
  throw IOERROR(FailureKind::NoTemporaryName, target);
}

std::ofstream PendingFiles::open(const std::string& target) {
  auto known = std::find_if(entries.begin(), entries.end(),
                            [&](const Entry& entry) { return entry.target == target; });
  if (known == entries.end()) {
    checkTarget(target);
    // Leftovers go when the run has succeeded, or now if names run short: a
    // run that fails removes no file it did not make.
    if (!enoughNames(target, targets(), false)) removeLeftovers(target, targets());
    Entry entry;
    entry.target = target;
    // What is left under a name now (a folder, say) is kept.
    entry.temporary = freeName(target, entry.temporarySlot, platform::createNewFile);
    entries.push_back(std::move(entry));
    known = entries.end() - 1;
  }
  std::ofstream out(known->temporary, std::ios::out | std::ios::binary | std::ios::trunc);
  if (!out.is_open()) cannotWrite(target);
  return out;
}

// A second name for the target's earlier version, under a free temporary
// name of its own; nothing when there is no earlier version.
void PendingFiles::keepEarlier(Entry& entry) const {
  if (platform::nodeKind(entry.target, false) == platform::NodeKind::Missing) return;
  entry.earlier = freeName(entry.target, entry.earlierSlot, [&](const std::string& name) {
    return platform::keepCopy(entry.target, name);
  });
}

void PendingFiles::commit() {
  // An interrupt waits until every target is replaced or none is.
  const InterruptHold hold;
  try {
    // Every failure that can be told beforehand ends the run with nothing replaced.
    for (const Entry& entry : entries) {
      checkTarget(entry.target);
      if (!platform::canCreateIn(folderPrefixOf(entry.target))) cannotWrite(entry.target);
    }
    // The project file is opened first and replaced last, so it never names
    // a personality file that is not in place yet.
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
      keepEarlier(*entry);
      // A replaced file keeps who may read it (a private 0600 stays so).
      if (!entry->earlier.empty()) platform::keepPermissions(entry->earlier, entry->temporary);
      if (!replace(entry->temporary, entry->target)) cannotWrite(entry->target);
      entry->replaced = true;
    }
  } catch (...) {
    restore();
    discard();
    throw;
  }
  const std::vector<std::string> done = targets();
  discard();
  for (const std::string& target : done) removeLeftovers(target, done);
}

// The targets replaced so far get their earlier versions back (or are
// removed again where there was none), the last replaced first.
void PendingFiles::restore() {
  for (Entry& entry : entries) {
    if (!entry.replaced) continue;
    if (entry.earlier.empty()) {
      std::remove(entry.target.c_str());
    } else {
      // Should even this fail, the earlier version stays under its temporary name.
      platform::replaceFile(entry.earlier, entry.target);
      entry.earlier.clear();
    }
    entry.replaced = false;
  }
}

void PendingFiles::discard() {
  const InterruptHold hold;
  for (const Entry& entry : entries) {
    if (!entry.replaced) std::remove(entry.temporary.c_str());
    if (!entry.earlier.empty()) std::remove(entry.earlier.c_str());
    platform::forgetOnInterrupt(entry.temporarySlot);
    platform::forgetOnInterrupt(entry.earlierSlot);
  }
  entries.clear();
}
