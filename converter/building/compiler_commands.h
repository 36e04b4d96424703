// The real-project mode's compilers: the C and C++ compile commands of the
// build spec as Workbench's make runs them, and what each compiler is given.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "building/compiler_invocation.h"
#include "building/variables.h"
#include "reading/workbench_facts.h"

struct CompilerCommandInputs {
  std::string cCommand;    // the build spec's C compiler command; empty: none
  std::string cxxCommand;  // and its C++ compiler command
  const std::vector<std::string>& includes;  // the include entries, as written
  const WorkbenchFacts& facts;               // the defines lists, the tools' flags
  std::string spec;                          // the build spec read; empty: all
  bool debugMode = true;  // %DebugModeFlags% takes dbgFlags, else nonDbgFlags
};

struct CompilerSettings {
  CompilerInvocation c;    // what compiles C sources
  CompilerInvocation cxx;  // and C++ sources, unless cxxAsC
  bool cCommandDefinesNone = true;  // or there is no C command
  // C++ sources are compiled as C ones are (the same command): `cxx` is
  // left empty rather than a copy of a command that may hold a hundred
  // thousand words.
  bool cxxAsC = false;
  // The tools whose command names its lists too often to put them all in,
  // each with the size its recipe was held to (recipeBound).
  std::vector<std::pair<std::string, std::size_t>> cutCommands;
  // The tools whose recipe has no command that can be told to compile the
  // source (the invocation is then the lists alone), and those whose
  // command that compiles names none of the lists.
  std::vector<std::string> untold;
  std::vector<std::string> takesNoLists;
  // The variables (-var, environment) whose value's white space split the
  // compilers' words, each once.
  std::vector<std::string> splitValues;
  const CompilerInvocation& forCxx() const { return cxxAsC ? c : cxx; }
};

// Each language's recipe composed, its variables expanded (with every build
// macro of the build spec, wherever the file sets it), split into words and
// read.
CompilerSettings compilerSettingsOf(const CompilerCommandInputs& inputs,
                                    VariableExpander& variables);

// Every macro value's references left, counted once for both languages.
void countMacroValues(const CompilerSettings& settings, VariableExpander& variables);

// Whether the one analyser personality takes the C++ compiler's macros and
// include folders: where the project's own sources are all C++, or the C
// command defines none.
bool analyserTakesCxx(const CompilerSettings& settings, std::size_t ownC, std::size_t ownCxx);
