// Where the analyser project goes and what its blocks name: the settings
// every writer reads. What the run names in it is in run_outputs.
#pragma once

#include <functional>
#include <optional>
#include <string>

struct ProjectLayout {
  std::string destFolder;
  std::string workspaceDir;
  std::string projectName;
  std::string messagePersonality;   // given with -mp; empty: an empty one is made
  std::string compilerPersonality;  // given with -cp; empty: an empty one is made
  // Reads the analyser personality given with -ap; none when it cannot be
  // read. Empty when none was given. The writer calls it once, when the
  // first block that names the personality is written, and every block
  // takes that content: it may be the very file the run replaces, or a pipe
  // that some other program fills, which gives its content only once.
  std::function<std::optional<std::string>()> readGivenAnalyserPersonality;
};
