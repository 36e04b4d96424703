// Where the analyser project goes and what its blocks name: the settings
// every writer reads. What the run names in it is in run_outputs.
#pragma once

#include <optional>
#include <string>

struct ProjectLayout {
  std::string destFolder;
  std::string workspaceDir;
  std::string projectName;
  std::string messagePersonality;   // given with -mp; empty: an empty one is made
  std::string compilerPersonality;  // given with -cp; empty: an empty one is made
  // The analyser personality given with -ap, read by the driver before
  // anything is written: it may be the very file the run replaces.
  bool analyserPersonalityGiven = false;
  std::optional<std::string> givenAnalyserPersonality;  // none: it could not be read
};
