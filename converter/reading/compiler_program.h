// The program a Workbench compiler command runs.
#pragma once

#include <string>
#include <string_view>

// For `echo "building $@";%ccompilerprefix% $(TOOL_PATH)ccppc %DebugModeFlags%
// ... -c %InFile%` the program "ccppc": of a list of commands (";", "&&",
// "||") the one that names %InFile%, else the last; its first word that is
// neither a %placeholder% nor a NAME=value setting; leading $(X) references
// (a tool path) removed. Empty when no program is left, or when it still
// depends on a build macro.
std::string compilerProgram(std::string_view command);
