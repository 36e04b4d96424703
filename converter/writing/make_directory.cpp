#include "writing/make_directory.h"

#include "model/failure.h"
#include "platform/platform.h"

// Only the name is tested: a file lying where a folder should be is accepted
// here, and whatever is later written below it fails in its own way. Making
// the folder comes first: into a new destination that is one system call per
// folder instead of two, and a name that exists is found either way.
void makeDirectory(const std::string& path) {
  if (platform::makeFolder(path) != platform::MakeFolderResult::Failed) return;
  if (platform::pathExists(path)) return;
  throw IOERROR(FailureKind::CannotCreateDirectory, path);
}
