// The program a Workbench compiler command runs.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Expands the variables of a word, as far as they have values.
using WordExpander = std::function<std::string(std::string_view)>;

// For `echo "building $@";%ccompilerprefix% $(TOOL_PATH)ccppc %DebugModeFlags%
// ... -c %InFile%` the program "ccppc": of a list of commands (";", "&&",
// "||") the one that names %InFile%, else the last; its first word that is
// neither a %placeholder% nor a NAME=value setting, its variables expanded.
// Where one cannot be, the program is the word's file name ("$(TOOL_PATH)/dcc"
// and "$(WIND_HOME)/diab/bin/dcc" give "dcc"), or the word without the
// references in front of it ("$(TOOL_PATH)dcc"). Empty when no program is
// left, or when its name itself still depends on a variable.
std::string compilerProgram(std::string_view command, const WordExpander& expand = {});

// Where the program is among one command's words: the first word that is
// neither a %placeholder% nor a NAME=value setting; words.size() for none.
std::size_t programWordOf(const std::vector<std::string>& words);

// The program a word names once `expand` has done what it could: the
// word, or where a variable is left, its file name as above.
std::string programNamed(std::string word, const WordExpander& expand = {});
