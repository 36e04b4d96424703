// The program a Workbench compiler command runs.
#pragma once

#include <string>
#include <vector>

// Where the program is among one command's words: the first word that is
// neither a %placeholder% nor a NAME=value setting; words.size() for none.
std::size_t programWordOf(const std::vector<std::string>& words);

// The program a word names once its variables are expanded as far as they
// have values: the word, or where a variable is left, the word's file name
// ("$(TOOL_PATH)/dcc" and "$(WIND_HOME)/diab/bin/dcc" give "dcc"), or the
// word without the references in front of it ("$(TOOL_PATH)dcc"). Empty when
// its name itself still depends on a variable.
std::string programNamed(std::string word);
