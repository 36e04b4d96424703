// Where the analyser project goes and what its blocks name: the settings
// every writer reads.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "text/path.h"

struct ProjectLayout {
  std::string destFolder;
  std::string workspaceDir;
  std::string projectName;
  std::string messagePersonality;   // given with -mp; empty: an empty one is made
  std::string compilerPersonality;  // given with -cp; empty: an empty one is made
  // Reads the analyser personality given with -ap into its argument; false
  // when it cannot be opened. Empty when none was given.
  std::function<bool(std::string&)> readGivenAnalyserPersonality;

  std::string personFolder() const {
    return destFolder + path::separator() + "person" + path::separator();
  }
  // The personality file this conversion makes, such as ".p_a".
  std::string personality(std::string_view extension) const {
    std::string path = personFolder() + projectName;
    path += extension;
    return path;
  }
};
