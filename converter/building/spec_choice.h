// The real-project mode's reading of a build description: the statements of
// one build spec, and the facts the other readers leave out, in one pass.
// The build spec is -spec's, else the file's default, else the first it lists.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "reading/workbench_facts.h"
#include "text/lookup_table.h"

// What the chosen build spec's statements (and those of no spec) say, their
// texts decoded, in file order.
struct SpecStatements {
  std::string spec;                     // the build spec read; empty: all of them
  std::vector<std::string> knownSpecs;  // knownSpecs(facts)
  WorkbenchFacts facts;                 // every spec's, and the build targets
  std::size_t subprojectLists = 0;      // each lists the workspace folder's files
  std::vector<std::string> subprojectPaths;  // the entries' paths, first "/" dropped
  std::vector<std::string> includes;    // include entries as written, such as "-isystem$(X)/h"
  LookupTable buildMacros;              // a build macro's name to its value
  std::string cCompiler;                // the last C compiler command, and the last C++ one
  std::string cxxCompiler;
};

// Reads `in` for `requestedSpec` (empty: the file's choice) into `out`.
// Throws Failure UnknownBuildSpec, naming the known ones, when the file has
// no such spec; `out` then holds the known specs and the facts.
void readSpecStatements(std::istream& in, const std::string& requestedSpec, SpecStatements& out);

// Whether an entry keyed for `entrySpec` (empty: for none) belongs to the
// build spec `chosen` (empty: every one does).
bool belongsToSpec(std::string_view entrySpec, std::string_view chosen);
