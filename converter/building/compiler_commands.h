// The real-project mode's macros and compilers: the C and C++ compiler
// commands of the build spec, read as make runs them, and its defines lists.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "building/variables.h"
#include "reading/workbench_facts.h"

struct CompilerSettings {
  std::map<std::string, std::string> cMacros;    // the macros of C sources
  std::map<std::string, std::string> cxxMacros;  // and of C++ sources
  bool cCommandDefinesNone = true;  // before the defines lists
  std::string cProgram;    // the programs the commands run; empty: none could be told
  std::string cxxProgram;
};

// Each command's variables expanded (with every build macro, wherever the
// file sets it), then its words split as a shell splits them, each -D
// taken; then the defines lists (of the build spec and of none), for both
// languages, so that where a list and a command define a name the list
// wins.
CompilerSettings compilerSettingsOf(const std::vector<std::string>& cCommands,
                                    const std::string& cCompiler, const std::string& cxxCompiler,
                                    const WorkbenchFacts& facts, const std::string& spec,
                                    VariableExpander& variables);

// Every macro value expanded, what is left counted.
void expandMacroValues(CompilerSettings& settings, VariableExpander& variables);

// The macros the one analyser personality takes: the C command's, unless
// the project's own sources are all C++ or the C command defines none.
const std::map<std::string, std::string>& analyserMacros(const CompilerSettings& settings,
                                                         std::size_t ownC, std::size_t ownCxx);

// Every -D definition among `words` ("-DNAME", "-DNAME=VALUE", or "-D" and
// the definition as the next word) set in `macros`.
void defineFromWords(const std::vector<std::string>& words,
                     std::map<std::string, std::string>& macros);
