#include "driver/errors.h"
#include "driver/file_group.h"
#include "platform/platform.h"

// Only the name is tested: a file lying where a folder should be is accepted
// here, and whatever is later written below it fails in its own way.
void FileGroup::makeDirectory(const std::string& path) {
  if (platform::pathExists(path)) return;
  if (platform::makeFolder(path) != platform::MakeFolderResult::Failed) return;
  throw IOERROR{IOERROR::CannotCreateDirectory, path};
}
