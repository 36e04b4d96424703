// A fresh, empty folder for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();

  const std::filesystem::path& path() const { return root; }
  // The folder's path as a string, or `relative` below it.
  std::string str(const std::string& relative = "") const;

  // Writes `content` byte for byte to `relative`, making parent folders.
  void writeFile(const std::string& relative, const std::string& content) const;
  void makeFolder(const std::string& relative) const;

 private:
  std::filesystem::path root;
};

// The whole content of a file, byte for byte; empty when it cannot be read.
std::string readFile(const std::filesystem::path& path);
