// Where a linked resource of a project description lies: its location,
// a path or a URI, with the path variables it begins with resolved.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "building/real_project_context.h"
#include "building/variables.h"
#include "reading/linked_resources.h"

struct LinkLocation {
  enum Kind { Path, Virtual, Unknown };
  Kind kind = Unknown;
  std::string path;  // for Path: absolute, without "." or ".." parts, the platform's separators
};

// Where links lie: <location> as written; a URI "file:/...", "virtual:/virtual",
// or a path beginning with PROJECT_LOC (the project folder), WORKSPACE_LOC
// (the workspace folder), PARENT-N-<variable>, or a variable: a -var name,
// else a variable of the project's links ("${NAME}" inside its values), else
// one the converter defines for commands (`own`: PRJ_ROOT_DIR, say, with the
// system's own separators). Made once for all links of a project: variables
// are looked up by hash.
class LinkResolver {
 public:
  explicit LinkResolver(const RealProjectContext& context, const VariableValues& own = {});
  LinkResolver(const LinkResolver&) = delete;  // its table views its own report's names
  LinkResolver& operator=(const LinkResolver&) = delete;
  LinkLocation resolve(const LinkedResource& link);

  // Every variable the locations resolved so far looked up, in the order
  // first met, with its value (a path, nothing where it has none) and where
  // that came from; Eclipse's own PROJECT_LOC and WORKSPACE_LOC only where
  // -var gives them.
  const std::deque<VariableExpander::Reference>& references() const { return met; }

 private:
  std::optional<std::string> variable(std::string_view name, int depth);
  std::optional<std::string> uri(std::string_view text, int depth);
  VariableExpander::Reference* meet(std::string_view name);

  const RealProjectContext& context;
  std::string workspaceFolder;  // absolute
  std::unordered_map<std::string_view, std::string_view> given;  // the last of a name
  std::unordered_map<std::string_view, std::string_view> projectVariables;  // the first
  VariableValues own;  // a few
  std::deque<VariableExpander::Reference> met;  // a deque: `metAt` holds views of its names
  std::unordered_map<std::string_view, std::size_t> metAt;
};

// The same for one link.
LinkLocation resolveLinkLocation(const LinkedResource& link, const RealProjectContext& context);
