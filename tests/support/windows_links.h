// Symbolic links and drive letters for the Windows tests. On Windows they are
// made with CreateSymbolicLinkA and DefineDosDeviceA. Wine accepts the first
// without making anything and keeps its drives as links in the prefix's
// dosdevices folder, so there they are made as links on the host's file system.
#pragma once

#include <string>

// Makes `link` a symbolic link to the folder `target`; both are Windows paths
// and the folder holding `link` must exist.
bool makeFolderLink(const std::string& link, const std::string& target);

// Makes drive `letter` (such as 'D') show the folder `root`. False when the
// letter is already in use or the drive cannot be made.
bool mapDrive(char letter, const std::string& root);

// Removes a drive made by mapDrive.
void unmapDrive(char letter);
