#include "building/spec_choice.h"

#include <algorithm>

#include "building/compiler_invocation.h"
#include "model/failure.h"
#include "reading/build_settings.h"
#include "reading/spec_prescan.h"
#include "text/entities.h"

namespace {

class SpecReader {
 public:
  SpecReader(const std::string& requested, SpecStatements& out) : requested(requested), out(out) {}

  // One pass over the file: the statements, and beside them the facts. The
  // build spec to read is known first when it is given, or when a quick
  // look through the file finds its default (or its list of specs): then
  // each statement is taken in at once. Otherwise (a file that cannot be
  // read twice) the statements wait until the whole file is read.
  void read(std::istream& in) {
    bool specKnown = !requested.empty();
    if (specKnown) {
      out.spec = requested;
    } else {
      std::string defaultSpec, firstSpec;
      specKnown = prescanSpecs(in, defaultSpec, firstSpec);
      out.spec = defaultSpec.empty() ? firstSpec : defaultSpec;
    }
    WorkbenchFactsReader factsReader(out.facts);
    BuildSettingsReader reader(in, true);
    reader.watchLines([&](std::string_view line) { factsReader.line(line); });
    BuildStatement statement;
    while (reader.next(statement)) {
      // A build target's entries are its own (the facts hold them), never the project's.
      if (factsReader.insideTargets(placeOf(statement))) continue;
      const std::string_view spec = specOfKey(statement.key);
      if (specKnown) {
        if (belongsToSpec(spec, out.spec)) {
          take(statement.kind, decodeEntities(statement.text), decodedValue(statement));
        }
        continue;
      }
      waiting.push_back({statement.kind, std::string(spec), decodeEntities(statement.text),
                         decodedValue(statement)});
    }
    choose();
    for (auto& one : waiting) {
      if (belongsToSpec(one.spec, out.spec)) {
        take(one.kind, std::move(one.text), std::move(one.value));
      }
    }
    waiting.clear();
    waiting.shrink_to_fit();
    for (const auto& command : out.facts.cxxCommands) {
      if (belongsToSpec(command.spec, out.spec)) out.cxxCompiler = command.value;
    }
  }

 private:
  // -spec must be one of the known specs. Without -spec: the default, else
  // the first listed.
  void choose() {
    out.knownSpecs = knownSpecs(out.facts);
    if (!requested.empty()) {
      if (std::find(out.knownSpecs.begin(), out.knownSpecs.end(), requested) ==
          out.knownSpecs.end()) {
        out.spec.clear();
        throw Failure(FailureKind::UnknownBuildSpec, requested, out.knownSpecs);
      }
    } else if (!out.facts.defaultSpec.empty()) {
      out.spec = out.facts.defaultSpec;
    } else if (!out.facts.specs.empty()) {
      out.spec = out.facts.specs.front();
    }
  }

  // Where in its line a statement stands: its first text that has one.
  static const char* placeOf(const BuildStatement& statement) {
    for (const std::string_view text : {statement.text, statement.value, statement.key}) {
      if (!text.empty()) return text.data();
    }
    return nullptr;
  }

  // Only a build macro has a value.
  static std::string decodedValue(const BuildStatement& statement) {
    return statement.kind == BuildStatement::BuildMacro ? decodeEntities(statement.value)
                                                        : std::string();
  }

  // One statement of the chosen spec, its texts decoded, as written: make
  // sees an empty macro as empty, and the compiler an include entry with
  // its option.
  void take(BuildStatement::Kind kind, std::string text, std::string value) {
    switch (kind) {
      case BuildStatement::SubprojectList: ++out.subprojectLists; break;
      case BuildStatement::Subproject: out.subprojectPaths.push_back(std::move(text)); break;
      case BuildStatement::Include: out.includes.push_back(std::move(text)); break;
      case BuildStatement::BuildMacro: out.buildMacros.set(text, parenthesised(value)); break;
      case BuildStatement::CompilerCommand: out.cCompiler = std::move(text); break;
    }
  }

  const std::string& requested;
  SpecStatements& out;
  struct Waiting {
    BuildStatement::Kind kind;
    std::string spec, text, value;
  };
  std::vector<Waiting> waiting;  // for the build spec to be known
};

}  // namespace

bool belongsToSpec(std::string_view entrySpec, std::string_view chosen) {
  return chosen.empty() || entrySpec.empty() || entrySpec == chosen;
}

void readSpecStatements(std::istream& in, const std::string& requestedSpec, SpecStatements& out) {
  SpecReader(requestedSpec, out).read(in);
}
