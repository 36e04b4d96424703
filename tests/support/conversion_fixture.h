// Whole conversions through the real program in a fresh folder: a workspace
// "ws", a destination "out" and the two project files in "proj", outside the
// workspace.
#pragma once

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "run_program.h"
#include "temp_dir.h"
#include "text_lines.h"

// The native separator as a string.
extern const std::string s;

// Every file below `folder` with its content, by its path with "/".
std::map<std::string, std::string> filesBelow(const std::filesystem::path& folder);

// Pieces of a build description.
std::string subprojects(const std::vector<std::string>& paths);
std::string includes(const std::vector<std::string>& paths);
std::string compilerCommand(const std::string& command);

class Conversion : public ::testing::Test {
 public:
  void SetUp() override;
  // The project description (named `name` unless empty, referring to
  // `projects`) and the build description.
  void describe(const std::string& name, const std::vector<std::string>& projects,
                const std::string& buildSettings);
  ProgramResult convert(const std::vector<std::string>& options = {},
                        const std::string& dest = "out");
  // The absolute path the program makes of `relative`.
  std::string at(const std::string& relative) const;
  // The example of two groups: App with two files and an include path, Lib
  // with one file.
  void describeExample();

  TempDir dir;
  const std::string ws = dir.str("ws");
  const std::string out = at("out");
  const std::string pers = out + s + "person" + s + "App";
};
