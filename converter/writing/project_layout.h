// Where the analyser project goes and what its blocks name: the settings
// every writer reads. What the run names in it is in run_outputs.
#pragma once

#include <functional>
#include <string>

struct ProjectLayout {
  std::string destFolder;
  std::string workspaceDir;
  std::string projectName;
  std::string messagePersonality;   // given with -mp; empty: an empty one is made
  std::string compilerPersonality;  // given with -cp; empty: an empty one is made
  // Reads the analyser personality given with -ap into its argument; false
  // when it cannot be opened. Empty when none was given.
  std::function<bool(std::string&)> readGivenAnalyserPersonality;
};
