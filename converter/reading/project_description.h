// The Eclipse project description (.project): the project's name and the
// projects it refers to. Everything else in it is read only to pass over it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reading/linked_resources.h"

struct ProjectDescription {
  std::string name;  // empty when the file names none, or an empty one
  std::vector<std::string> referencedProjects;  // in file order, not trimmed or made unique
};

// Reads the project description in `text`. Throws XMLReaderError: with
// UnexpectedToken and the offending token when the markup has another shape,
// with UnexpectedEnd when the text ends inside it.
ProjectDescription parseProjectDescription(std::string_view text);

// The same, gathering into `links` what parseLinkedResources(text) gives, in
// the same reading of the text.
ProjectDescription parseProjectDescription(std::string_view text, ProjectLinks& links);
