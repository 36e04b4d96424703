// Symbolic links and drive letters for the Windows tests, each removed again
// when its object goes. On Windows they are made with CreateSymbolicLinkA and
// DefineDosDeviceA. Wine accepts the first without making anything and keeps
// its drives as links in the prefix's dosdevices folder, so there both are
// made as links on the host's file system.
#pragma once

#include <string>

// `link` made a symbolic link to the folder `target`; both are Windows paths
// and the folder that is to hold `link` must exist.
class FolderLink {
 public:
  FolderLink(std::string link, const std::string& target);
  FolderLink(const FolderLink&) = delete;
  FolderLink& operator=(const FolderLink&) = delete;
  ~FolderLink();
  bool made() const { return isMade; }

 private:
  std::string link;
  bool isMade = false;
};

// Drive `letter` (such as 'D') made to show the folder `root`. Not made when
// the letter is already in use.
class MappedDrive {
 public:
  MappedDrive(char letter, const std::string& root);
  MappedDrive(const MappedDrive&) = delete;
  MappedDrive& operator=(const MappedDrive&) = delete;
  ~MappedDrive();
  bool made() const { return isMade; }

 private:
  char letter;
  bool isMade = false;
};
