#include "writing/pending_files.h"

#include <algorithm>
#include <cstdio>

#include "model/failure.h"
#include "platform/platform.h"

namespace {

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

}  // namespace

PendingFiles::~PendingFiles() { discard(); }

std::string PendingFiles::makeTemporary(const std::string& target) const {
  // A name left over from a crashed run, or a file of the user's, is kept.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = target + ".tmp" + (attempt == 0 ? "" : std::to_string(attempt));
    switch (platform::createNewFile(name)) {
      case platform::NewFileResult::Created: return name;
      case platform::NewFileResult::AlreadyExists: continue;
      case platform::NewFileResult::Failed: cannotWrite(target);
    }
  }
  cannotWrite(target);
}

std::ofstream PendingFiles::open(const std::string& target) {
  auto known = std::find_if(entries.begin(), entries.end(),
                            [&](const Entry& entry) { return entry.target == target; });
  if (known == entries.end()) {
    switch (platform::pathKind(target)) {
      case platform::PathKind::Folder: cannotWrite(target);
      case platform::PathKind::File:
        if (!isWritable(target)) cannotWrite(target);
        break;
      case platform::PathKind::Missing: break;
    }
    entries.push_back({target, makeTemporary(target)});
    known = entries.end() - 1;
  }
  std::ofstream out(known->temporary, std::ios::out | std::ios::binary | std::ios::trunc);
  if (!out.is_open()) cannotWrite(target);
  return out;
}

void PendingFiles::commit() {
  // The project file is opened first and replaced last, so it never names a
  // personality file that is not in place yet.
  while (!entries.empty()) {
    const Entry& last = entries.back();
    if (!platform::replaceFile(last.temporary, last.target)) {
      const std::string target = last.target;
      discard();
      cannotWrite(target);
    }
    entries.pop_back();
  }
}

void PendingFiles::discard() {
  for (const Entry& entry : entries) std::remove(entry.temporary.c_str());
  entries.clear();
}
