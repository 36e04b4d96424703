// What the Windows tests set up beyond files and folders: symbolic links and
// drive letters (each removed again when its object goes), the directory a
// drive keeps for itself, and file attributes. Links and drives are made with
// CreateSymbolicLinkA and DefineDosDeviceA on Windows. Wine accepts the first
// without making anything and keeps its drives as links in the prefix's
// dosdevices folder, so there both are made as links on the host's file system.
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

// Sets the directory that drive `letter` keeps for itself, as the system
// holds it (the environment entry "=D:" for drive D); an empty `directory`
// removes it.
void setDriveDirectory(char letter, const std::string& directory);

// File attributes, with their Windows values.
enum FileAttribute : unsigned { ReadOnly = 0x1, Hidden = 0x2, System = 0x4 };

// Gives `path` exactly `attributes` (0: none of them).
bool setFileAttributes(const std::string& path, unsigned attributes);
