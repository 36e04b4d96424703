// Where a linked resource of a project description lies: its location,
// a path or a URI, with the path variables it begins with resolved.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "building/mode_context.h"
#include "reading/linked_resources.h"

struct LinkLocation {
  enum Kind { Path, Virtual, Unknown };
  Kind kind = Unknown;
  std::string path;  // for Path: absolute, without "." or ".." parts, the platform's separators
};

// Where links lie: <location> as written; a URI "file:/...", "virtual:/virtual",
// or a path beginning with PROJECT_LOC (the project folder), WORKSPACE_LOC
// (the workspace folder), PARENT-N-<variable>, a -var name or a variable of
// the project's links ("${NAME}" inside its values). Made once for all links
// of a project: variables are looked up by hash.
class LinkResolver {
 public:
  explicit LinkResolver(const ModeContext& context);
  LinkLocation resolve(const LinkedResource& link) const;

 private:
  const ModeContext& context;
  std::string workspaceFolder;  // absolute
  std::unordered_map<std::string_view, std::string_view> given;  // the last of a name
  std::unordered_map<std::string_view, std::string_view> projectVariables;  // the first
};

// The same for one link.
LinkLocation resolveLinkLocation(const LinkedResource& link, const ModeContext& context);
