#include "driver/errors.h"
#include "driver/file_group.h"
#include "platform/platform.h"

// Only the name is tested: a file lying where a folder should be is accepted
// here, and whatever is later written below it fails in its own way. Making
// the folder comes first: into a new destination that is one system call per
// folder instead of two, and a name that exists is found either way.
void FileGroup::makeDirectory(const std::string& path) {
  if (platform::makeFolder(path) != platform::MakeFolderResult::Failed) return;
  if (platform::pathExists(path)) return;
  throw IOERROR{IOERROR::CannotCreateDirectory, path};
}
