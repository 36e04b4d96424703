#pragma once

#include <string>

// Makes one folder level unless something, file or folder, exists under the
// name already. Throws IOERROR (CannotCreateDirectory) with `path` as given.
void makeDirectory(const std::string& path);
